#include "welcomeview.h"

#include <extensionsystem/applicationdata.h>

#include <QFileInfo>
#include <QUrlQuery>

WelcomeView::WelcomeView(QWidget *parent)
    : QWebEngineView(parent)
{
    setObjectName(QStringLiteral("m_pWelcomeView"));
    // Reload, back and the like make no sense on this page.
    setContextMenuPolicy(Qt::NoContextMenu);
}

QString WelcomeView::pageFilePath()
{
    return ExtensionSystem::applicationDataPath(QStringLiteral("resources/welcome/index.html"));
}

QUrl WelcomeView::pageUrl(const QString &strPageFile, quint16 nPort, const QString &strThemeId,
                          const QString &strSecret)
{
    QUrl url = QUrl::fromLocalFile(QFileInfo(strPageFile).absoluteFilePath());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("port"), QString::number(nPort));
    if (!strThemeId.isEmpty())
        query.addQueryItem(QStringLiteral("theme"), strThemeId);
    url.setQuery(query);
    // The fragment never leaves the browser: no request, referrer or history entry sent
    // anywhere carries the secret.
    url.setFragment(QStringLiteral("token=") + strSecret);
    return url;
}

void WelcomeView::loadPage(quint16 nPort, const QString &strThemeId, const QString &strSecret)
{
    const QString page = pageFilePath();
    if (!QFileInfo(page).isFile())
        qWarning("The welcome page is missing: %s", qPrintable(page));
    load(pageUrl(page, nPort, strThemeId, strSecret));
}
