#pragma once

#include "core_global.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

/*!
 * The main window's central widget: the MDI area that holds the editors' sub-windows and,
 * while no editor is open, the welcome widget (a web view another plug-in hands over).
 *
 * It carries what the welcome page can do through the web channel: its slots are called by the
 * VDHTMLExposingWelcome object it creates and publishes as "vdwelcome", which forwards each
 * call here; resetRecentFiles() tells the page to read the recent-projects list again. The
 * main window filters drops on the area and on the welcome widget.
 */
class CORE_EXPORT IMainMdiArea : public QMdiArea
{
    Q_OBJECT

public:
    explicit IMainMdiArea(QWidget *parent);
    ~IMainMdiArea() override;

    // Not owned.
    void setWelcomeWidget(QWidget *widget);
    QWidget *getWelcomeWidget() const;

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
    QPointer<QWidget> m_pWelcomeWidget;
};
