#include "colorbutton.h"

#include <QColorDialog>
#include <QPixmap>

ColorButton::ColorButton(QWidget *parent)
    : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &ColorButton::chooseColor);
}

QColor ColorButton::color() const
{
    return m_color;
}

void ColorButton::setColor(const QColor &color)
{
    m_color = color;
    QPixmap swatch(16, 16);
    swatch.fill(color.isValid() ? color : QColor(Qt::transparent));
    setIcon(QIcon(swatch));
    setText(color.isValid() ? color.name() : QString());
}

void ColorButton::chooseColor()
{
    const QColor chosen = QColorDialog::getColor(m_color, this);
    if (!chosen.isValid() || chosen == m_color)
        return;
    setColor(chosen);
    emit colorChosen(chosen);
}
