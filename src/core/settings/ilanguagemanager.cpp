#include "ilanguagemanager.h"

#include "storedvalue_p.h"

#include <extensionsystem/applicationdata.h>
#include <extensionsystem/pluginmanager.h>

#include <QDir>

namespace {

const char languageKey[] = "Veldra/Language";

// "veldra_zh_CN.qm" names the locale zh_CN: the part between the first "_" and the last ".".
QString localeNameOfFile(const QString &strFileName)
{
    const QString stem = strFileName.left(strFileName.lastIndexOf(QLatin1Char('.')));
    return stem.mid(stem.indexOf(QLatin1Char('_')) + 1);
}

} // namespace

ILanguageManager::ILanguageManager() = default;

ILanguageManager::~ILanguageManager()
{
    clearLanguages();
}

ILanguageManager &ILanguageManager::getInstance()
{
    static ILanguageManager instance;
    return instance;
}

bool ILanguageManager::initialize()
{
    clearLanguages();
    m_settings = ExtensionSystem::PluginManager::settings();
    m_currentLocale = QLocale(getSaveLangId());

    appendLanguage(QLocale(QStringLiteral("en_US")));
    const QDir translations(ExtensionSystem::applicationDataPath(QStringLiteral("translations")));
    const QStringList files = translations.entryList({QStringLiteral("veldra_*.qm")});
    for (const QString &fileName : files)
        appendLanguage(QLocale(localeNameOfFile(fileName)));
    return true;
}

const QList<LanguageInfo *> &ILanguageManager::getLanguages() const
{
    return m_languages;
}

QString ILanguageManager::getCurrentLangId() const
{
    return m_currentLocale.name();
}

QString ILanguageManager::getSaveLangId() const
{
    return StoredValue::readString(m_settings, QLatin1String(languageKey), QString());
}

bool ILanguageManager::saveLanguage(QString strLangId)
{
    for (const LanguageInfo *info : qAsConst(m_languages)) {
        if (info->id != strLangId)
            continue;
        if (!m_settings) {
            qWarning("ILanguageManager::saveLanguage: no settings store, \"%s\" is not stored",
                     qPrintable(strLangId));
            return false;
        }
        m_settings->setValue(QLatin1String(languageKey), strLangId);
        return true;
    }
    return false;
}

void ILanguageManager::setSettings(QSettings *settings)
{
    m_settings = settings;
}

void ILanguageManager::appendLanguage(const QLocale &locale)
{
    auto info = new LanguageInfo;
    info->id = locale.name();
    info->language = QLocale::languageToString(locale.language());
    info->country = QLocale::countryToString(locale.country());
    info->nativeLanguage = locale.nativeLanguageName();
    info->nativeCountry = locale.nativeCountryName();
    m_languages.append(info);
}

void ILanguageManager::clearLanguages()
{
    qDeleteAll(m_languages);
    m_languages.clear();
}
