#pragma once

#include "core_global.h"

#include <QDialog>
#include <QString>

namespace Ui {
class VDReleaseNoteUI;
}

/*!
 * Shows what is new in an update before it is fetched: a heading, the release notes in a web
 * view, and the buttons "Update" (accepts) and "Close" (rejects).
 *
 * The release notes are either the address of a web page ("http://" or "https://", in any case)
 * or HTML text. While a page loads, "Update" is disabled; a page that cannot be loaded is
 * replaced by a short failure notice.
 */
class CORE_EXPORT VDReleaseNoteDlg : public QDialog
{
    Q_OBJECT

public:
    explicit VDReleaseNoteDlg(QWidget *parent = nullptr);
    ~VDReleaseNoteDlg() override;

    void setHeading(const QString &text);
    void setChangelog(const QString &text);

private:
    void onLoadFinished(bool ok);

    Ui::VDReleaseNoteUI *m_pUi; // owned
};
