#pragma once

#include "ioptionpage.h"
#include "scenes_global.h"

QT_BEGIN_NAMESPACE
class QCheckBox;
class QSpinBox;
QT_END_NAMESPACE

/*!
 * The options page "General": whether open projects are backed up automatically, and how often
 * (in seconds, the unit the document registry stores).
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

    QCheckBox *m_pAutoBackupCheck;   // child
    QSpinBox *m_pBackupIntervalSpin; // child
};
