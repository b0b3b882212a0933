#include "chromesheet.h"

#include "imainmenuwidget.h"
#include "ishadowborderframe.h"
#include "iui.h"
#include "vdnotificationbar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

#include <memory>

namespace {

const int sheetMargin = 16;
const int sheetWidth = 960;
const int stripThickness = 8;
const int cornerZoom = 4;
const QColor desktopColor(0xc9, 0xcd, 0xd3); // what lies behind the sample window

// Lets the window system map, lay out and paint what was just shown.
void settle(int milliseconds = 300)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

const char longProjectPath[] = "/home/ada/Projects/Spring campaign 2026/Interactive showroom "
                               "tour for the flagship store in the old harbour district/Showroom "
                               "tour - final review with the client, second round.veldra";
const char shortProjectPath[] = "/home/ada/Projects/Showroom tour.veldra";

} // namespace

QImage ChromeSheet::render() const
{
    QList<Section> sections;
    sections.append({tr("Title bar: long project path (elided), modified, information notice"),
                     titleBarWindow(QLatin1String(longProjectPath), VDNotificationBar::Info,
                                    tr("A new version of Veldra is available."), tr("Update"))});
    sections.append(
            {tr("Title bar: short project path, modified, warning notice"),
             titleBarWindow(QLatin1String(shortProjectPath), VDNotificationBar::Warning,
                            tr("The project could not be backed up automatically."), tr("Retry"))});
    sections.append({tr("Shadow strips: active window (left), inactive window (right); corners "
                        "enlarged %1 times below")
                             .arg(cornerZoom),
                     stripPair()});
    return compose(sections);
}

QImage ChromeSheet::titleBarWindow(const QString &filePath, int notificationType,
                                   const QString &message, const QString &buttonText) const
{
    QMainWindow window(nullptr, Qt::FramelessWindowHint);
    auto titleBar = new IMainMenuWidget(&window, QStringLiteral("Veldra"),
                                        IUi::getIcon(QStringLiteral("icon"), IUi::NoSize));
    window.setMenuWidget(titleBar);

    auto menuBar = new QMenuBar;
    for (const QString &menu : {tr("File"), tr("Edit"), tr("View"), tr("Help")})
        menuBar->addMenu(menu);
    titleBar->setMenuBar(menuBar);

    titleBar->updateWindowFilePath(filePath);
    titleBar->updateModified(true);
    titleBar->getNotificationBar()->show(
            message, static_cast<VDNotificationBar::Type>(notificationType), buttonText, true);

    window.setCentralWidget(new QWidget);
    window.setGeometry(40, 40, sheetWidth - 2 * sheetMargin, 150);
    window.show();
    settle();
    return window.grab().toImage();
}

QImage ChromeSheet::framedWindow(bool bActive) const
{
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    auto layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(bActive ? tr("Active window") : tr("Inactive window")), 0,
                      Qt::AlignCenter);
    window.setGeometry(100, 100, 300, 150);

    QList<IShadowBorderFrame *> strips;
    for (int position = IShadowBorderFrame::Top; position <= IShadowBorderFrame::Bottom; ++position)
        strips.append(new IShadowBorderFrame(&window, position));
    window.show();
    settle();
    for (IShadowBorderFrame *strip : strips)
        strip->updateBorder(bActive);

    // The strips lie outside the window; put window and strips together on a plain desktop.
    const QRect outer = window.geometry().adjusted(-stripThickness, -stripThickness, stripThickness,
                                                   stripThickness);
    QImage image(outer.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(desktopColor);
    QPainter painter(&image);
    painter.drawPixmap(window.geometry().topLeft() - outer.topLeft(), window.grab());
    for (IShadowBorderFrame *strip : strips)
        painter.drawPixmap(strip->geometry().topLeft() - outer.topLeft(), strip->grab());
    return image;
}

QImage ChromeSheet::stripPair() const
{
    const QImage active = framedWindow(true);
    const QImage inactive = framedWindow(false);
    const int gap = 40;
    const QRect corner(0, 0, 2 * stripThickness + 8, 2 * stripThickness + 8);
    const QSize zoomed = corner.size() * cornerZoom;

    QImage image(active.width() + gap + inactive.width(),
                 active.height() + gap / 2 + zoomed.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(desktopColor);
    QPainter painter(&image);
    painter.drawImage(0, 0, active);
    painter.drawImage(active.width() + gap, 0, inactive);

    // Top-left and bottom-right corners of each window, pixel for pixel.
    const int zoomTop = active.height() + gap / 2;
    const QRect bottomRight(active.width() - corner.width(), active.height() - corner.height(),
                            corner.width(), corner.height());
    int x = 0;
    for (const QImage *sample : {&active, &inactive}) {
        for (const QRect &source : {corner, bottomRight}) {
            painter.drawImage(QRect(QPoint(x, zoomTop), zoomed), sample->copy(source));
            x += zoomed.width() + gap / 4;
        }
        x = active.width() + gap;
    }
    return image;
}

QImage ChromeSheet::compose(const QList<Section> &sections) const
{
    const QFontMetrics metrics(QApplication::font());
    const int captionHeight = metrics.height() + 6;
    int height = sheetMargin;
    for (const Section &section : sections)
        height += captionHeight + section.image.height() + sheetMargin;

    QImage sheet(sheetWidth, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0x5a, 0x5f, 0x66));
    QPainter painter(&sheet);
    painter.setPen(Qt::white);
    int y = sheetMargin;
    for (const Section &section : sections) {
        painter.drawText(QRect(sheetMargin, y, sheetWidth - 2 * sheetMargin, captionHeight),
                         Qt::AlignLeft | Qt::AlignTop, section.caption);
        y += captionHeight;
        painter.drawImage(sheetMargin, y, section.image);
        y += section.image.height() + sheetMargin;
    }
    return sheet;
}
