#pragma once

#include "core_global.h"
#include "languageinfo.h"

#include <QList>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QString>

/*!
 * The catalogue of interface languages the installation offers and the user's choice among them.
 *
 * initialize() lists English (United States) first, then one entry per translation file
 * "veldra_<locale>.qm" in the "translations" folder next to the executable, and keeps the locale
 * of the stored choice as the current one. A new choice is only stored: it takes effect at the
 * next start. The manager loads no translations itself.
 *
 * The settings store is watched: when its owner deletes it, the manager behaves as if it had
 * none (nothing stored, nothing can be saved).
 */
class CORE_EXPORT ILanguageManager : public QObject
{
    Q_OBJECT

public:
    static ILanguageManager &getInstance();

    // Rebuilds the catalogue from scratch (earlier records are deleted) and rereads the choice.
    bool initialize();

    const QList<LanguageInfo *> &getLanguages() const;
    QString getCurrentLangId() const;
    QString getSaveLangId() const;
    bool saveLanguage(QString strLangId);
    void setSettings(QSettings *settings);

private:
    ILanguageManager();
    ~ILanguageManager() override;

    void appendLanguage(const QLocale &locale);
    void clearLanguages();

    QList<LanguageInfo *> m_languages; // owned
    QLocale m_currentLocale;
    QPointer<QSettings> m_settings;
};
