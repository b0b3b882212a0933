#include "isingleton.h"
#include "iui.h"

#include "messageboxanswerer.h"
#include "testmain.h"

#include <QAtomicInt>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>

Q_DECLARE_METATYPE(QMessageBox::StandardButton)
Q_DECLARE_METATYPE(QMessageBox::StandardButtons)

namespace {

using BoxFunction = QMessageBox::StandardButton (*)(QWidget *, const QString &, const QString &,
                                                    QMessageBox::StandardButtons,
                                                    QMessageBox::StandardButton);

void writeImage(const QString &path, const QSize &size, const QColor &color = Qt::red)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    QVERIFY(image.save(path, "PNG"));
}

bool isBlank16(const QPixmap &pixmap)
{
    QImage blank(16, 16, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::transparent);
    return pixmap.toImage().convertToFormat(blank.format()) == blank;
}

struct SlowToBuild
{
    static QAtomicInt constructions;
    SlowToBuild()
    {
        constructions.fetchAndAddOrdered(1);
        QThread::msleep(100); // keeps the other thread waiting at the lock
    }
};
QAtomicInt SlowToBuild::constructions;

} // namespace

class TestUi : public QObject
{
    Q_OBJECT

private slots:
    void fileNamePattern_data();
    void fileNamePattern();
    void loadedPixmapIsCached();
    void missingFileIsRetried();
    void iconHasNormalAndDisabledLook_data();
    void iconHasNormalAndDisabledLook();
    void messageBox_data();
    void messageBox();
    void singletonCreatedOnceAcrossThreads();
};

void TestUi::fileNamePattern_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("fileName");

    const QStringList sizeSuffixes{"", "_12", "_16", "_24", "_32", "_48", "_64", ""};
    for (int size = 0; size < sizeSuffixes.size(); ++size)
        QTest::addRow("size %d", size) << "new" << 2 << size << "new" + sizeSuffixes[size] + ".png";
    QTest::newRow("size -1") << "close" << 2 << -1 << "close.png";
    for (int state = 1; state <= 5; ++state)
        QTest::addRow("state %d", state)
                << "open" << state << 2 << (state == 4 ? "open_16_d.png" : "open_16.png");
    QTest::newRow("no size, disabled") << "save" << 4 << 0 << "save_d.png";
}

void TestUi::fileNamePattern()
{
    QFETCH(QString, name);
    QFETCH(int, state);
    QFETCH(int, size);
    QFETCH(QString, fileName);

    QCOMPARE(IUi::imageFileName(name, state, size), fileName);
    // Only the expected file exists, so any other name would give the blank pixmap.
    QTemporaryDir dir;
    writeImage(dir.filePath(fileName), QSize(5, 3));
    QCOMPARE(IUi::getPixmap(name, state, size, dir.path()).size(), QSize(5, 3));
}

void TestUi::loadedPixmapIsCached()
{
    QTemporaryDir dir;
    writeImage(dir.filePath("open_16.png"), QSize(5, 3));
    const QPixmap first = IUi::getPixmap("open", IUi::Normal, IUi::Size16, dir.path());
    // The file changes, and the folder is written differently: the cached pixmap still answers.
    writeImage(dir.filePath("open_16.png"), QSize(9, 9));
    const QPixmap second = IUi::getPixmap("open", IUi::Normal, IUi::Size16, dir.path() + "/");
    QCOMPARE(second.cacheKey(), first.cacheKey());
    QCOMPARE(second.size(), QSize(5, 3));
}

void TestUi::missingFileIsRetried()
{
    QTemporaryDir dir;
    QVERIFY(isBlank16(IUi::getPixmap("later", IUi::Normal, IUi::NoSize, dir.path())));
    writeImage(dir.filePath("later.png"), QSize(5, 3));
    QCOMPARE(IUi::getPixmap("later", IUi::Normal, IUi::NoSize, dir.path()).size(), QSize(5, 3));
}

void TestUi::iconHasNormalAndDisabledLook_data()
{
    QTest::addColumn<bool>("hasDisabledTwin");
    QTest::newRow("with _d twin") << true;
    QTest::newRow("without _d twin") << false;
}

void TestUi::iconHasNormalAndDisabledLook()
{
    QFETCH(bool, hasDisabledTwin);
    QTemporaryDir dir;
    writeImage(dir.filePath("save_16.png"), QSize(16, 16), Qt::red);
    if (hasDisabledTwin)
        writeImage(dir.filePath("save_16_d.png"), QSize(16, 16), Qt::gray);

    const QIcon icon = IUi::getIcon("save", IUi::Size16, dir.path());
    QCOMPARE(icon.pixmap(16, QIcon::Normal).toImage().pixelColor(8, 8), QColor(Qt::red));
    const QPixmap disabled = icon.pixmap(16, QIcon::Disabled);
    if (hasDisabledTwin)
        QCOMPARE(disabled.toImage().pixelColor(8, 8), QColor(Qt::gray));
    else
        QVERIFY(isBlank16(disabled)); // not a greyed copy of the normal look
}

void TestUi::messageBox_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QMessageBox::StandardButtons>("buttons");
    QTest::addColumn<QMessageBox::StandardButton>("defaultButton");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QMessageBox::StandardButton>("result");
    QTest::addColumn<QSize>("iconSize");

    using B = QMessageBox;
    const QSize information(20, 20), question(24, 20), warning(28, 20);
    const QSize blank(16, 16); // the test's resources have no "critical_32.png"
    QTest::newRow("information") << "information" << B::StandardButtons(B::Ok) << B::Ok << B::Ok
                                 << B::Ok << information;
    QTest::newRow("question") << "question" << (B::Yes | B::No | B::Cancel) << B::No << B::Yes
                              << B::Yes << question;
    QTest::newRow("warning") << "warning" << (B::Save | B::Discard) << B::NoButton << B::Discard
                             << B::Discard << warning;
    QTest::newRow("critical") << "critical" << (B::Retry | B::Abort) << B::Abort << B::Retry
                              << B::Retry << blank;
    // The answerer ends the box with done(-1) for NoButton and presses Escape for a button the
    // box does not offer (Help).
    QTest::newRow("done(-1)") << "question" << (B::Yes | B::No) << B::Yes << B::NoButton
                              << B::Cancel << question;
    QTest::newRow("Escape, Ok") << "information" << B::StandardButtons(B::Ok) << B::NoButton
                                << B::Help << B::Ok << information;
    QTest::newRow("Escape, Yes/No")
            << "warning" << (B::Yes | B::No) << B::Yes << B::Help << B::No << warning;
    QTest::newRow("Escape, with Cancel")
            << "critical" << (B::Ok | B::Cancel) << B::Ok << B::Help << B::Cancel << blank;
}

void TestUi::messageBox()
{
    QFETCH(QString, kind);
    QFETCH(QMessageBox::StandardButtons, buttons);
    QFETCH(QMessageBox::StandardButton, defaultButton);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QMessageBox::StandardButton, result);
    QFETCH(QSize, iconSize);

    const QHash<QString, BoxFunction> functions{{"information", &IUi::information},
                                                {"question", &IUi::question},
                                                {"warning", &IUi::warning},
                                                {"critical", &IUi::critical}};
    QWidget parent;
    MessageBoxAnswerer answerer(answer);
    QCOMPARE(functions[kind](&parent, "Veldra", "Text of " + kind, buttons, defaultButton), result);

    QCOMPARE(answerer.count(), 1);
    const MessageBoxAnswerer::Box box = answerer.last();
    QCOMPARE(box.title, QString("Veldra"));
    QCOMPARE(box.text, "Text of " + kind);
    QCOMPARE(box.buttons, buttons);
    QCOMPARE(box.defaultButton, defaultButton);
    QCOMPARE(box.parent.data(), &parent);
    QCOMPARE(box.iconPixmap.size(), iconSize);
    QCOMPARE(isBlank16(box.iconPixmap), iconSize == QSize(16, 16));
}

void TestUi::singletonCreatedOnceAcrossThreads()
{
    QSemaphore start;
    SlowToBuild *instances[2] = {};
    std::unique_ptr<QThread> threads[2];
    for (int i = 0; i < 2; ++i) {
        threads[i].reset(QThread::create([&start, &instances, i] {
            start.acquire();
            instances[i] = ISingleton<SlowToBuild>::getInstance();
        }));
        threads[i]->start();
    }
    start.release(2);
    for (auto &thread : threads)
        QVERIFY(thread->wait(10000));

    QVERIFY(instances[0]);
    QCOMPARE(instances[1], instances[0]);
    QCOMPARE(ISingleton<SlowToBuild>::getInstance(), instances[0]);
    QCOMPARE(SlowToBuild::constructions.loadAcquire(), 1);
}

VELDRA_TEST_MAIN(TestUi)
#include "tst_ui.moc"
