#include "generaloptionspage.h"

#include "documentmanager.h"
#include "helpcommands.h"
#include "icore.h"
#include "updateschedule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {
const int maximumIntervalSeconds = 24 * 60 * 60;

// Applies a changed setting to the projects already open: their backup countdowns were armed
// (or not) with the old values.
void rearmOpenDocuments(bool bEnabled)
{
    const QList<IDocument *> documents = DocumentManager::getDocuments();
    for (IDocument *document : documents) {
        if (bEnabled)
            DocumentManager::startWaitingBackup(document);
        else
            DocumentManager::stopWaitingBackup(document);
    }
}
} // namespace

GeneralOptionsPage::GeneralOptionsPage(QWidget *parent)
    : IOptionPage(parent)
    , m_pAutoBackupCheck(new QCheckBox(tr("Back up open projects automatically"), this))
    , m_pBackupIntervalSpin(new QSpinBox(this))
    , m_pUpdateCheck(new QCheckBox(tr("Check for updates automatically"), this))
    , m_pUpdateFrequencyCombo(new QComboBox(this))
{
    setWindowTitle(tr("General"));
    m_pAutoBackupCheck->setObjectName(QStringLiteral("autoBackupCheck"));
    m_pBackupIntervalSpin->setObjectName(QStringLiteral("backupIntervalSpin"));
    m_pBackupIntervalSpin->setRange(1, maximumIntervalSeconds);
    m_pBackupIntervalSpin->setSingleStep(30);
    m_pBackupIntervalSpin->setSuffix(tr(" s"));

    auto *layout = new QFormLayout(this);
    layout->addRow(m_pAutoBackupCheck);
    layout->addRow(tr("Backup interval:"), m_pBackupIntervalSpin);

    m_pUpdateCheck->setObjectName(QStringLiteral("updateCheck"));
    m_pUpdateFrequencyCombo->setObjectName(QStringLiteral("updateFrequencyCombo"));
    m_pUpdateFrequencyCombo->addItem(tr("Daily"), UpdateSchedule::Daily);
    m_pUpdateFrequencyCombo->addItem(tr("Weekly"), UpdateSchedule::Weekly);
    m_pUpdateFrequencyCombo->setAccessibleName(m_pUpdateCheck->text()); // it has no label
    layout->addRow(m_pUpdateCheck, m_pUpdateFrequencyCombo);

    connect(m_pAutoBackupCheck, &QCheckBox::toggled, m_pBackupIntervalSpin, &QWidget::setEnabled);
    connect(m_pAutoBackupCheck, &QCheckBox::toggled, this, &IOptionPage::dataChanged);
    connect(m_pBackupIntervalSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &IOptionPage::dataChanged);
    connect(m_pUpdateCheck, &QCheckBox::toggled, this, &GeneralOptionsPage::updateUpdateWidgets);
    connect(m_pUpdateCheck, &QCheckBox::toggled, this, &IOptionPage::dataChanged);
    connect(m_pUpdateFrequencyCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &IOptionPage::dataChanged);
}

GeneralOptionsPage::~GeneralOptionsPage() = default;

void GeneralOptionsPage::initValues()
{
    fillFromRegistry();
    IOptionPage::initValues();
}

void GeneralOptionsPage::saveChanges()
{
    const bool bEnabled = m_pAutoBackupCheck->isChecked();
    const int nInterval = m_pBackupIntervalSpin->value();
    const bool bRearm = bEnabled != DocumentManager::isAutobackupEnabled() ||
                        nInterval != DocumentManager::getAutobackupTimeout();
    DocumentManager::setAutoBackupEnabled(bEnabled);
    DocumentManager::setAutobackupTimeout(nInterval);
    DocumentManager::saveSettings();
    UpdateSchedule::setFrequency(
            m_pUpdateCheck->isChecked()
                    ? UpdateSchedule::Frequency(m_pUpdateFrequencyCombo->currentData().toInt())
                    : UpdateSchedule::Never);
    ICore::saveSettings();
    if (bRearm)
        rearmOpenDocuments(bEnabled);
    IOptionPage::saveChanges();
}

void GeneralOptionsPage::discardChanges()
{
    fillFromRegistry();
    IOptionPage::discardChanges();
}

void GeneralOptionsPage::fillFromRegistry()
{
    const QSignalBlocker checkBlocker(m_pAutoBackupCheck);
    const QSignalBlocker spinBlocker(m_pBackupIntervalSpin);
    const QSignalBlocker updateBlocker(m_pUpdateCheck);
    const QSignalBlocker frequencyBlocker(m_pUpdateFrequencyCombo);
    m_pAutoBackupCheck->setChecked(DocumentManager::isAutobackupEnabled());
    m_pBackupIntervalSpin->setValue(DocumentManager::getAutobackupTimeout());
    m_pBackupIntervalSpin->setEnabled(m_pAutoBackupCheck->isChecked());

    const UpdateSchedule::Frequency frequency = UpdateSchedule::frequency();
    m_pUpdateCheck->setChecked(frequency != UpdateSchedule::Never);
    if (frequency != UpdateSchedule::Never)
        m_pUpdateFrequencyCombo->setCurrentIndex(m_pUpdateFrequencyCombo->findData(frequency));
    updateUpdateWidgets();
}

// Automatic checks need a feed; without one the choice is shown but cannot be changed.
void GeneralOptionsPage::updateUpdateWidgets()
{
    const bool hasFeed = !HelpCommands::updateFeed().isEmpty();
    const QString reason = hasFeed ? QString()
                                   : tr("This installation has no update address, so it cannot "
                                        "check for updates.");
    m_pUpdateCheck->setEnabled(hasFeed);
    m_pUpdateCheck->setToolTip(reason);
    m_pUpdateFrequencyCombo->setEnabled(hasFeed && m_pUpdateCheck->isChecked());
    m_pUpdateFrequencyCombo->setToolTip(reason);
}
