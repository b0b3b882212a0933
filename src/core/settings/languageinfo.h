#pragma once

#include <QString>

/*!
 * One interface language of the catalogue kept by ILanguageManager: the locale name (such as
 * de_DE) and the names of its language and country, in English and in the language itself.
 */
struct LanguageInfo
{
    QString id;
    QString language;
    QString country;
    QString nativeLanguage;
    QString nativeCountry;
};
