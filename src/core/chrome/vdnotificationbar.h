#pragma once

#include "core_global.h"

#include <QFrame>
#include <QString>

namespace Ui {
class VDNotificationBar;
}

/*!
 * A thin bar under the menu bar that tells the user something without a dialog: an information
 * or warning icon, a message, an optional action button and an optional close button. It has no
 * timer; it stays until the user closes it or the application hides it.
 *
 * Listeners of buttonClicked() belong to one message: every show() drops them, so a caller
 * connects after calling show().
 */
class CORE_EXPORT VDNotificationBar : public QFrame
{
    Q_OBJECT

public:
    enum Type { Info = 0, Warning = 1 };

    explicit VDNotificationBar(QWidget *parent = nullptr);
    ~VDNotificationBar() override;

    void show(const QString &message, Type type, const QString &buttonText, bool bShowClose);

signals:
    void buttonClicked();

private:
    Ui::VDNotificationBar *m_pUi; // owned
};
