#include "irecentfilesmanager.h"

#include "corefixture.h"
#include "testmain.h"

#include <extensionsystem/pluginmanager.h>

#include <memory>

namespace {

const QString key = QStringLiteral("Veldra/RecentProjects");

IRecentFilesManager *recentFiles()
{
    return IRecentFilesManager::getInstance();
}

QStringList paths(int first, int count)
{
    QStringList result;
    for (int i = first; i < first + count; ++i)
        result << QStringLiteral("/projects/p%1.vd").arg(i);
    return result;
}

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<CoreFixture>(false); }
    void cleanup() { m_fixture.reset(); }

    // Must stay first: the manager is one instance for the whole run.
    void countIsZeroBeforeAnyRead();
    void addAndRemove_data();
    void addAndRemove();
    void overLongStoredListIsHandedOutAsTen();
    void listSurvivesTheIniFile_data();
    void listSurvivesTheIniFile();
    void wrongTypedStoredValue_data();
    void wrongTypedStoredValue();
    void withoutStoreNothingHappens();

private:
    void store(const QVariant &value) { m_fixture->userSettings()->setValue(key, value); }
    QStringList stored() const { return m_fixture->userSettings()->value(key).toStringList(); }

    std::unique_ptr<CoreFixture> m_fixture;
};

void TestRecentFiles::countIsZeroBeforeAnyRead()
{
    store(paths(0, 3));
    recentFiles()->addRecentFile("/projects/new.vd");
    recentFiles()->removeRecentFile("/projects/p0.vd");
    QCOMPARE(recentFiles()->getRecentFilesCount(), 0);
    recentFiles()->getRecentFiles();
    QCOMPARE(recentFiles()->getRecentFilesCount(), 3);
}

void TestRecentFiles::addAndRemove_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("add"); // else remove
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("after");

    const QStringList a{"/a.vd"};
    QTest::newRow("add to empty") << QStringList() << true << "/a.vd" << a;
    QTest::newRow("add new first") << paths(0, 2) << true << "/a.vd" << a + paths(0, 2);
    QTest::newRow("add known moves first")
            << paths(0, 3) << true << paths(2, 1)[0] << paths(2, 1) + paths(0, 2);
    QTest::newRow("add removes every copy") << QStringList{"/a.vd", "/b.vd", "/a.vd"} << true
                                            << "/a.vd" << a + QStringList("/b.vd");
    QTest::newRow("add eleventh drops oldest")
            << paths(0, 10) << true << "/a.vd" << a + paths(0, 9);
    QTest::newRow("add trims over-long list") << paths(0, 14) << true << "/a.vd" << a + paths(0, 9);
    QTest::newRow("add, case differs")
            << QStringList{"/p/A.vd"} << true << "/p/a.vd" << QStringList{"/p/a.vd", "/p/A.vd"};
    QTest::newRow("add, separators differ") << QStringList{"C:\\p\\a.vd"} << true << "C:/p/a.vd"
                                            << QStringList{"C:/p/a.vd", "C:\\p\\a.vd"};
    QTest::newRow("add empty path") << paths(0, 2) << true << "" << paths(0, 2);
    QTest::newRow("remove first occurrence only")
            << QStringList{"/b.vd", "/a.vd", "/c.vd", "/a.vd"} << false << "/a.vd"
            << QStringList{"/b.vd", "/c.vd", "/a.vd"};
    QTest::newRow("remove absent path") << paths(0, 2) << false << "/a.vd" << paths(0, 2);
    QTest::newRow("remove, case differs")
            << QStringList{"/p/A.vd"} << false << "/p/a.vd" << QStringList{"/p/A.vd"};
    QTest::newRow("remove last entry") << a << false << "/a.vd" << QStringList();
}

void TestRecentFiles::addAndRemove()
{
    QFETCH(QStringList, before);
    QFETCH(bool, add);
    QFETCH(QString, path);
    QFETCH(QStringList, after);

    store(before);
    if (path.isEmpty())
        QTest::ignoreMessage(QtWarningMsg,
                             "IRecentFilesManager::addRecentFile: empty path ignored");
    add ? recentFiles()->addRecentFile(path) : recentFiles()->removeRecentFile(path);
    QCOMPARE(stored(), after);
    QCOMPARE(recentFiles()->getRecentFiles(), after);
    QCOMPARE(recentFiles()->getRecentFilesCount(), after.size());
}

void TestRecentFiles::overLongStoredListIsHandedOutAsTen()
{
    store(paths(0, 13));
    QCOMPARE(recentFiles()->getRecentFiles(), paths(0, 10));
    QCOMPARE(recentFiles()->getRecentFilesCount(), recentFiles()->getMaxRecentFiles());
    QCOMPARE(stored().size(), 13); // reading changes nothing
}

void TestRecentFiles::listSurvivesTheIniFile_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one entry") << 1; // an INI file keeps a one-entry list as a plain string
    QTest::newRow("three entries") << 3;
}

void TestRecentFiles::listSurvivesTheIniFile()
{
    QFETCH(int, count);
    const QStringList added = paths(0, count);
    for (const QString &path : added)
        recentFiles()->addRecentFile(path);
    m_fixture->userSettings()->sync();

    ExtensionSystem::PluginManager::setSettings(
            new QSettings(m_fixture->filePath("user.ini"), QSettings::IniFormat));
    QCOMPARE(recentFiles()->getRecentFiles(), QStringList(added.crbegin(), added.crend()));
}

void TestRecentFiles::wrongTypedStoredValue_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QStringList>("readable");

    QTest::newRow("single string") << QVariant("/a.vd") << QStringList{"/a.vd"};
    QTest::newRow("mixed list") << QVariant(QVariantList{42, "/a.vd", QByteArray("x"), "/b.vd"})
                                << QStringList{"/a.vd", "/b.vd"};
    QTest::newRow("number") << QVariant(7) << QStringList();
}

void TestRecentFiles::wrongTypedStoredValue()
{
    QFETCH(QVariant, value);
    QFETCH(QStringList, readable);

    store(value);
    QCOMPARE(recentFiles()->getRecentFiles(), readable);
    recentFiles()->addRecentFile("/new.vd");
    QCOMPARE(stored(), QStringList("/new.vd") + readable);
}

void TestRecentFiles::withoutStoreNothingHappens()
{
    store(paths(0, 3));
    recentFiles()->getRecentFiles();
    ExtensionSystem::PluginManager::setSettings(nullptr);

    recentFiles()->addRecentFile("/a.vd");
    recentFiles()->removeRecentFile("/a.vd");
    QCOMPARE(recentFiles()->getRecentFiles(), QStringList());
    QCOMPARE(recentFiles()->getRecentFilesCount(), 0);
}

VELDRA_TEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
