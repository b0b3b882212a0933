#include "tst_chrome.h"

#include "vdnotificationbar.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

struct NotificationHost
{
    NotificationHost()
    {
        bar = new VDNotificationBar(&host);
        host.resize(500, 60);
        host.show();
    }
    QLabel *iconLabel() const { return bar->findChild<QLabel *>(QStringLiteral("m_pIconLabel")); }
    QLabel *messageLabel() const
    {
        return bar->findChild<QLabel *>(QStringLiteral("m_pMessageLabel"));
    }
    QPushButton *button() const
    {
        return bar->findChild<QPushButton *>(QStringLiteral("m_pButton"));
    }
    QToolButton *closeButton() const
    {
        return bar->findChild<QToolButton *>(QStringLiteral("m_pCloseButton"));
    }

    QWidget host;
    VDNotificationBar *bar = nullptr;
};

} // namespace

// Style sheets address the bar's parts by these names.
void TestChrome::notificationBarForm()
{
    NotificationHost h;
    QVERIFY(h.bar->isHidden());
    QCOMPARE(h.bar->objectName(), QStringLiteral("VDNotificationBar"));
    QVERIFY(h.iconLabel() && h.messageLabel() && h.button() && h.closeButton());

    auto container = h.bar->findChild<QWidget *>(QStringLiteral("containerWidget"));
    QVERIFY(container);
    QCOMPARE(h.bar->layout()->objectName(), QStringLiteral("horizontalLayout"));
    QLayout *inner = container->layout();
    QCOMPARE(inner->objectName(), QStringLiteral("horizontalLayout_2"));
    const QList<QWidget *> order{h.iconLabel(), h.messageLabel(), nullptr,
                                 h.button(),    nullptr,          h.closeButton()};
    QCOMPARE(inner->count(), order.size());
    for (int index = 0; index < order.size(); ++index)
        QCOMPARE(inner->itemAt(index)->widget(), order.at(index));
}

void TestChrome::notificationVisibility_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("buttonText");
    QTest::addColumn<bool>("showClose");

    QTest::newRow("everything") << "Saved."
                                << "Undo" << true;
    QTest::newRow("no button text") << "Saved."
                                    << "" << true;
    QTest::newRow("no message") << ""
                                << "Retry" << true;
    QTest::newRow("no close button") << "Saved."
                                     << "Undo" << false;
    QTest::newRow("icon only") << ""
                               << "" << false;
}

void TestChrome::notificationVisibility()
{
    QFETCH(QString, message);
    QFETCH(QString, buttonText);
    QFETCH(bool, showClose);

    NotificationHost h;
    // A previous message with every part shown must not leave parts behind.
    h.bar->show(QStringLiteral("Earlier"), VDNotificationBar::Warning, QStringLiteral("Go"), true);
    h.bar->show(message, VDNotificationBar::Info, buttonText, showClose);

    QVERIFY(h.bar->isVisible());
    QVERIFY(h.iconLabel()->isVisible());
    QCOMPARE(h.messageLabel()->isVisible(), !message.isEmpty());
    QCOMPARE(h.messageLabel()->text(), message);
    QCOMPARE(h.button()->isVisible(), !buttonText.isEmpty());
    QCOMPARE(h.button()->text(), buttonText);
    QCOMPARE(h.closeButton()->isVisible(), showClose);
}

void TestChrome::notificationIconFollowsType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("iconFile");

    const QString info = QStringLiteral(":/core/images/info_16.png");
    const QString warning = QStringLiteral(":/core/images/warning_16.png");
    QTest::newRow("Info") << 0 << info;
    QTest::newRow("Warning") << 1 << warning;
    QTest::newRow("2") << 2 << info;
    QTest::newRow("-1") << -1 << info;
}

void TestChrome::notificationIconFollowsType()
{
    QFETCH(int, type);
    QFETCH(QString, iconFile);

    const QImage expected(iconFile);
    QVERIFY(!expected.isNull());
    // The two icons must differ, or this test could not tell them apart.
    QVERIFY(QImage(QStringLiteral(":/core/images/info_16.png")) !=
            QImage(QStringLiteral(":/core/images/warning_16.png")));

    NotificationHost h;
    const auto otherType = type == 1 ? VDNotificationBar::Info : VDNotificationBar::Warning;
    h.bar->show(QStringLiteral("first"), otherType, QString(), true);
    h.bar->show(QStringLiteral("second"), static_cast<VDNotificationBar::Type>(type), QString(),
                true);

    const QPixmap shown = h.iconLabel()->pixmap(Qt::ReturnByValue);
    QCOMPARE(shown.toImage().convertToFormat(expected.format()), expected);
}

void TestChrome::listenersAreDroppedByNextShow()
{
    NotificationHost h;
    h.bar->show(QStringLiteral("Update available"), VDNotificationBar::Info,
                QStringLiteral("Install"), true);
    int firstListenerCalls = 0;
    connect(h.bar, &VDNotificationBar::buttonClicked, [&] { ++firstListenerCalls; });
    QTest::mouseClick(h.button(), Qt::LeftButton);
    QCOMPARE(firstListenerCalls, 1);

    h.bar->show(QStringLiteral("Download failed"), VDNotificationBar::Warning,
                QStringLiteral("Retry"), true);
    QSignalSpy secondListener(h.bar, &VDNotificationBar::buttonClicked);
    QTest::mouseClick(h.button(), Qt::LeftButton);
    QCOMPARE(firstListenerCalls, 1);
    QCOMPARE(secondListener.count(), 1);
}

void TestChrome::closeButtonHidesBar()
{
    NotificationHost h;
    h.bar->show(QStringLiteral("Saved."), VDNotificationBar::Info, QString(), true);
    QVERIFY(h.bar->isVisible());
    QTest::mouseClick(h.closeButton(), Qt::LeftButton);
    QVERIFY(!h.bar->isVisible());
    QVERIFY(h.host.isVisible());
}
