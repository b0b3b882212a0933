#include "icore.h"
#include "mainwindow.h"

#include "corefixture.h"
#include "settingsondisk.h"
#include "testmain.h"

#include <memory>

class TestCoreServices : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<CoreFixture>(false); }
    void cleanup() { m_fixture.reset(); }

    void servicesOnlyWhileTheMainWindowExists();
    void saveSettingsLetsListenersWriteFirst();

private:
    std::unique_ptr<CoreFixture> m_fixture;
};

void TestCoreServices::servicesOnlyWhileTheMainWindowExists()
{
    QCOMPARE(ICore::getMainWindow(), nullptr);
    QCOMPARE(ICore::getInstance(), nullptr);
    MainWindow *window = m_fixture->createMainWindow();
    QCOMPARE(ICore::getMainWindow(), window);
    QVERIFY(ICore::getInstance());
    QCOMPARE(ICore::settings(QSettings::UserScope), m_fixture->userSettings());
    QCOMPARE(ICore::settings(QSettings::SystemScope), m_fixture->globalSettings());
    m_fixture->destroyMainWindow();
    QCOMPARE(ICore::getMainWindow(), nullptr);
    QCOMPARE(ICore::getInstance(), nullptr);
}

void TestCoreServices::saveSettingsLetsListenersWriteFirst()
{
    m_fixture->createMainWindow();
    int notified = 0;
    QObject receiver;
    connect(ICore::getInstance(), &ICore::aboutToSaveSettings, &receiver, [this, &notified] {
        ++notified;
        m_fixture->userSettings()->setValue("Test/User", 1);
        m_fixture->globalSettings()->setValue("Test/Global", 2);
    });

    QVERIFY(QMetaObject::invokeMethod(ICore::getInstance(), "saveSettings"));
    QCOMPARE(notified, 1);
    QCOMPARE(valueOnDisk(m_fixture->filePath("user.ini"), "Test/User").toInt(), 1);
    QCOMPARE(valueOnDisk(m_fixture->filePath("global.ini"), "Test/Global").toInt(), 2);
}

VELDRA_TEST_MAIN(TestCoreServices)
#include "tst_coreservices.moc"
