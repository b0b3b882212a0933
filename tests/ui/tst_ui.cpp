#include "isingleton.h"
#include "iui.h"

#include "messageboxanswerer.h"
#include "testmain.h"

#include <QAtomicInt>
#include <QTemporaryDir>
#include <QThread>

#include <thread>

Q_DECLARE_METATYPE(QMessageBox::StandardButton)
Q_DECLARE_METATYPE(QMessageBox::StandardButtons)

namespace {

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
    void fileNamePattern_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("fileName");

        const QStringList sizeSuffixes{"", "_12", "_16", "_24", "_32", "_48", "_64", ""};
        for (int size = -1; size < sizeSuffixes.size(); ++size)
            QTest::addRow("size %d", size)
                    << "new" << 2 << size << "new" + sizeSuffixes.value(size) + ".png";
        for (int state = 1; state <= 5; ++state)
            QTest::addRow("state %d", state)
                    << "open" << state << 2 << (state == 4 ? "open_16_d.png" : "open_16.png");
        QTest::newRow("no size, disabled") << "save" << 4 << 0 << "save_d.png";
    }

    void fileNamePattern()
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

    void pixmapIsCachedOnceLoaded()
    {
        QTemporaryDir dir;
        QVERIFY(isBlank16(IUi::getPixmap("open", IUi::Normal, IUi::Size16, dir.path())));
        writeImage(dir.filePath("open_16.png"), QSize(5, 3));
        const QPixmap first = IUi::getPixmap("open", IUi::Normal, IUi::Size16, dir.path());
        QCOMPARE(first.size(), QSize(5, 3)); // a missing file is tried again
        // The file changes, and the folder is written differently: the cached pixmap still answers.
        writeImage(dir.filePath("open_16.png"), QSize(9, 9));
        const QPixmap second = IUi::getPixmap("open", IUi::Normal, IUi::Size16, dir.path() + "/");
        QCOMPARE(second.cacheKey(), first.cacheKey());
    }

    void iconHasNormalAndDisabledLook()
    {
        QTemporaryDir dir;
        writeImage(dir.filePath("save_16.png"), QSize(16, 16), Qt::red);
        writeImage(dir.filePath("save_16_d.png"), QSize(16, 16), Qt::gray);
        writeImage(dir.filePath("open_16.png"), QSize(16, 16), Qt::red);

        const QIcon save = IUi::getIcon("save", IUi::Size16, dir.path());
        QCOMPARE(save.pixmap(16, QIcon::Normal).toImage().pixelColor(8, 8), QColor(Qt::red));
        QCOMPARE(save.pixmap(16, QIcon::Disabled).toImage().pixelColor(8, 8), QColor(Qt::gray));
        // Without a "_d" twin the disabled look is blank, not a greyed copy of the normal look.
        QVERIFY(isBlank16(
                IUi::getIcon("open", IUi::Size16, dir.path()).pixmap(16, QIcon::Disabled)));
    }

    void messageBox_data()
    {
        using B = QMessageBox;
        QTest::addColumn<QString>("kind");
        QTest::addColumn<B::StandardButtons>("buttons");
        QTest::addColumn<B::StandardButton>("defaultButton");
        QTest::addColumn<B::StandardButton>("answer");
        QTest::addColumn<B::StandardButton>("result");
        const auto row = [](const char *name, const char *kind, B::StandardButtons buttons,
                            B::StandardButton defaultButton, B::StandardButton answer,
                            B::StandardButton result) {
            QTest::newRow(name) << QString(kind) << buttons << defaultButton << answer << result;
        };

        row("information", "information", B::Ok, B::Ok, B::Ok, B::Ok);
        row("question", "question", B::Yes | B::No | B::Cancel, B::No, B::Yes, B::Yes);
        row("warning", "warning", B::Save | B::Discard, B::NoButton, B::Discard, B::Discard);
        row("critical", "critical", B::Retry | B::Abort, B::Abort, B::Retry, B::Retry);
        // The answerer ends the box with done(-1) for NoButton and presses Escape for Help.
        row("done(-1)", "question", B::Yes | B::No, B::Yes, B::NoButton, B::Cancel);
        row("Escape", "warning", B::Yes | B::No, B::Yes, B::Help, B::No);
    }

    void messageBox()
    {
        using B = QMessageBox;
        QFETCH(QString, kind);
        QFETCH(B::StandardButtons, buttons);
        QFETCH(B::StandardButton, defaultButton);
        QFETCH(B::StandardButton, answer);
        QFETCH(B::StandardButton, result);

        using BoxFunction = B::StandardButton (*)(QWidget *, const QString &, const QString &,
                                                  B::StandardButtons, B::StandardButton);
        const QHash<QString, BoxFunction> functions{{"information", &IUi::information},
                                                    {"question", &IUi::question},
                                                    {"warning", &IUi::warning},
                                                    {"critical", &IUi::critical}};
        // The test's resources have no "critical_32.png": that box shows the blank pixmap.
        const QHash<QString, QSize> iconSizes{
                {"information", {20, 20}}, {"question", {24, 20}}, {"warning", {28, 20}}};
        QWidget parent;
        MessageBoxAnswerer answerer(answer);
        QCOMPARE(functions[kind](&parent, "Veldra", "Text of " + kind, buttons, defaultButton),
                 result);

        QCOMPARE(answerer.count(), 1);
        const MessageBoxAnswerer::Box box = answerer.last();
        QCOMPARE(box.title, QString("Veldra"));
        QCOMPARE(box.text, "Text of " + kind);
        QCOMPARE(box.buttons, buttons);
        QCOMPARE(box.defaultButton, defaultButton);
        QCOMPARE(box.parent.data(), &parent);
        QCOMPARE(box.iconPixmap.size(), iconSizes.value(kind, {16, 16}));
    }

    void singletonCreatedOnceAcrossThreads()
    {
        SlowToBuild *instances[2] = {};
        std::thread first([&] { instances[0] = ISingleton<SlowToBuild>::getInstance(); });
        std::thread second([&] { instances[1] = ISingleton<SlowToBuild>::getInstance(); });
        first.join();
        second.join();

        QCOMPARE(instances[1], instances[0]);
        QCOMPARE(ISingleton<SlowToBuild>::getInstance(), instances[0]);
        QCOMPARE(SlowToBuild::constructions.loadAcquire(), 1);
    }
};

VELDRA_TEST_MAIN(TestUi)
#include "tst_ui.moc"
