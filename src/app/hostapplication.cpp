#include "hostapplication.h"

#include <extensionsystem/pluginmanager.h>
#include <extensionsystem/pluginspec.h>

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QSettings>
#include <QTranslator>

#include <cstdio>

namespace {
const char *const s_corePluginName = "core";
constexpr int s_exitCorePluginMissing = 3;

void printError(const QString &text)
{
    std::fprintf(stderr, "veldra: %s\n", qPrintable(text));
}
} // namespace

HostApplication::HostApplication(const QStringList &files)
    : m_pluginManager(std::make_unique<ExtensionSystem::PluginManager>())
{
    m_userSettings = new QSettings(QSettings::IniFormat, QSettings::UserScope,
                                   QStringLiteral("Veldra"), QStringLiteral("Veldra"));
    m_globalSettings = new QSettings(QSettings::IniFormat, QSettings::SystemScope,
                                     QStringLiteral("Veldra"), QStringLiteral("Veldra"));
    ExtensionSystem::PluginManager::setSettings(m_userSettings);
    ExtensionSystem::PluginManager::setGlobalSettings(m_globalSettings);
    ExtensionSystem::PluginManager::setArguments(files);
    ExtensionSystem::PluginManager::setPluginPaths(pluginPaths());
    installTranslations();
}

HostApplication::~HostApplication()
{
    ExtensionSystem::PluginManager::shutdown();
    if (m_userSettings)
        m_userSettings->sync();
}

int HostApplication::run()
{
    ExtensionSystem::PluginManager::loadPlugins();
    if (!reportPluginFailures())
        return s_exitCorePluginMissing;
    return QApplication::exec();
}

// The plug-ins' own folder next to the executable, then the folders of VELDRA_PLUGIN_PATH.
QStringList HostApplication::pluginPaths() const
{
    QStringList paths;
    paths << QDir::cleanPath(QApplication::applicationDirPath() + QLatin1Char('/')
                             + QStringLiteral(VELDRA_RELATIVE_PLUGIN_DIR));
    const QString extra = qEnvironmentVariable("VELDRA_PLUGIN_PATH");
    for (const QString &path : extra.split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
        const QString clean = QDir::cleanPath(QDir(path).absolutePath());
        if (!paths.contains(clean))
            paths << clean;
    }
    return paths;
}

// The stored interface language takes effect at start-up, before any plug-in builds its texts.
void HostApplication::installTranslations()
{
    const QString language = m_userSettings->value(QStringLiteral("Veldra/Language")).toString();
    if (language.isEmpty())
        return;
    const QString ownFolder = QApplication::applicationDirPath() + QStringLiteral("/translations");
    const QList<QPair<QString, QString>> catalogues = {
        {QStringLiteral("veldra_") + language, ownFolder},
        {QStringLiteral("qtbase_") + language,
         QLibraryInfo::location(QLibraryInfo::TranslationsPath)},
    };
    for (const auto &catalogue : catalogues) {
        auto *translator = new QTranslator(qApp);
        if (translator->load(catalogue.first, catalogue.second)) {
            QApplication::installTranslator(translator);
            m_translators.append(translator);
        } else {
            delete translator;
        }
    }
}

// Tells the user about every plug-in that failed; false when the core itself is not running.
bool HostApplication::reportPluginFailures()
{
    const ExtensionSystem::PluginSpec *core =
            ExtensionSystem::PluginManager::pluginByName(QString::fromLatin1(s_corePluginName));
    const QStringList errors = ExtensionSystem::PluginManager::errorStrings();
    const bool coreRunning = core && !core->hasError()
            && core->state() == ExtensionSystem::PluginSpec::Running;
    if (!coreRunning) {
        QString text = QApplication::translate("HostApplication",
                                               "Veldra cannot start: the core plug-in could not "
                                               "be loaded.");
        const QString reason = core ? core->errorString()
                                    : QApplication::translate("HostApplication",
                                                              "No core plug-in was found in %1.")
                                              .arg(pluginPaths().join(QStringLiteral(", ")));
        text += QLatin1Char('\n') + reason;
        printError(text);
        QMessageBox::critical(nullptr, QStringLiteral("Veldra"), text);
        return false;
    }
    if (!errors.isEmpty()) {
        const QString text = QApplication::translate("HostApplication",
                                                     "Some plug-ins could not be loaded:")
                + QLatin1Char('\n') + errors.join(QLatin1Char('\n'));
        printError(text);
        QMessageBox::warning(nullptr, QStringLiteral("Veldra"), text);
    }
    return true;
}
