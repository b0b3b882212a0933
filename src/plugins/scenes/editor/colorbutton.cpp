#include "colorbutton.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace {

// The colour in a grey frame: a mid grey stands out against white and black swatches alike, on
// the light and the dark theme's buttons.
QPixmap swatchFor(const QColor &color)
{
    QPixmap swatch(16, 16);
    swatch.fill(color.isValid() ? color : QColor(Qt::transparent));
    QPainter painter(&swatch);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    return swatch;
}

} // namespace

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
    setIcon(QIcon(swatchFor(color)));
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
