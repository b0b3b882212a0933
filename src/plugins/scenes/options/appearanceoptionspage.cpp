#include "appearanceoptionspage.h"

#include "icore.h"
#include "ilanguagemanager.h"
#include "ithemesmanager.h"
#include "languageinfo.h"
#include "themesinfo.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace {
// Selects the entry whose data is the id, else the entry of the fallback id, else the first
// entry; the id selected.
QString selectId(QComboBox *combo, const QString &strId, const QString &strFallbackId)
{
    int index = combo->findData(strId);
    if (index < 0)
        index = combo->findData(strFallbackId);
    combo->setCurrentIndex(qMax(index, 0));
    return combo->currentData().toString();
}
} // namespace

AppearanceOptionsPage::AppearanceOptionsPage(QWidget *parent)
    : IOptionPage(parent)
    , m_pThemeCombo(new QComboBox(this))
    , m_pLanguageCombo(new QComboBox(this))
{
    setWindowTitle(tr("Appearance"));
    m_pThemeCombo->setObjectName(QStringLiteral("themeCombo"));
    m_pLanguageCombo->setObjectName(QStringLiteral("languageCombo"));
    auto *note = new QLabel(tr("A new theme or language takes effect the next time the "
                               "application starts."),
                            this);
    note->setWordWrap(true);

    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Theme:"), m_pThemeCombo);
    layout->addRow(tr("Language:"), m_pLanguageCombo);
    layout->addRow(note);

    for (QComboBox *combo : {m_pThemeCombo, m_pLanguageCombo})
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &IOptionPage::dataChanged);
}

AppearanceOptionsPage::~AppearanceOptionsPage() = default;

void AppearanceOptionsPage::initValues()
{
    fillFromCatalogues();
    IOptionPage::initValues();
}

void AppearanceOptionsPage::saveChanges()
{
    const QString themeId = m_pThemeCombo->currentData().toString();
    if (!themeId.isEmpty() && themeId != m_strLoadedThemeId) {
        if (IThemesManager::getInstance().saveThemes(themeId))
            m_strLoadedThemeId = themeId;
        else
            qWarning("The theme \"%s\" is not in the catalogue", qPrintable(themeId));
    }
    const QString languageId = m_pLanguageCombo->currentData().toString();
    if (!languageId.isEmpty() && languageId != m_strLoadedLanguageId) {
        if (ILanguageManager::getInstance().saveLanguage(languageId))
            m_strLoadedLanguageId = languageId;
        else
            qWarning("The language \"%s\" is not in the catalogue", qPrintable(languageId));
    }
    ICore::saveSettings();
    IOptionPage::saveChanges();
}

void AppearanceOptionsPage::discardChanges()
{
    fillFromCatalogues();
    IOptionPage::discardChanges();
}

void AppearanceOptionsPage::fillFromCatalogues()
{
    const QSignalBlocker themeBlocker(m_pThemeCombo);
    const QSignalBlocker languageBlocker(m_pLanguageCombo);

    IThemesManager &themes = IThemesManager::getInstance();
    m_pThemeCombo->clear();
    for (const ThemesInfo *theme : themes.getThemes())
        m_pThemeCombo->addItem(themeName(theme->id, theme->name), theme->id);
    m_strLoadedThemeId =
            selectId(m_pThemeCombo, themes.getSaveThemeId(), themes.getCurrentThemeId());

    // Listed like the main window's Language menu.
    ILanguageManager &languages = ILanguageManager::getInstance();
    m_pLanguageCombo->clear();
    for (const LanguageInfo *language : languages.getLanguages())
        m_pLanguageCombo->addItem(
                QStringLiteral("%1 (%2)").arg(language->nativeLanguage, language->country),
                language->id);
    m_strLoadedLanguageId =
            selectId(m_pLanguageCombo, languages.getSaveLangId(), languages.getCurrentLangId());
}

// The shipped themes are named in the interface language; another one keeps its file's name.
QString AppearanceOptionsPage::themeName(const QString &strId, const QString &strName)
{
    if (strId == QLatin1String("Dark"))
        return tr("Dark");
    if (strId == QLatin1String("Light"))
        return tr("Light");
    return strName;
}
