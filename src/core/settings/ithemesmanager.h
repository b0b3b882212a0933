#pragma once

#include "core_global.h"
#include "themesinfo.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QString>

/*!
 * The catalogue of style-sheet themes and the application's style sheet.
 *
 * initialize() names one theme after each file "veldra_<name>.qss" in "resources/styles" next to
 * the executable and applies the stored theme ("Dark" when nothing is stored) to the
 * application. When the stored theme cannot be applied, "Dark" is stored for the next start.
 * A new choice is only stored: it takes effect at the next start.
 *
 * The settings store is watched: when its owner deletes it, the manager behaves as if it had
 * none (the default theme is assumed, nothing can be saved).
 */
class CORE_EXPORT IThemesManager : public QObject
{
    Q_OBJECT

public:
    static IThemesManager &getInstance();

    // Rebuilds the catalogue from scratch (earlier records are deleted) and applies the stored
    // theme. True when a style sheet was applied.
    bool initialize();

    const QList<ThemesInfo *> &getThemes() const;
    QString getCurrentThemeId() const;
    QString getCurrentThemeName() const;
    QString getSaveThemeId() const;
    bool saveThemes(QString strThemeId);
    void setSettings(QSettings *settings);

private:
    IThemesManager();
    ~IThemesManager() override;

    bool listThemes(const QString &strStoredId);
    bool applyTheme(const QString &strFilePath, const QString &strThemeId);
    void clearThemes();

    ThemesInfo *m_currentTheme = nullptr; // owned; null before initialize()
    QList<ThemesInfo *> m_themes;         // owned
    QPointer<QSettings> m_settings;
};
