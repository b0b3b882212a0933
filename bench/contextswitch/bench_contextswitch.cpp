// Times ActionManager::setContext back and forth between two editors and, interleaved with it,
// the floor: plain QActions held by a bare widget given the same state changes, and the same
// actions held by the main window, where the commands' proxies sit. Every command has an
// implementation in the main window; every second one also has one in each editor, with another
// text and enabled and checked state, so a switch changes half the commands. Prints, per command
// count, the median time of one switch against each floor's.
//   bench_contextswitch [runs] [commands]   (default 11 runs at 100, 1,000 and 10,000 commands;
//                                            run with QT_QPA_PLATFORM=offscreen)

#include "actionmanager.h"
#include "benchreport.h"
#include "contextaction.h"
#include "mainwindow.h"

#include <extensionsystem/pluginmanager.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

const int switchesPerCommand = 20000; // switches x commands per timed run, to stay well above 1 ms

// One editor: a context widget with an implementation of every second command.
struct Editor
{
    QWidget widget;
    std::vector<QAction *> actions; // owned by the widget; index = command / 2
};

void addImplementations(Editor &editor, int commands, bool enabled)
{
    for (int i = 0; i < commands; i += 2) {
        auto *action = new QAction(QStringLiteral("%1 %2").arg(enabled ? "Cut" : "Copy").arg(i),
                                   &editor.widget);
        action->setToolTip(action->text());
        action->setCheckable(true);
        action->setChecked(!enabled);
        action->setEnabled(enabled);
        editor.actions.push_back(action);
    }
}

QString commandId(int i)
{
    return QStringLiteral("Bench.Command%1").arg(i, 5, 10, QLatin1Char('0'));
}

void registerCommands(QWidget *mainWindow, Editor &first, Editor &second, int commands)
{
    for (int i = 0; i < commands; ++i) {
        auto *action = new QAction(commandId(i), mainWindow);
        ContextAction *command = ActionManager::registerAction(action, commandId(i), mainWindow);
        command->setAttribute(ContextAction::UpdateText);
        if (i % 2 == 0) {
            ActionManager::registerAction(first.actions[i / 2], commandId(i), &first.widget);
            ActionManager::registerAction(second.actions[i / 2], commandId(i), &second.widget);
        }
    }
}

// Nanoseconds per switch for `switches` switches alternating between the two editors.
double timeSetContext(Editor &first, Editor &second, int switches)
{
    QElapsedTimer timer;
    timer.start();
    for (int s = 0; s < switches; ++s)
        ActionManager::setContext(s % 2 ? &first.widget : &second.widget);
    return double(timer.nsecsElapsed()) / switches;
}

// The same: each plain action takes the state of the implementation it would now follow.
double timePlain(const std::vector<std::unique_ptr<QAction>> &plain, Editor &first, Editor &second,
                 int switches)
{
    QElapsedTimer timer;
    timer.start();
    for (int s = 0; s < switches; ++s) {
        const Editor &editor = s % 2 ? first : second;
        for (size_t i = 0; i < plain.size(); ++i) {
            const QAction *source = editor.actions[i];
            plain[i]->setText(source->text());
            plain[i]->setToolTip(source->toolTip());
            plain[i]->setChecked(source->isChecked());
            plain[i]->setEnabled(source->isEnabled());
        }
    }
    return double(timer.nsecsElapsed()) / switches;
}

struct Samples
{
    std::vector<double> setContext;
    std::vector<double> plain;         // held by a bare widget
    std::vector<double> plainOnWindow; // held by the main window, as the commands' proxies are
};

// Plain checkable actions, one per command with editor implementations, each held by `holder`.
std::vector<std::unique_ptr<QAction>> plainActions(size_t count, QWidget *holder)
{
    std::vector<std::unique_ptr<QAction>> plain;
    for (size_t i = 0; i < count; ++i) {
        plain.push_back(std::make_unique<QAction>(commandId(int(i))));
        plain.back()->setCheckable(true);
        holder->addAction(plain.back().get());
    }
    return plain;
}

Samples measure(int commands, int runs)
{
    auto *mainWindow = new MainWindow(nullptr);
    Editor first;
    Editor second;
    addImplementations(first, commands, true);
    addImplementations(second, commands, false);
    registerCommands(mainWindow, first, second, commands);

    QWidget holder;
    const auto plain = plainActions(first.actions.size(), &holder);
    const auto plainOnWindow = plainActions(first.actions.size(), mainWindow);

    const int switches = std::max(2, switchesPerCommand / commands) & ~1;
    timeSetContext(first, second, switches); // warm up every side
    timePlain(plain, first, second, switches);
    timePlain(plainOnWindow, first, second, switches);
    Samples samples;
    for (int run = 0; run < runs; ++run) {
        samples.setContext.push_back(timeSetContext(first, second, switches));
        samples.plain.push_back(timePlain(plain, first, second, switches));
        samples.plainOnWindow.push_back(timePlain(plainOnWindow, first, second, switches));
    }
    delete mainWindow;
    return samples;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    std::vector<int> counts{100, 1000, 10000};
    if (argc > 2)
        counts = {std::max(2, std::atoi(argv[2]))};

    QTemporaryDir dir;
    ExtensionSystem::PluginManager pluginManager;
    // The plug-in manager takes both stores.
    ExtensionSystem::PluginManager::setSettings(
            new QSettings(dir.filePath(QStringLiteral("user.ini")), QSettings::IniFormat));
    ExtensionSystem::PluginManager::setGlobalSettings(
            new QSettings(dir.filePath(QStringLiteral("global.ini")), QSettings::IniFormat));

    const BenchReport report(QStringLiteral("contextswitch"));
    for (const int commands : counts) {
        const Samples samples = measure(commands, runs);
        const QString caseName = QStringLiteral("setContext, %1 commands").arg(commands);
        // The target holds from 1,000 commands on: a switch over few commands is mostly fixed
        // cost. Against actions on the main window, where the proxies sit but whose filters and
        // event handling a switch spares them, the ratio is shown only for comparison.
        report.addTimes(caseName, samples.setContext, QStringLiteral("plain QActions"),
                        samples.plain,
                        commands >= 1000 ? QStringLiteral("<= 1.5") : QStringLiteral("-"));
        report.addTimes(caseName, samples.setContext,
                        QStringLiteral("plain QActions on the main window"), samples.plainOnWindow);
    }
    return 0;
}
