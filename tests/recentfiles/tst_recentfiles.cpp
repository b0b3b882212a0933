#include "irecentfilesmanager.h"

#include "corefixture.h"
#include "testmain.h"

#include <memory>

namespace {

const QString key = QStringLiteral("Veldra/RecentProjects");

QStringList list(const char *spaceSeparated)
{
    return QString::fromLatin1(spaceSeparated).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList paths(int count)
{
    QStringList result;
    for (int i = 0; i < count; ++i)
        result << QStringLiteral("/p%1").arg(i);
    return result;
}

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT

    void store(const QVariant &value) { m_fixture->userSettings()->setValue(key, value); }
    QStringList stored() const { return m_fixture->userSettings()->value(key).toStringList(); }

    std::unique_ptr<CoreFixture> m_fixture;

private slots:
    void init() { m_fixture = std::make_unique<CoreFixture>(false); }
    void cleanup() { m_fixture.reset(); }

    void addAndRemove_data()
    {
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<QString>("change"); // "+path" adds the path, "-path" removes it
        QTest::addColumn<QStringList>("after");
        const auto row = [](const char *name, const QVariant &before, const char *change,
                            const QStringList &after) {
            QTest::newRow(name) << before << QString(change) << after;
        };

        row("add to empty", QVariant(), "+a", list("a"));
        row("add known moves first", list("a b c"), "+c", list("c a b"));
        row("add removes every copy", list("a b a"), "+a", list("a b"));
        row("add eleventh drops oldest", paths(10), "+a", list("a") + paths(9));
        row("add trims over-long list", paths(14), "+a", list("a") + paths(9));
        row("add, case differs", list("/A"), "+/a", list("/a /A"));
        row("add, separators differ", list("C:\\a"), "+C:/a", list("C:/a C:\\a"));
        row("add empty path", list("a b"), "+", list("a b"));
        row("remove first copy only", list("b a c a"), "-a", list("b c a"));
        row("remove, case differs", list("/A"), "-/a", list("/A"));
        // Stored by something else: what is readable as a path is kept. An INI file keeps a
        // one-entry list as a plain string.
        row("single string", "a", "+b", list("b a"));
        row("mixed list", QVariantList{42, "a", QByteArray("x"), "b"}, "+c", list("c a b"));
        row("number", 7, "+a", list("a"));
    }

    void addAndRemove()
    {
        QFETCH(QVariant, before);
        QFETCH(QString, change);
        QFETCH(QStringList, after);
        store(before);
        const QString path = change.mid(1);
        if (path.isEmpty())
            QTest::ignoreMessage(QtWarningMsg,
                                 "IRecentFilesManager::addRecentFile: empty path ignored");
        IRecentFilesManager *recentFiles = IRecentFilesManager::getInstance();
        if (change.startsWith('+'))
            recentFiles->addRecentFile(path);
        else
            recentFiles->removeRecentFile(path);
        QCOMPARE(stored(), after);
        QCOMPARE(recentFiles->getRecentFiles(), after);
        QCOMPARE(recentFiles->getRecentFilesCount(), after.size());
    }
};

VELDRA_TEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
