#include "updateschedule.h"

#include "icore.h"
#include "mainwindow.h"
#include "qsimpleupdater.h"

#include <QEvent>
#include <QSettings>
#include <QTimer>

namespace {

const char frequencyKey[] = "Updater/AutomaticCheck";
const char lastCheckKey[] = "Updater/LastCheck";
const char *const frequencyNames[] = {"off", "daily", "weekly"};

QSettings *settings()
{
    return ICore::settings();
}

} // namespace

UpdateSchedule::UpdateSchedule(const QString &url, QObject *parent)
    : QObject(parent)
    , m_url(url)
{
    const QVariant lastCheck = settings() ? settings()->value(lastCheckKey) : QVariant();
    if (isDue(frequency(), lastCheck, QDateTime::currentDateTimeUtc()))
        QTimer::singleShot(0, this, &UpdateSchedule::startWhenWindowShown);
}

UpdateSchedule::~UpdateSchedule() = default;

UpdateSchedule::Frequency UpdateSchedule::frequency()
{
    const QString name = settings() ? settings()->value(frequencyKey).toString() : QString();
    for (int i = Daily; i <= Weekly; ++i) {
        if (name == QLatin1String(frequencyNames[i]))
            return Frequency(i);
    }
    return Never;
}

void UpdateSchedule::setFrequency(Frequency frequency)
{
    if (settings())
        settings()->setValue(frequencyKey, QString::fromLatin1(frequencyNames[frequency]));
}

bool UpdateSchedule::isDue(Frequency frequency, const QVariant &lastCheck, const QDateTime &now)
{
    if (frequency == Never)
        return false;
    const QDateTime last = QDateTime::fromString(lastCheck.toString(), Qt::ISODate);
    if (!last.isValid() || last > now)
        return true; // never checked, or the clock went back: a stored time cannot be trusted
    return last.secsTo(now) >= (frequency == Daily ? 1 : 7) * 24 * 60 * 60;
}

bool UpdateSchedule::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched == ICore::getMainWindow()) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, &UpdateSchedule::check);
    }
    return QObject::eventFilter(watched, event);
}

void UpdateSchedule::startWhenWindowShown()
{
    MainWindow *window = ICore::getMainWindow();
    if (!window)
        return;
    if (window->isVisible())
        check();
    else
        window->installEventFilter(this);
}

// The time is taken when the check starts, so a feed that cannot be reached is not asked again
// at every start within the period.
void UpdateSchedule::check()
{
    if (settings()) {
        settings()->setValue(lastCheckKey, QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
        settings()->sync();
    }
    emit aboutToCheck(m_url);
    QSimpleUpdater::getInstance()->checkForUpdates(m_url, true);
}
