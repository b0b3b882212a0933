#include "shortcutsettings.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "icore.h"

#include <QSet>
#include <QSettings>

namespace {
const QString &shortcutsGroup()
{
    static const QString group = QStringLiteral("Shortcuts");
    return group;
}

QSettings *userStore()
{
    QSettings *settings = ICore::settings();
    if (!settings)
        qWarning("ShortcutSettings: there is no user settings store");
    else
        ActionManager::setSettings(settings);
    return settings;
}

QSet<QString> storedIds(QSettings *settings)
{
    settings->beginGroup(shortcutsGroup());
    const QStringList keys = settings->childKeys();
    settings->endGroup();
    return QSet<QString>(keys.cbegin(), keys.cend());
}
} // namespace

void ShortcutSettings::load()
{
    QSettings *settings = userStore();
    if (!settings)
        return;
    ActionManager::readFromSettings();
    const QSet<QString> stored = storedIds(settings);
    for (ContextAction *command : ActionManager::getActions()) {
        if (!command->isSeparator() && !stored.contains(command->getId()))
            command->setKeySequence(command->getDefaultKeySequence());
    }
}

void ShortcutSettings::loadCommand(ContextAction *command)
{
    QSettings *settings = userStore();
    if (!settings)
        return;
    const QString key = shortcutsGroup() + QLatin1Char('/') + command->getId();
    command->setKeySequence(settings->contains(key) ? QKeySequence(settings->value(key).toString(),
                                                                   QKeySequence::PortableText)
                                                    : command->getDefaultKeySequence());
}

void ShortcutSettings::save()
{
    QSettings *settings = userStore();
    if (!settings)
        return;
    ActionManager::saveSettings();
    // The registry dropped the keys of empty shortcuts; an empty value remembers the clearing.
    settings->beginGroup(shortcutsGroup());
    for (ContextAction *command : ActionManager::getActions()) {
        if (!command->isSeparator() && command->getKeySequence().isEmpty() &&
            !command->getDefaultKeySequence().isEmpty())
            settings->setValue(command->getId(), QString());
    }
    settings->endGroup();
    ICore::saveSettings();
}
