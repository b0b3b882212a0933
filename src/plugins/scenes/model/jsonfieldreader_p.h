#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QCborArray>
#include <QCborMap>
#include <QString>

#include <functional>

/*!
 * Takes typed, range-checked values out of one JSON object. The first value that is missing or
 * wrong stores a sentence naming the place and the key in *pError, and every read returns false.
 * The place ("scene 3, element 2") is only put into words when something is wrong. The object is
 * read through its CBOR map, which shares the parsed document and finds a key in a few
 * comparisons of lengths and bytes; a JSON number in it is an integer when it is a whole one.
 */
class JsonFieldReader
{
    Q_DECLARE_TR_FUNCTIONS(JsonFieldReader)

public:
    using Place = std::function<QString()>; // none for the top level

    JsonFieldReader(const QCborMap &object, Place place, QString *pError);

    bool integer(QLatin1String strKey, int nMin, int nMax, int *pValue);
    bool number(QLatin1String strKey, double min, double max, double *pValue);
    bool text(QLatin1String strKey, int nMaxLength, QString *pValue);
    bool color(QLatin1String strKey, QColor *pValue);
    bool array(QLatin1String strKey, int nMaxCount, QCborArray *pValue);
    bool object(QLatin1String strKey, QCborMap *pValue);

    // Records a problem of this object that is not about one value's type or range.
    bool fail(const QString &strProblem);

private:
    bool take(QLatin1String strKey, QCborValue *pValue);

    QCborMap m_object;
    Place m_place;
    QString *m_pError;
};
