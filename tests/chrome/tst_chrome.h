#pragma once

#include <QList>
#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

class IMainMenuWidget;
class IShadowBorderFrame;

/*
 * The window chrome with real widgets under Xvfb: the notification bar, the title bar acting on
 * a QMainWindow, and the shadow strips around a frameless window. Xvfb has no window manager,
 * so moves and resizes are applied as asked, but they reach the widgets asynchronously.
 */
class TestChrome : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // tst_notificationbar.cpp
    void notificationBarForm();
    void notificationVisibility_data();
    void notificationVisibility();
    void notificationIconFollowsType_data();
    void notificationIconFollowsType();
    void listenersAreDroppedByNextShow();
    void closeButtonHidesBar();

    // tst_titlebar.cpp
    void titleBarConstruction();
    void menuBarGoesBetweenTitleRowAndNotificationBar();
    void paintedTitle_data();
    void paintedTitle();
    void longTitleIsElided();
    void maximizeButtonToggles();
    void doubleClick_data();
    void doubleClick();
    void dragMovesNormalWindow();
    void otherButtonsDoNotDrag_data();
    void otherButtonsDoNotDrag();
    void maximizedDragThreshold_data();
    void maximizedDragThreshold();
    void restoredWindowIsPlacedUnderCursor_data();
    void restoredWindowIsPlacedUnderCursor();
    void contextMenu_data();
    void contextMenu();

    // tst_shadowborder.cpp
    void stripsSurroundWindow_data();
    void stripsSurroundWindow();
    void cursorShowsHitZone_data();
    void cursorShowsHitZone();
    void resizeThroughZone_data();
    void resizeThroughZone();
    void otherButtonsDoNotResize_data();
    void otherButtonsDoNotResize();
    void noPixelIsFullyTransparent_data();
    void noPixelIsFullyTransparent();
    void inactiveLookIsLineAlongWindow_data();
    void inactiveLookIsLineAlongWindow();
    void activeLookUsesBorderImages_data();
    void activeLookUsesBorderImages();
    void activationIsHandedBackToMainWindow_data();
    void activationIsHandedBackToMainWindow();
    void eventFilterReportsActivationChanges_data();
    void eventFilterReportsActivationChanges();
    void strayInputIsHarmless();

private:
    // Both return false when the windows did not come up as asked.
    bool showTitleBarWindow(const QRect &geometry);
    bool showFramedWindow(const QRect &geometry, bool bActive = true);
    IShadowBorderFrame *strip(int position) const;

    // Title-bar tests: a plain QMainWindow with an IMainMenuWidget as its menu widget.
    std::unique_ptr<QMainWindow> m_titleBarWindow;
    QPointer<IMainMenuWidget> m_titleBar;

    // Shadow-strip tests: a frameless window with its four strips (children of the window).
    std::unique_ptr<QWidget> m_framedWindow;
    QList<IShadowBorderFrame *> m_strips; // in position order, owned by m_framedWindow
};
