#include "jsonfieldreader_p.h"

#include <cmath>

JsonFieldReader::JsonFieldReader(const QJsonObject &object, const QString &strPlace,
                                 QString *pError)
    : m_object(object)
    , m_strPlace(strPlace)
    , m_pError(pError)
{}

bool JsonFieldReader::fail(const QString &strProblem)
{
    if (m_pError)
        *m_pError =
                m_strPlace.isEmpty() ? strProblem : m_strPlace + QLatin1String(": ") + strProblem;
    return false;
}

bool JsonFieldReader::take(const QString &strKey, QJsonValue *pValue)
{
    *pValue = m_object.value(strKey);
    if (pValue->isUndefined())
        return fail(tr("\"%1\" is missing.").arg(strKey));
    return true;
}

bool JsonFieldReader::integer(const QString &strKey, int nMin, int nMax, int *pValue)
{
    QJsonValue value;
    if (!take(strKey, &value))
        return false;
    const double number = value.toDouble(std::nan(""));
    if (!value.isDouble() || number != std::floor(number) || number < nMin || number > nMax)
        return fail(
                tr("\"%1\" must be a whole number from %2 to %3.").arg(strKey).arg(nMin).arg(nMax));
    *pValue = static_cast<int>(number);
    return true;
}

bool JsonFieldReader::number(const QString &strKey, double min, double max, double *pValue)
{
    QJsonValue value;
    if (!take(strKey, &value))
        return false;
    const double number = value.toDouble();
    if (!value.isDouble() || !(number >= min && number <= max))
        return fail(tr("\"%1\" must be a number from %2 to %3.").arg(strKey).arg(min).arg(max));
    *pValue = number;
    return true;
}

bool JsonFieldReader::text(const QString &strKey, int nMaxLength, QString *pValue)
{
    QJsonValue value;
    if (!take(strKey, &value))
        return false;
    if (!value.isString() || value.toString().size() > nMaxLength)
        return fail(
                tr("\"%1\" must be a text of at most %2 characters.").arg(strKey).arg(nMaxLength));
    *pValue = value.toString();
    return true;
}

bool JsonFieldReader::color(const QString &strKey, QColor *pValue)
{
    QJsonValue value;
    if (!take(strKey, &value))
        return false;
    if (!value.isString() || !QColor::isValidColor(value.toString()))
        return fail(tr("\"%1\" must be a colour such as \"#ff8800\".").arg(strKey));
    *pValue = QColor(value.toString());
    return true;
}

bool JsonFieldReader::array(const QString &strKey, int nMaxCount, QJsonArray *pValue)
{
    QJsonValue value;
    if (!take(strKey, &value))
        return false;
    if (!value.isArray())
        return fail(tr("\"%1\" must be a list.").arg(strKey));
    if (value.toArray().size() > nMaxCount)
        return fail(tr("\"%1\" has more than %2 entries.").arg(strKey).arg(nMaxCount));
    *pValue = value.toArray();
    return true;
}

bool JsonFieldReader::object(const QString &strKey, QJsonObject *pValue)
{
    QJsonValue value;
    if (!take(strKey, &value))
        return false;
    if (!value.isObject())
        return fail(tr("\"%1\" must be an object.").arg(strKey));
    *pValue = value.toObject();
    return true;
}
