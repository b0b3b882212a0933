#include "jsonfieldreader_p.h"

#include <cmath>

namespace {
// A JSON number is kept as an integer when it is one and fits, else as a double.
bool isNumber(const QCborValue &value)
{
    return value.isInteger() || value.isDouble();
}
} // namespace

JsonFieldReader::JsonFieldReader(const QCborMap &object, Place place, QString *pError)
    : m_object(object)
    , m_place(std::move(place))
    , m_pError(pError)
{}

bool JsonFieldReader::fail(const QString &strProblem)
{
    if (m_pError)
        *m_pError = m_place ? m_place() + QLatin1String(": ") + strProblem : strProblem;
    return false;
}

bool JsonFieldReader::take(QLatin1String strKey, QCborValue *pValue)
{
    *pValue = m_object.value(strKey);
    if (pValue->isUndefined())
        return fail(tr("\"%1\" is missing.").arg(strKey));
    return true;
}

bool JsonFieldReader::integer(QLatin1String strKey, int nMin, int nMax, int *pValue)
{
    QCborValue value;
    if (!take(strKey, &value))
        return false;
    const double number = value.toDouble(std::nan(""));
    if (!isNumber(value) || number != std::floor(number) || number < nMin || number > nMax)
        return fail(
                tr("\"%1\" must be a whole number from %2 to %3.").arg(strKey).arg(nMin).arg(nMax));
    *pValue = static_cast<int>(number);
    return true;
}

bool JsonFieldReader::number(QLatin1String strKey, double min, double max, double *pValue)
{
    QCborValue value;
    if (!take(strKey, &value))
        return false;
    const double number = value.toDouble();
    if (!isNumber(value) || !(number >= min && number <= max))
        return fail(tr("\"%1\" must be a number from %2 to %3.").arg(strKey).arg(min).arg(max));
    *pValue = number;
    return true;
}

bool JsonFieldReader::text(QLatin1String strKey, int nMaxLength, QString *pValue)
{
    QCborValue value;
    if (!take(strKey, &value))
        return false;
    const QString text = value.toString();
    if (!value.isString() || text.size() > nMaxLength)
        return fail(
                tr("\"%1\" must be a text of at most %2 characters.").arg(strKey).arg(nMaxLength));
    *pValue = text;
    return true;
}

bool JsonFieldReader::color(QLatin1String strKey, QColor *pValue)
{
    QCborValue value;
    if (!take(strKey, &value))
        return false;
    const QColor color(value.toString()); // invalid for an empty text, and so for a non-text
    if (!value.isString() || !color.isValid())
        return fail(tr("\"%1\" must be a colour such as \"#ff8800\".").arg(strKey));
    *pValue = color;
    return true;
}

bool JsonFieldReader::array(QLatin1String strKey, int nMaxCount, QCborArray *pValue)
{
    QCborValue value;
    if (!take(strKey, &value))
        return false;
    if (!value.isArray())
        return fail(tr("\"%1\" must be a list.").arg(strKey));
    const QCborArray array = value.toArray();
    if (array.size() > nMaxCount)
        return fail(tr("\"%1\" has more than %2 entries.").arg(strKey).arg(nMaxCount));
    *pValue = array;
    return true;
}

bool JsonFieldReader::object(QLatin1String strKey, QCborMap *pValue)
{
    QCborValue value;
    if (!take(strKey, &value))
        return false;
    if (!value.isMap())
        return fail(tr("\"%1\" must be an object.").arg(strKey));
    *pValue = value.toMap();
    return true;
}
