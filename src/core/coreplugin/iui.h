#pragma once

#include "core_global.h"
#include "isingleton.h"

#include <QIcon>
#include <QMap>
#include <QMessageBox>
#include <QPixmap>
#include <QString>

/*!
 * Icons and message boxes shared by every window of the application.
 *
 * Image files are named "<name><size suffix><state suffix>.png" inside a resource folder;
 * pixmaps are cached by absolute path. The four message boxes carry the application's own
 * icon images ("information_32.png" etc. in ":/designer/images/") instead of the platform's.
 * All operations are static and work on the single instance.
 */
class CORE_EXPORT IUi : public ISingleton<IUi>
{
    friend class ISingleton<IUi>;

public:
    // Icon states: only Disabled adds a suffix ("_d").
    enum IconState { Normal = 2, Disabled = 4 };
    // Icon size indexes: 1..6 add "_12", "_16", "_24", "_32", "_48", "_64"; others add nothing.
    enum IconSize {
        NoSize = 0,
        Size12 = 1,
        Size16 = 2,
        Size24 = 3,
        Size32 = 4,
        Size48 = 5,
        Size64 = 6
    };

    static QString imageFileName(const QString &name, int state, int size);
    static QPixmap getPixmap(const QString &name, int state, int size,
                             const QString &directory = QStringLiteral(":/core/images/"));
    static QIcon getIcon(const QString &name, int size,
                         const QString &directory = QStringLiteral(":/core/images/"));

    static QMessageBox::StandardButton
    information(QWidget *parent, const QString &title, const QString &text,
                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    question(QWidget *parent, const QString &title, const QString &text,
             QMessageBox::StandardButtons buttons = QMessageBox::StandardButtons(QMessageBox::Yes |
                                                                                 QMessageBox::No),
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    warning(QWidget *parent, const QString &title, const QString &text,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    critical(QWidget *parent, const QString &title, const QString &text,
             QMessageBox::StandardButtons buttons = QMessageBox::Ok,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

private:
    IUi() = default;

    QMap<QString, QPixmap> m_pixmapCache; // only grows
};
