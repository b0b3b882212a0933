#include "storedvalue_p.h"

#include <QSettings>
#include <QVariant>

namespace StoredValue {

QString readString(const QSettings *store, const QString &strKey, const QString &strFallback)
{
    if (!store)
        return strFallback;
    QVariant value = store->value(strKey);
    if (!value.isValid())
        return strFallback;
    if (!value.convert(QMetaType::QString)) {
        qWarning("\"%s\" does not hold a text; using \"%s\"", qPrintable(strKey),
                 qPrintable(strFallback));
        return strFallback;
    }
    return value.toString();
}

} // namespace StoredValue
