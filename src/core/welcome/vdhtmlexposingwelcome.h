#pragma once

#include "core_global.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class IMainMdiArea;
class QWidget;

/*!
 * The object the welcome page sees on the web channel as "vdwelcome". It does no work of its
 * own: each slot forwards to the MDI area's slot of the same name and returns its result, and
 * the area's resetRecentFiles() is re-emitted as this object's signal of the same name.
 *
 * The page is not trusted as far as the menus are: while a modal dialog is open, requests that
 * may open another one (showInExplorer, callbackTunnelAsync, openURL, openFile) are dropped, and
 * callbackTunnelAsync runs only commands that are enabled.
 *
 * The area creates it as its child. It publishes itself on the main window's channel when both
 * exist at construction; otherwise it stays unpublished.
 */
class CORE_EXPORT VDHTMLExposingWelcome : public QObject
{
    Q_OBJECT

public:
    explicit VDHTMLExposingWelcome(IMainMdiArea *area);
    ~VDHTMLExposingWelcome() override;

signals:
    void resetRecentFiles();

public slots:
    void showInExplorer(QString strFileName);
    void removeFile(QString strFile);
    QStringList getRecentFileList();
    void callbackTunnelAsync(QString cmd);
    QString callbackAsyncfromJS(QString cmd, QString str);
    void openURL(QString strURL);
    void openFile(QString strFile);

private:
    bool noModalWidgetOpen();

    IMainMdiArea *m_pArea;              // not owned: the Qt parent
    QPointer<QWidget> m_pReportedModal; // the dialog the last "ignored" message was about
};
