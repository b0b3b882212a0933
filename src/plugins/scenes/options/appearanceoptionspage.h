#pragma once

#include "ioptionpage.h"
#include "scenes_global.h"

QT_BEGIN_NAMESPACE
class QComboBox;
QT_END_NAMESPACE

/*!
 * The options page "Appearance": the theme and the interface language. Both are stored in the
 * catalogues for the next start; the running application keeps its look and language.
 */
class SCENES_EXPORT AppearanceOptionsPage : public IOptionPage
{
    Q_OBJECT

public:
    explicit AppearanceOptionsPage(QWidget *parent = nullptr);
    ~AppearanceOptionsPage() override;

    void initValues() override;
    void saveChanges() override;
    void discardChanges() override;

private:
    void fillFromCatalogues();
    static QString themeName(const QString &strId, const QString &strName);

    QComboBox *m_pThemeCombo;    // child
    QComboBox *m_pLanguageCombo; // child
    // The ids shown when the page was filled: only a choice that differs from them is stored.
    QString m_strLoadedThemeId;
    QString m_strLoadedLanguageId;
};
