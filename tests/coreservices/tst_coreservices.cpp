#include "icore.h"
#include "mainwindow.h"

#include "corefixture.h"
#include "settingsondisk.h"
#include "testmain.h"

class TestCoreServices : public QObject
{
    Q_OBJECT

private slots:
    void servicesOnlyWhileTheMainWindowExists()
    {
        CoreFixture fixture(false);
        QCOMPARE(ICore::getInstance(), nullptr);
        MainWindow *window = fixture.createMainWindow();
        QCOMPARE(ICore::getMainWindow(), window);
        QCOMPARE(ICore::settings(QSettings::SystemScope), fixture.globalSettings());
        QObject receiver;
        connect(ICore::getInstance(), &ICore::aboutToSaveSettings, &receiver,
                [&fixture] { fixture.globalSettings()->setValue("Test/Global", 2); });
        QVERIFY(QMetaObject::invokeMethod(ICore::getInstance(), "saveSettings"));
        QCOMPARE(valueOnDisk(fixture.filePath("global.ini"), "Test/Global").toInt(), 2);
        fixture.destroyMainWindow();
        QCOMPARE(ICore::getMainWindow(), nullptr);
        QCOMPARE(ICore::getInstance(), nullptr);
    }
};

VELDRA_TEST_MAIN(TestCoreServices)
#include "tst_coreservices.moc"
