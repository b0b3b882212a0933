#pragma once

#include "scenes_global.h"

#include <QColor>
#include <QPushButton>

/*!
 * A button that shows a colour and lets the user pick another one from the colour dialog.
 * colorChosen() is emitted only for a choice that differs from the shown colour; setColor()
 * changes what is shown without emitting anything.
 */
class SCENES_EXPORT ColorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ColorButton(QWidget *parent = nullptr);

    QColor color() const;
    void setColor(const QColor &color);

signals:
    void colorChosen(const QColor &color);

private:
    void chooseColor();

    QColor m_color;
};
