#include "webaddress_p.h"

namespace WebAddress {

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QUrl fromFeed(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::TolerantMode);
    return isWebAddress(url) ? url : QUrl();
}

} // namespace WebAddress
