#pragma once

#include <QString>

QT_BEGIN_NAMESPACE
class QSettings;
QT_END_NAMESPACE

namespace StoredValue {

// The value under strKey as a string, or strFallback when there is no store, nothing is stored,
// or the stored value is not a single text (warned about: someone else wrote the key).
QString readString(const QSettings *store, const QString &strKey, const QString &strFallback);

} // namespace StoredValue
