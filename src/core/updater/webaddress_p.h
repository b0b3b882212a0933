#pragma once

#include <QUrl>

namespace WebAddress {

// True for an absolute http or https address with a host: the only kind of address an update
// feed may make the application fetch or open. Local files, other schemes and relative
// addresses are refused.
bool isWebAddress(const QUrl &url);

// The feed's text read as an address; an empty QUrl when it is not a web address.
QUrl fromFeed(const QString &text);

} // namespace WebAddress
