#pragma once

#include <QMutex>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

/*!
 * Lets the release-notes view load its own document and nothing else: images, frames, scripts,
 * style sheets, fetches and navigations elsewhere are blocked, so release notes cannot load
 * remote content or lead the view away. A document given as text (a data: address) is allowed,
 * and so is the one address set with allowDocument().
 */
class ReleaseNotesRequestFilter : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT

public:
    explicit ReleaseNotesRequestFilter(QObject *parent = nullptr);

    void allowDocument(const QUrl &url);
    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    QUrl document() const;

    // Set on the GUI thread, read on the thread that intercepts the requests.
    mutable QMutex m_mutex;
    QUrl m_document;
};
