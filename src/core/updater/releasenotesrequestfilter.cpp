#include "releasenotesrequestfilter_p.h"

#include <QDebug>

ReleaseNotesRequestFilter::ReleaseNotesRequestFilter(QObject *parent)
    : QWebEngineUrlRequestInterceptor(parent)
{}

void ReleaseNotesRequestFilter::allowDocument(const QUrl &url)
{
    QMutexLocker lock(&m_mutex);
    m_document = url;
}

void ReleaseNotesRequestFilter::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    const QUrl url = info.requestUrl();
    const bool ownDocument =
            info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame &&
            (url == document() || url.scheme() == QLatin1String("data"));
    if (!ownDocument) {
        qInfo().noquote() << "Release notes: blocked" << url.toString(QUrl::RemoveQuery);
        info.block(true);
    }
}

QUrl ReleaseNotesRequestFilter::document() const
{
    QMutexLocker lock(&m_mutex);
    return m_document;
}
