#include "iui.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString sizeSuffix(int size)
{
    switch (size) {
    case IUi::Size12:
        return QStringLiteral("_12");
    case IUi::Size16:
        return QStringLiteral("_16");
    case IUi::Size24:
        return QStringLiteral("_24");
    case IUi::Size32:
        return QStringLiteral("_32");
    case IUi::Size48:
        return QStringLiteral("_48");
    case IUi::Size64:
        return QStringLiteral("_64");
    default:
        return QString();
    }
}

// Stands in for an image that cannot be loaded; transparent, so nothing random is drawn.
QPixmap blankPixmap()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// The message boxes carry the application's own images, not the platform's icons.
QMessageBox::StandardButton showMessageBox(const QString &kind, QWidget *parent,
                                           const QString &title, const QString &text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setIconPixmap(
            IUi::getPixmap(kind, IUi::Normal, IUi::Size32, QStringLiteral(":/designer/images/")));
    const int result = box.exec();
    if (result == -1)
        return QMessageBox::Cancel;
    return static_cast<QMessageBox::StandardButton>(result);
}

} // namespace

QString IUi::imageFileName(const QString &name, int state, int size)
{
    const QString stateSuffix = state == Disabled ? QStringLiteral("_d") : QString();
    return QStringLiteral("%1%2%3.png").arg(name, sizeSuffix(size), stateSuffix);
}

QPixmap IUi::getPixmap(const QString &name, int state, int size, const QString &directory)
{
    const QString key =
            QFileInfo(QDir(directory), imageFileName(name, state, size)).absoluteFilePath();
    QMap<QString, QPixmap> &cache = getInstance()->m_pixmapCache;

    const QPixmap cached = cache.value(key);
    if (!cached.isNull())
        return cached;

    const QPixmap loaded(key);
    if (loaded.isNull())
        return blankPixmap(); // not cached, so the file is tried again next time
    cache.insert(key, loaded);
    return loaded;
}

QIcon IUi::getIcon(const QString &name, int size, const QString &directory)
{
    QIcon icon;
    icon.addPixmap(getPixmap(name, Normal, size, directory), QIcon::Normal, QIcon::Off);
    icon.addPixmap(getPixmap(name, Disabled, size, directory), QIcon::Disabled, QIcon::Off);
    return icon;
}

QMessageBox::StandardButton IUi::information(QWidget *parent, const QString &title,
                                             const QString &text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    return showMessageBox(QStringLiteral("information"), parent, title, text, buttons,
                          defaultButton);
}

QMessageBox::StandardButton IUi::question(QWidget *parent, const QString &title,
                                          const QString &text, QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton)
{
    return showMessageBox(QStringLiteral("question"), parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton IUi::warning(QWidget *parent, const QString &title, const QString &text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton)
{
    return showMessageBox(QStringLiteral("warning"), parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton IUi::critical(QWidget *parent, const QString &title,
                                          const QString &text, QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton)
{
    return showMessageBox(QStringLiteral("critical"), parent, title, text, buttons, defaultButton);
}
