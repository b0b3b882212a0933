#pragma once

#include "welcome_global.h"

#include <QString>
#include <QUrl>
#include <QWebEngineView>

/*!
 * The web view that shows the welcome page, inside the WelcomeWidget.
 *
 * The page is loaded from "resources/welcome/index.html" next to the executable, with the port
 * of the main window's WebSocket server and the current theme in its query and the server's
 * secret in its fragment, for example
 * "file:///opt/veldra/bin/resources/welcome/index.html?port=40123&theme=Dark#token=0f3a…".
 */
class WELCOME_EXPORT WelcomeView : public QWebEngineView
{
    Q_OBJECT

public:
    explicit WelcomeView(QWidget *parent = nullptr);

    static QString pageFilePath();
    static QUrl pageUrl(const QString &strPageFile, quint16 nPort, const QString &strThemeId,
                        const QString &strSecret);

    // Loads pageUrl() for the page next to the executable.
    void loadPage(quint16 nPort, const QString &strThemeId, const QString &strSecret);
};
