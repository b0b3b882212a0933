#include "contactsheet.h"

#include <QFont>
#include <QPainter>

namespace ImageGen {

namespace {

const int Zoom = 4;
const int Padding = 12;
const int LabelWidth = 230;
const int HeaderHeight = 34;
const QColor PageColor(0xd6, 0xd8, 0xdc);
const QColor DarkColor(0x2b, 0x2d, 0x31);
const QColor LightColor(0xfa, 0xfa, 0xfa);
const QColor TextColor(0x20, 0x22, 0x26);

struct Layout
{
    int panelWidth = 0;
    int height = HeaderHeight;
};

int rowHeight(const QImage &image)
{
    return image.height() * Zoom + 2 * Padding;
}

Layout measure(const QVector<NamedImage> &images)
{
    Layout layout;
    for (const NamedImage &named : images) {
        layout.panelWidth = qMax(layout.panelWidth, named.image.width() * (1 + Zoom) + 3 * Padding);
        layout.height += rowHeight(named.image);
    }
    return layout;
}

QFont labelFont(bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(bold);
    return font;
}

void paintHeader(QPainter &painter, const Layout &layout)
{
    painter.setFont(labelFont(true));
    painter.setPen(TextColor);
    const QStringList titles{QStringLiteral("on dark: 100% / 400%"),
                             QStringLiteral("on light: 100% / 400%")};
    for (int i = 0; i < titles.size(); ++i) {
        const QRect cell(LabelWidth + i * layout.panelWidth + Padding, 0, layout.panelWidth,
                         HeaderHeight);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, titles.at(i));
    }
}

void paintSamples(QPainter &painter, const QRect &panel, const QImage &image)
{
    const QPoint actualSize(panel.left() + Padding, panel.top() + Padding);
    painter.drawImage(actualSize, image);
    const QImage zoomed =
            image.scaled(image.size() * Zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    painter.drawImage(actualSize + QPoint(image.width() + Padding, 0), zoomed);
}

void paintRow(QPainter &painter, int top, const NamedImage &named, const Layout &layout)
{
    const int height = rowHeight(named.image);
    painter.setPen(TextColor);
    painter.setFont(labelFont());
    painter.drawText(QRect(Padding, top, LabelWidth - Padding, height),
                     Qt::AlignLeft | Qt::AlignVCenter, named.fileName);

    const QColor backgrounds[] = {DarkColor, LightColor};
    for (int i = 0; i < 2; ++i) {
        const QRect panel(LabelWidth + i * layout.panelWidth, top, layout.panelWidth - 2,
                          height - 2);
        painter.fillRect(panel, backgrounds[i]);
        paintSamples(painter, panel, named.image);
    }
}

} // namespace

QImage contactSheet(const QVector<NamedImage> &images)
{
    const Layout layout = measure(images);
    QImage sheet(LabelWidth + 2 * layout.panelWidth, layout.height, QImage::Format_RGB32);
    sheet.fill(PageColor);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    paintHeader(painter, layout);
    int top = HeaderHeight;
    for (const NamedImage &named : images) {
        paintRow(painter, top, named, layout);
        top += rowHeight(named.image);
    }
    return sheet;
}

} // namespace ImageGen
