#pragma once

#include "core_global.h"

#include <QDialog>
#include <QString>

class ReleaseNotesRequestFilter;

namespace Ui {
class VDReleaseNoteUI;
}

/*!
 * Shows what is new in an update before it is fetched: a heading, the release notes in a web
 * view, and the buttons "Update" (accepts) and "Close" (rejects). As an update offer (offerSkip())
 * "Close" reads "Remind Me Later" and a third button skips the version.
 *
 * The release notes are either the address of a web page ("http://" or "https://", in any case)
 * or HTML text. While a page loads, "Update" is disabled; a page that cannot be loaded is
 * replaced by a short failure notice. The notes are shown without scripts, and nothing but their
 * own document is loaded: no remote images, frames, style sheets or other requests.
 */
class CORE_EXPORT VDReleaseNoteDlg : public QDialog
{
    Q_OBJECT

public:
    explicit VDReleaseNoteDlg(QWidget *parent = nullptr);
    ~VDReleaseNoteDlg() override;

    // What exec() returns when the user chose "Skip This Version".
    static const int SkipVersion = 2;

    void setHeading(const QString &text);
    void setChangelog(const QString &text);
    // Makes it an update offer with three choices: "Update", "Remind Me Later" (the closing
    // button, still rejecting) and "Skip This Version".
    void offerSkip();

private:
    void showNotesSafely();
    void onLoadFinished(bool ok);

    Ui::VDReleaseNoteUI *m_pUi;                  // owned
    ReleaseNotesRequestFilter *m_pRequestFilter; // a child
};
