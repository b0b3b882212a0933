#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

/*!
 * While it lives, QDesktopServices::openUrl for the file, http and https schemes is recorded
 * instead of opening anything.
 */
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    UrlRecorder();
    ~UrlRecorder() override;

    QList<QUrl> urls() const { return m_urls; }
    void clear() { m_urls.clear(); }

public slots:
    void openUrl(const QUrl &url) { m_urls.append(url); }

private:
    QList<QUrl> m_urls;
};
