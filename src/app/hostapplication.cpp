#include "hostapplication.h"

#include <extensionsystem/applicationdata.h>
#include <extensionsystem/pluginmanager.h>
#include <extensionsystem/pluginspec.h>

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QSettings>
#include <QSocketNotifier>
#include <QTranslator>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace {
const char *const s_corePluginName = "core";
constexpr int s_exitCorePluginMissing = 3;

// Written by the signal handler, read by the event loop.
int s_terminationSockets[2] = {-1, -1};

void printError(const QString &text)
{
    std::fprintf(stderr, "veldra: %s\n", qPrintable(text));
}

bool showsMessageBoxes()
{
    return qEnvironmentVariableIntValue("VELDRA_NO_MESSAGE_BOXES") != 1;
}

// Runs as the signal handler: nothing but async-signal-safe calls.
void notifyTermination(int)
{
    const char byte = 1;
    const ssize_t written = ::write(s_terminationSockets[0], &byte, sizeof byte);
    static_cast<void>(written);
}

void stopWatchingTermination()
{
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    for (int &socket : s_terminationSockets) {
        ::close(socket);
        socket = -1;
    }
}

bool hasVisibleWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(),
                       [](const QWidget *window) { return window->isVisible(); });
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
    if (m_terminationNotifier) {
        m_terminationNotifier.reset();
        stopWatchingTermination();
    }
    ExtensionSystem::PluginManager::shutdown();
    if (m_userSettings)
        m_userSettings->sync();
}

int HostApplication::run()
{
    ExtensionSystem::PluginManager::loadPlugins();
    if (!reportPluginFailures())
        return s_exitCorePluginMissing;
    installTerminationHandler();
    return QApplication::exec();
}

// The signal handler only writes a byte to a socket pair; the event loop reads it and closes
// the windows, where anything may be called.
void HostApplication::installTerminationHandler()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_terminationSockets) != 0) {
        qWarning("Cannot watch for termination signals: %s", std::strerror(errno));
        return;
    }
    m_terminationNotifier =
            std::make_unique<QSocketNotifier>(s_terminationSockets[1], QSocketNotifier::Read);
    QObject::connect(m_terminationNotifier.get(), &QSocketNotifier::activated,
                     m_terminationNotifier.get(), [this] { closeOnTermination(); });
    struct sigaction action = {};
    action.sa_handler = notifyTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// Closes every window as the user would; quits only when none refused (a project whose
// "save changes" question was cancelled keeps the application running).
void HostApplication::closeOnTermination()
{
    char byte = 0;
    const ssize_t received = ::read(s_terminationSockets[1], &byte, sizeof byte);
    static_cast<void>(received);
    if (m_closingOnTermination)
        return;
    m_closingOnTermination = true;
    QApplication::closeAllWindows();
    m_closingOnTermination = false;
    if (!hasVisibleWindow())
        QApplication::quit();
}

// The plug-ins' own folder next to the executable, then the folders of VELDRA_PLUGIN_PATH.
QStringList HostApplication::pluginPaths() const
{
    QStringList paths;
    paths << QDir::cleanPath(QApplication::applicationDirPath() + QLatin1Char('/') +
                             QStringLiteral(VELDRA_RELATIVE_PLUGIN_DIR));
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
    const QString ownFolder = ExtensionSystem::applicationDataPath(QStringLiteral("translations"));
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
    const bool coreRunning =
            core && !core->hasError() && core->state() == ExtensionSystem::PluginSpec::Running;
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
        if (showsMessageBoxes())
            QMessageBox::critical(nullptr, QStringLiteral("Veldra"), text);
        return false;
    }
    if (!errors.isEmpty()) {
        const QString text =
                QApplication::translate("HostApplication", "Some plug-ins could not be loaded:") +
                QLatin1Char('\n') + errors.join(QLatin1Char('\n'));
        printError(text);
        if (showsMessageBoxes())
            QMessageBox::warning(nullptr, QStringLiteral("Veldra"), text);
    }
    return true;
}
