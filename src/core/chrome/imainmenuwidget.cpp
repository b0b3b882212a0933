#include "imainmenuwidget.h"

#include "iui.h"
#include "vdnotificationbar.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QVBoxLayout>

namespace {

const char productName[] = "Veldra";
const char imageDirectory[] = ":/core/images/";
// A press on a maximised window only restores it once the cursor moved further than this
// to the right or downward.
const int restoreDragThreshold = 5;
// The name of the picture a title button shows.
const char glyphProperty[] = "veldraGlyph";

QIcon titleIcon(const QString &name)
{
    return IUi::getIcon(name, IUi::NoSize, QLatin1String(imageDirectory));
}

// The picture's shape in the given colour: the glyph files are drawn for a dark title bar.
QIcon tintedIcon(const QIcon &icon, const QColor &color)
{
    const QList<QSize> sizes = icon.availableSizes();
    QPixmap glyph = icon.pixmap(sizes.isEmpty() ? QSize(16, 16) : sizes.constFirst());
    if (glyph.isNull())
        return icon;
    QPainter painter(&glyph);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(glyph.rect(), color);
    painter.end();
    return QIcon(glyph);
}

} // namespace

IMainMenuWidget::IMainMenuWidget(QWidget *parent, const QString &title, const QIcon &icon)
    : QWidget(parent, Qt::WindowFlags())
{
    buildContent();
    updateWindowFilePath(QString());
    setWindowIcon(icon);
    setWindowTitle(title);
}

void IMainMenuWidget::buildContent()
{
    m_pMainLayout = new QVBoxLayout(this);

    auto titleRow = new QHBoxLayout;
    // The left part of the row is where paintEvent draws the icon and the title.
    titleRow->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));

    m_pUserAccountLink = new QLabel(this);
    setUserAccountLink(tr("Sign In"));
    m_pUserAccountLink->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    titleRow->addWidget(m_pUserAccountLink);

    m_pMinimizeButton = addTitleButton(titleRow, tr("Minimize"), QStringLiteral("minimize"));
    m_pMaximizeButton = addTitleButton(titleRow, tr("Maximize"), QStringLiteral("maximize"));
    m_pCloseButton = addTitleButton(titleRow, tr("Close"), QStringLiteral("close"));
    m_pCloseButton->setObjectName(QStringLiteral("m_pCloseButton"));

    connect(m_pMinimizeButton, &QPushButton::clicked, this, &IMainMenuWidget::showMinimized);
    connect(m_pMaximizeButton, &QPushButton::clicked, this, &IMainMenuWidget::showMaximized);
    connect(m_pCloseButton, &QPushButton::clicked, this, &IMainMenuWidget::close);

    m_pMainLayout->addLayout(titleRow);
    m_pNotificationBar = new VDNotificationBar(this);
    m_pNotificationBar->hide();
    m_pMainLayout->addWidget(m_pNotificationBar);

    m_pMainLayout->setContentsMargins(0, 0, 0, 0);
    m_pMainLayout->setSpacing(0);
}

QPushButton *IMainMenuWidget::addTitleButton(QBoxLayout *row, const QString &toolTip,
                                             const QString &iconName)
{
    auto button = new QPushButton(this);
    button->setToolTip(toolTip);
    button->setProperty(glyphProperty, iconName);
    button->setIcon(titleIcon(iconName));
    row->addWidget(button);
    return button;
}

void IMainMenuWidget::setMenuBar(QWidget *menuBar)
{
    if (!menuBar) {
        qWarning("IMainMenuWidget::setMenuBar: no menu bar given");
        return;
    }
    m_pMainLayout->insertWidget(1, menuBar, 0);
}

void IMainMenuWidget::setUserAccountLink(const QString &text)
{
    m_pUserAccountLink->setText(
            QStringLiteral("<a href='#' style='color:#f7941d;'>%1</a>").arg(text));
}

QLabel *IMainMenuWidget::getUserAccountLink()
{
    return m_pUserAccountLink;
}

VDNotificationBar *IMainMenuWidget::getNotificationBar()
{
    return m_pNotificationBar;
}

void IMainMenuWidget::updateWindowFilePath(const QString &fileName)
{
    const QString product = QLatin1String(productName);
    setWindowTitle(fileName.isEmpty() ? product : QStringLiteral("%1 - %2").arg(fileName, product));
    update();
}

void IMainMenuWidget::updateModified(bool bIsModified)
{
    setWindowModified(bIsModified);
    update();
}

void IMainMenuWidget::updateMaximized(bool bIsMaximized)
{
    const QString glyph = QLatin1String(bIsMaximized ? "restore" : "maximize");
    m_pMaximizeButton->setToolTip(bIsMaximized ? tr("Restore Down") : tr("Maximize"));
    m_pMaximizeButton->setProperty(glyphProperty, glyph);
    m_pMaximizeButton->setIcon(glyphIcon(glyph));
    update();
}

// The buttons' glyphs take the title bar's text colour, so that a theme can make the title bar
// light as well as dark.
QIcon IMainMenuWidget::glyphIcon(const QString &name) const
{
    return tintedIcon(titleIcon(name), palette().color(foregroundRole()));
}

void IMainMenuWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        for (QPushButton *button : {m_pMinimizeButton, m_pMaximizeButton, m_pCloseButton}) {
            if (button)
                button->setIcon(glyphIcon(button->property(glyphProperty).toString()));
        }
    }
    QWidget::changeEvent(event);
}

void IMainMenuWidget::showMinimized()
{
    window()->showMinimized();
}

void IMainMenuWidget::showMaximized()
{
    QWidget *topLevel = window();
    if (topLevel->windowState() & Qt::WindowMaximized)
        topLevel->showNormal();
    else
        topLevel->showMaximized();
}

void IMainMenuWidget::close()
{
    // The window's own close handling decides whether it really closes.
    window()->close();
}

void IMainMenuWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_bDragging = true;
    m_pressPosition = event->globalPos();
    m_windowPositionAtPress = window()->pos();
}

void IMainMenuWidget::mouseReleaseEvent(QMouseEvent *)
{
    m_bDragging = false;
}

void IMainMenuWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        showMaximized();
}

void IMainMenuWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_bDragging)
        return;

    const QPoint delta = event->globalPos() - m_pressPosition;
    if (isWindowExactlyMaximized()) {
        if (delta.x() > restoreDragThreshold || delta.y() > restoreDragThreshold)
            restoreMaximizedWindowByDrag();
        return;
    }

    if (m_bRestoredByDrag)
        placeRestoredWindowUnderCursor(event->globalPos());
    // The press position stays fixed, so the window keeps its offset to the cursor.
    window()->move(m_windowPositionAtPress + delta);
}

bool IMainMenuWidget::isWindowExactlyMaximized() const
{
    return window()->windowState() == Qt::WindowMaximized;
}

void IMainMenuWidget::restoreMaximizedWindowByDrag()
{
    m_pMaximizeButton->setToolTip(tr("Maximize"));
    window()->showNormal();
    m_bRestoredByDrag = true;
}

// The restored window goes to the top of the desktop, horizontally centred under the cursor but
// kept inside the desktop's horizontal extent.
void IMainMenuWidget::placeRestoredWindowUnderCursor(const QPoint &cursor)
{
    QWidget *topLevel = window();
    const QRect windowRect = topLevel->geometry();
    const QRect desktop = QApplication::desktop()->geometry();

    int x = cursor.x() - windowRect.width() / 2;
    if (x < desktop.x())
        x = desktop.x();
    if (x + windowRect.width() > desktop.x() + desktop.width())
        x = desktop.x() + desktop.width() - windowRect.width();

    const QPoint placed(x, desktop.y());
    topLevel->move(placed);
    m_windowPositionAtPress = placed;
    m_bRestoredByDrag = false;
}

void IMainMenuWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyle *widgetStyle = style();

    QStyleOptionTitleBar titleOption;
    titleOption.initFrom(this);
    const int height = widgetStyle->pixelMetric(QStyle::PM_TitleBarHeight, &titleOption, this);
    titleOption.rect = QRect(0, 0, width(), height);
    titleOption.titleBarState = static_cast<int>(windowState());

    QString title = windowTitle();
    if (isWindowModified())
        title.prepend(QLatin1Char('*'));
    titleOption.text =
            titleOption.fontMetrics.elidedText(title, Qt::ElideRight, titleOption.rect.width());
    titleOption.icon = windowIcon();
    widgetStyle->drawComplexControl(QStyle::CC_TitleBar, &titleOption, &painter, this);

    const QRect iconRect(3, 3, height - 3, height - 3);
    const QPixmap iconPixmap = titleOption.icon.pixmap(height - 3, QIcon::Normal, QIcon::On);
    widgetStyle->drawItemPixmap(&painter, iconRect, Qt::AlignLeft | Qt::AlignVCenter, iconPixmap);

    const QRect textRect(iconRect.width() + 10, 0, width() - height - 10, height);
    widgetStyle->drawItemText(&painter, textRect, Qt::AlignLeft | Qt::AlignVCenter,
                              titleOption.palette, true, titleOption.text, QPalette::Text);

    QStyleOption widgetOption;
    widgetOption.initFrom(this);
    widgetOption.rect = rect();
    widgetOption.rect.setTop(height);
    widgetStyle->drawPrimitive(QStyle::PE_Widget, &widgetOption, &painter, this);
}

void IMainMenuWidget::contextMenuEvent(QContextMenuEvent *event)
{
    const bool maximized = window()->isMaximized();

    // Built anew for every request and owned by this function. It has no parent on purpose:
    // Close may end up destroying this widget's window while the menu is still running.
    QMenu menu;
    QAction *restore = menu.addAction(tr("Restore"), this, &IMainMenuWidget::showMaximized);
    restore->setEnabled(maximized);
    menu.addAction(tr("Minimize"), this, &IMainMenuWidget::showMinimized);
    QAction *maximize = menu.addAction(tr("Maximize"), this, &IMainMenuWidget::showMaximized);
    maximize->setEnabled(!maximized);
    menu.addAction(tr("Close"), this, &IMainMenuWidget::close);
    menu.exec(mapToGlobal(event->pos()));
}
