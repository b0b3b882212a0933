#include "documentmanager.h"
#include "documentmanager_p.h"

#include "idocument.h"

#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>

#include <climits>
#include <optional>

namespace {

const char settingsGroup[] = "Veldra";
const char enableKey[] = "AutoBackup.Enable";
const char intervalKey[] = "AutoBackup.Interval";

DocumentManager *s_instance = nullptr;
DocumentManagerPrivate *d = nullptr; // the data of s_instance

DocumentManagerPrivate *current(const char *operation)
{
    if (!d)
        qWarning("DocumentManager::%s called while no document registry exists", operation);
    return d;
}

// Values read back from an INI file are strings, so "true", "1" and "on" count as well as a
// real boolean. Anything else is no truth value at all.
std::optional<bool> toBool(const QVariant &value)
{
    if (value.userType() == QMetaType::Bool)
        return value.toBool();
    bool isNumber = false;
    const double number = value.toDouble(&isNumber);
    if (isNumber)
        return number != 0;
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("yes") ||
        text == QLatin1String("on"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("no") ||
        text == QLatin1String("off"))
        return false;
    return std::nullopt;
}

// A stored interval that is no number counts as 0 seconds.
int toSeconds(const QVariant &value)
{
    bool isNumber = false;
    const double seconds = value.toDouble(&isNumber);
    if (!isNumber || !qIsFinite(seconds)) {
        qWarning("The setting %s/%s is not a number", settingsGroup, intervalKey);
        return 0;
    }
    return int(qBound(double(INT_MIN), seconds, double(INT_MAX)));
}

} // namespace

DocumentManagerPrivate::DocumentManagerPrivate(DocumentManager *pManager)
    : q(pManager)
    , undoGroup(new QUndoGroup)
{}

DocumentManagerPrivate::~DocumentManagerPrivate()
{
    delete undoGroup;
}

QTimer *DocumentManagerPrivate::createBackupTimer(IDocument *pDocument)
{
    auto *timer = new QTimer(q);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, q, &DocumentManager::onScheduleBackup);
    backupTimers.insert(timer, pDocument);
    return timer;
}

QTimer *DocumentManagerPrivate::backupTimerOf(IDocument *pDocument) const
{
    for (auto it = backupTimers.cbegin(); it != backupTimers.cend(); ++it) {
        if (it.value() == pDocument)
            return it.key();
    }
    return nullptr;
}

void DocumentManagerPrivate::deleteBackupTimer(QTimer *pTimer)
{
    backupTimers.remove(pTimer);
    QObject::disconnect(pTimer, &QTimer::timeout, q, &DocumentManager::onScheduleBackup);
    if (pTimer->isActive())
        pTimer->stop();
    delete pTimer;
}

// A document deleted while still registered must not leave a dangling pointer behind, or its
// timer would back up freed memory. Its undo stack leaves the group by itself when deleted.
void DocumentManagerPrivate::forgetDestroyedDocument(IDocument *pDocument)
{
    documents.removeAll(pDocument);
    while (QTimer *timer = backupTimerOf(pDocument))
        deleteBackupTimer(timer);
}

int DocumentManagerPrivate::backupIntervalMs() const
{
    // Below one second a timer would fire almost continuously; far above, milliseconds overflow.
    return qBound(1, autoBackupInterval, INT_MAX / 1000) * 1000;
}

DocumentManager::DocumentManager()
    : m_pPrivate(new DocumentManagerPrivate(this))
{
    s_instance = this;
    d = m_pPrivate.get();
}

DocumentManager::~DocumentManager()
{
    if (s_instance == this) {
        s_instance = nullptr;
        d = nullptr;
    }
}

DocumentManager *DocumentManager::getInstance()
{
    return s_instance;
}

const QList<IDocument *> &DocumentManager::getDocuments()
{
    static const QList<IDocument *> none;
    return d ? d->documents : none;
}

QUndoGroup *DocumentManager::getUndoGroup()
{
    return d ? d->undoGroup : nullptr;
}

void DocumentManager::addDocument(IDocument *pDocument)
{
    if (!pDocument) {
        qWarning("DocumentManager::addDocument: the document is null");
        return;
    }
    if (!current("addDocument") || d->documents.contains(pDocument))
        return;
    d->documents.append(pDocument);
    if (QUndoStack *undoStack = pDocument->getUndoStack())
        d->undoGroup->addStack(undoStack);
    else
        qWarning("DocumentManager::addDocument: the document has no undo stack");
    d->createBackupTimer(pDocument);
    DocumentManagerPrivate *data = d;
    connect(pDocument, &QObject::destroyed, d->q,
            [data, pDocument] { data->forgetDestroyedDocument(pDocument); });
}

bool DocumentManager::removeDocument(IDocument *pDocument)
{
    if (!pDocument)
        return true;
    if (!current("removeDocument") || !d->documents.contains(pDocument))
        return false;
    d->documents.removeOne(pDocument);
    if (QUndoStack *undoStack = pDocument->getUndoStack())
        d->undoGroup->removeStack(undoStack);
    disconnect(pDocument, &QObject::destroyed, d->q, nullptr);
    QTimer *timer = d->backupTimerOf(pDocument);
    if (!timer)
        return false;
    d->deleteBackupTimer(timer);
    return true;
}

bool DocumentManager::isAutobackupEnabled()
{
    return d ? d->autoBackupEnabled : true;
}

void DocumentManager::setAutoBackupEnabled(bool bEnabled)
{
    if (current("setAutoBackupEnabled"))
        d->autoBackupEnabled = bEnabled;
}

int DocumentManager::getAutobackupTimeout()
{
    return d ? d->autoBackupInterval : 300;
}

void DocumentManager::setAutobackupTimeout(int nTimeout)
{
    if (current("setAutobackupTimeout"))
        d->autoBackupInterval = nTimeout;
}

void DocumentManager::setSettings(QSettings *pSettings)
{
    if (current("setSettings"))
        d->settings = pSettings;
}

void DocumentManager::readSettings()
{
    if (!current("readSettings"))
        return;
    QSettings *settings = d->settings;
    if (!settings) {
        qWarning("DocumentManager::readSettings: no settings store was set");
        return;
    }
    settings->beginGroup(QLatin1String(settingsGroup));
    if (settings->contains(QLatin1String(enableKey))) {
        const QVariant value = settings->value(QLatin1String(enableKey));
        if (const std::optional<bool> enabled = toBool(value))
            d->autoBackupEnabled = *enabled;
        else
            qWarning("The setting %s/%s is not a truth value", settingsGroup, enableKey);
    }
    if (settings->contains(QLatin1String(intervalKey)))
        d->autoBackupInterval = toSeconds(settings->value(QLatin1String(intervalKey)));
    settings->endGroup();
}

void DocumentManager::saveSettings()
{
    if (!current("saveSettings"))
        return;
    QSettings *settings = d->settings;
    if (!settings) {
        qWarning("DocumentManager::saveSettings: no settings store was set");
        return;
    }
    settings->beginGroup(QLatin1String(settingsGroup));
    settings->setValue(QLatin1String(enableKey), d->autoBackupEnabled);
    settings->setValue(QLatin1String(intervalKey), d->autoBackupInterval);
    settings->endGroup();
}

void DocumentManager::startWaitingBackup(IDocument *pDocument)
{
    if (!pDocument || !current("startWaitingBackup"))
        return;
    if (QTimer *timer = d->backupTimerOf(pDocument)) {
        if (timer->isActive())
            timer->stop();
        timer->start(d->backupIntervalMs());
    }
}

void DocumentManager::stopWaitingBackup(IDocument *pDocument)
{
    if (!pDocument || !current("stopWaitingBackup"))
        return;
    QTimer *timer = d->backupTimerOf(pDocument);
    if (timer && timer->isActive())
        timer->stop();
}

void DocumentManager::onScheduleBackup()
{
    QPointer<QTimer> timer = qobject_cast<QTimer *>(sender());
    if (!timer)
        return;
    if (IDocument *document = m_pPrivate->backupTimers.value(timer))
        document->saveBackup();
    // saveBackup() may have unregistered the document, which deletes its timer.
    if (timer)
        timer->start(m_pPrivate->backupIntervalMs());
}
