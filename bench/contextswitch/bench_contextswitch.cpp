// Times ActionManager::setContext back and forth between two editors and, interleaved with it,
// the floor: plain QActions given the same state changes. Every command has an implementation
// in the main window; every second one also has one in each editor, with another text and
// enabled and checked state, so a switch changes half the commands. Prints, per command count,
// the median time of one switch, the floor's and their ratio, then one "bench:" line per count.
//   bench_contextswitch [runs] [commands]   (default 11 runs at 100, 1,000 and 10,000 commands;
//                                            run with QT_QPA_PLATFORM=offscreen)

#include "actionmanager.h"
#include "contextaction.h"
#include "mainwindow.h"

#include <extensionsystem/pluginmanager.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
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

// Microseconds per switch for `switches` switches alternating between the two editors.
double timeSetContext(Editor &first, Editor &second, int switches)
{
    QElapsedTimer timer;
    timer.start();
    for (int s = 0; s < switches; ++s)
        ActionManager::setContext(s % 2 ? &first.widget : &second.widget);
    return timer.nsecsElapsed() / 1e3 / switches;
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
    return timer.nsecsElapsed() / 1e3 / switches;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Result
{
    double setContext;
    double plain;
};

Result measure(int commands, int runs)
{
    auto *mainWindow = new MainWindow(nullptr);
    Editor first;
    Editor second;
    addImplementations(first, commands, true);
    addImplementations(second, commands, false);
    registerCommands(mainWindow, first, second, commands);

    // Held by a widget, as the commands' actions are held by the main window.
    QWidget holder;
    std::vector<std::unique_ptr<QAction>> plain;
    for (size_t i = 0; i < first.actions.size(); ++i) {
        plain.push_back(std::make_unique<QAction>(commandId(int(i))));
        plain.back()->setCheckable(true);
        holder.addAction(plain.back().get());
    }

    const int switches = std::max(2, switchesPerCommand / commands) & ~1;
    timeSetContext(first, second, switches); // warm up both
    timePlain(plain, first, second, switches);
    std::vector<double> ours;
    std::vector<double> floor;
    for (int run = 0; run < runs; ++run) {
        ours.push_back(timeSetContext(first, second, switches));
        floor.push_back(timePlain(plain, first, second, switches));
    }
    delete mainWindow;
    return {median(ours), median(floor)};
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

    std::printf("%8s %14s %10s %7s\n", "commands", "setContext/us", "plain/us", "ratio");
    std::vector<std::pair<int, Result>> results;
    for (const int commands : counts) {
        const Result result = measure(commands, runs);
        std::printf("%8d %14.1f %10.1f %7.2f\n", commands, result.setContext, result.plain,
                    result.setContext / result.plain);
        std::fflush(stdout);
        results.emplace_back(commands, result);
    }
    for (const auto &[commands, result] : results) {
        // The target holds from 1,000 commands on: a switch over few commands is mostly fixed cost.
        std::printf("bench: contextswitch | setContext, %d commands | %.1f us | plain QActions | "
                    "%.1f us | %.2f | %s\n",
                    commands, result.setContext, result.plain, result.setContext / result.plain,
                    commands >= 1000 ? "<= 1.5" : "-");
    }
    return 0;
}
