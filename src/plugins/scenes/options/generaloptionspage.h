#pragma once

#include "ioptionpage.h"
#include "scenes_global.h"

QT_BEGIN_NAMESPACE
class QCheckBox;
class QComboBox;
class QSpinBox;
QT_END_NAMESPACE

/*!
 * The options page "General": whether open projects are backed up automatically, and how often
 * (in seconds, the unit the document registry stores); and whether updates are checked for
 * automatically, daily or weekly, which needs an update feed (without one the choice is disabled
 * and its tool tip says why).
 */
class SCENES_EXPORT GeneralOptionsPage : public IOptionPage
{
    Q_OBJECT

public:
    explicit GeneralOptionsPage(QWidget *parent = nullptr);
    ~GeneralOptionsPage() override;

    void initValues() override;
    void saveChanges() override;
    void discardChanges() override;

private:
    void fillFromRegistry();
    void updateUpdateWidgets();

    QCheckBox *m_pAutoBackupCheck;      // child
    QSpinBox *m_pBackupIntervalSpin;    // child
    QCheckBox *m_pUpdateCheck;          // child
    QComboBox *m_pUpdateFrequencyCombo; // child
};
