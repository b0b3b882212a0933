#pragma once

#include "core_global.h"

#include <QIcon>
#include <QPoint>
#include <QString>
#include <QWidget>

class QBoxLayout;
class QContextMenuEvent;
class QLabel;
class QMouseEvent;
class QPaintEvent;
class QPushButton;
class QVBoxLayout;
class VDNotificationBar;

/*!
 * The title bar of a frameless main window, installed as its menu widget. It paints the window
 * icon and title (with "*" in front while modified), holds the account link and the Minimize,
 * Maximize/Restore Down and Close buttons, carries the menu bar as its second row and the
 * notification bar as its third.
 *
 * It also behaves like a system title bar for window(): dragging moves the window, a double
 * click maximises or restores it, dragging a maximised window restores it under the cursor, and
 * a right click opens a small window menu.
 */
class CORE_EXPORT IMainMenuWidget : public QWidget
{
    Q_OBJECT

public:
    IMainMenuWidget(QWidget *parent, const QString &title, const QIcon &icon);

    void setMenuBar(QWidget *menuBar);
    void setUserAccountLink(const QString &text);
    QLabel *getUserAccountLink();
    VDNotificationBar *getNotificationBar();

public slots:
    void updateWindowFilePath(const QString &fileName);
    void updateModified(bool bIsModified);
    void updateMaximized(bool bIsMaximized);

private slots:
    void showMinimized();
    void showMaximized();
    void close();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildContent();
    QPushButton *addTitleButton(QBoxLayout *row, const QString &toolTip, const QString &iconName);
    QIcon glyphIcon(const QString &name) const;
    bool isWindowExactlyMaximized() const;
    void restoreMaximizedWindowByDrag();
    void placeRestoredWindowUnderCursor(const QPoint &cursor);

    // All owned through the Qt parent chain.
    QVBoxLayout *m_pMainLayout = nullptr;
    QLabel *m_pUserAccountLink = nullptr;
    QPushButton *m_pMinimizeButton = nullptr;
    QPushButton *m_pMaximizeButton = nullptr;
    QPushButton *m_pCloseButton = nullptr;
    VDNotificationBar *m_pNotificationBar = nullptr;

    QPoint m_pressPosition;         // global cursor position of the last left press
    QPoint m_windowPositionAtPress; // where window() was at that press
    bool m_bRestoredByDrag = false;
    bool m_bDragging = false;
};
