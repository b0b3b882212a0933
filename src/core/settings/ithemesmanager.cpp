#include "ithemesmanager.h"

#include "storedvalue_p.h"

#include <extensionsystem/applicationdata.h>
#include <extensionsystem/pluginmanager.h>

#include <QApplication>
#include <QDir>
#include <QFile>

namespace {

const char themeKey[] = "Veldra/Theme";
const char defaultThemeId[] = "Dark";

QString stylesPath()
{
    return ExtensionSystem::applicationDataPath(QStringLiteral("resources/styles")) +
           QLatin1Char('/');
}

// "veldra_blue_night.qss" gives Blue_night: the part between the first "_" and the last ".",
// first letter in upper case.
QString themeIdOfFile(const QString &strFileName)
{
    const QString stem = strFileName.left(strFileName.lastIndexOf(QLatin1Char('.')));
    QString id = stem.mid(stem.indexOf(QLatin1Char('_')) + 1);
    if (!id.isEmpty())
        id[0] = id.at(0).toUpper();
    return id;
}

} // namespace

IThemesManager::IThemesManager() = default;

IThemesManager::~IThemesManager()
{
    clearThemes();
}

IThemesManager &IThemesManager::getInstance()
{
    static IThemesManager instance;
    return instance;
}

bool IThemesManager::initialize()
{
    clearThemes();
    m_currentTheme = new ThemesInfo;
    m_settings = ExtensionSystem::PluginManager::settings();
    if (m_settings && !m_settings->contains(QLatin1String(themeKey)))
        m_settings->setValue(QLatin1String(themeKey), QLatin1String(defaultThemeId));

    const QString storedId = getSaveThemeId();
    bool applied = listThemes(storedId);
    if (storedId == QLatin1String(defaultThemeId))
        applied = applyTheme(stylesPath() + QStringLiteral("veldra_dark.qss"), storedId);
    if (!applied)
        saveThemes(QLatin1String(defaultThemeId));
    return applied;
}

const QList<ThemesInfo *> &IThemesManager::getThemes() const
{
    return m_themes;
}

QString IThemesManager::getCurrentThemeId() const
{
    return m_currentTheme ? m_currentTheme->id : QString();
}

QString IThemesManager::getCurrentThemeName() const
{
    return m_currentTheme ? m_currentTheme->name : QString();
}

QString IThemesManager::getSaveThemeId() const
{
    return StoredValue::readString(m_settings, QLatin1String(themeKey),
                                   QLatin1String(defaultThemeId));
}

bool IThemesManager::saveThemes(QString strThemeId)
{
    for (const ThemesInfo *info : qAsConst(m_themes)) {
        if (info->id != strThemeId)
            continue;
        if (!m_settings) {
            qWarning("IThemesManager::saveThemes: no settings store, \"%s\" is not stored",
                     qPrintable(strThemeId));
            return false;
        }
        m_settings->setValue(QLatin1String(themeKey), strThemeId);
        return true;
    }
    return false;
}

void IThemesManager::setSettings(QSettings *settings)
{
    m_settings = settings;
}

// Catalogues every style sheet next to the application. The stored theme is applied from here
// unless it is the default, whose file name is fixed. True when a style sheet was applied.
bool IThemesManager::listThemes(const QString &strStoredId)
{
    const bool storedIsDefault = strStoredId == QLatin1String(defaultThemeId);
    const QString directory = stylesPath();
    const QStringList files = QDir(directory).entryList({QStringLiteral("veldra_*.qss")});
    bool applied = false;
    for (const QString &fileName : files) {
        const QString id = themeIdOfFile(fileName);
        m_themes.append(new ThemesInfo{id, id});
        if (id == strStoredId && !storedIsDefault)
            applied = applyTheme(directory + fileName, id) || applied;
    }
    return applied;
}

// A file that cannot be read is skipped without a word: the caller falls back to the default.
bool IThemesManager::applyTheme(const QString &strFilePath, const QString &strThemeId)
{
    QFile file(strFilePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    auto application = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!application) {
        qWarning("IThemesManager: style sheets need a QApplication; \"%s\" is not applied",
                 qPrintable(strThemeId));
        return false;
    }
    application->setStyleSheet(QString::fromUtf8(file.readAll()));
    m_currentTheme->id = strThemeId;
    m_currentTheme->name = strThemeId;
    return true;
}

void IThemesManager::clearThemes()
{
    qDeleteAll(m_themes);
    m_themes.clear();
    delete m_currentTheme;
    m_currentTheme = nullptr;
}
