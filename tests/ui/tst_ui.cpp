#include "isingleton.h"
#include "iui.h"

#include "messageboxanswerer.h"
#include "testmain.h"

#include <QAtomicInt>
#include <QTemporaryDir>
#include <QThread>

#include <thread>

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

using B = QMessageBox;
using BoxFunction = B::StandardButton (*)(QWidget *, const QString &, const QString &,
                                          B::StandardButtons, B::StandardButton);
struct BoxCase
{
    BoxFunction function;
    B::StandardButtons buttons;
    B::StandardButton defaultButton;
    B::StandardButton answer;
    B::StandardButton result;
    QSize iconSize; // the test's resources have no "critical_32.png": blank 16 x 16 instead
};

} // namespace

Q_DECLARE_METATYPE(BoxCase)

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
                    << "new" << 3 << size << "new" + sizeSuffixes.value(size) + ".png";
        QTest::newRow("disabled") << "save" << 4 << 0 << "save_d.png";
    }

    void fileNamePattern()
    {
        QFETCH(QString, name);
        QFETCH(int, state);
        QFETCH(int, size);
        QFETCH(QString, fileName);

        QCOMPARE(IUi::imageFileName(name, state, size), fileName);
    }

    void pixmapsAndIcons()
    {
        QTemporaryDir dir;
        QVERIFY(isBlank16(IUi::getPixmap("open", IUi::Normal, IUi::Size16, dir.path())));
        writeImage(dir.filePath("open_16.png"), QSize(16, 16));
        const QPixmap first = IUi::getPixmap("open", IUi::Normal, IUi::Size16, dir.path());
        QCOMPARE(first.size(), QSize(16, 16)); // a missing file is tried again
        // The file changes, and the folder is written differently: the cached pixmap still answers.
        writeImage(dir.filePath("open_16.png"), QSize(9, 9));
        const QPixmap second = IUi::getPixmap("open", IUi::Normal, IUi::Size16, dir.path() + "/");
        QCOMPARE(second.cacheKey(), first.cacheKey());

        writeImage(dir.filePath("save_16.png"), QSize(16, 16), Qt::red);
        writeImage(dir.filePath("save_16_d.png"), QSize(16, 16), Qt::gray);
        const QIcon save = IUi::getIcon("save", IUi::Size16, dir.path());
        QCOMPARE(save.pixmap(16, QIcon::Normal).toImage().pixelColor(8, 8), QColor(Qt::red));
        QCOMPARE(save.pixmap(16, QIcon::Disabled).toImage().pixelColor(8, 8), QColor(Qt::gray));
        // Without a "_d" twin the disabled look is blank, not a greyed copy of the normal look.
        QVERIFY(isBlank16(
                IUi::getIcon("open", IUi::Size16, dir.path()).pixmap(16, QIcon::Disabled)));
    }

    void messageBox_data()
    {
        QTest::addColumn<BoxCase>("box");
        // clang-format off
        QTest::newRow("information") << BoxCase{&IUi::information, B::Ok, B::Ok, B::Ok, B::Ok, {20, 20}};
        QTest::newRow("question") << BoxCase{&IUi::question, B::Yes | B::No | B::Cancel, B::No, B::Yes, B::Yes, {24, 20}};
        QTest::newRow("warning") << BoxCase{&IUi::warning, B::Save | B::Discard, B::NoButton, B::Discard, B::Discard, {28, 20}};
        QTest::newRow("critical") << BoxCase{&IUi::critical, B::Retry | B::Abort, B::Abort, B::Retry, B::Retry, {16, 16}};
        // The answerer ends the box with done(-1) for NoButton.
        QTest::newRow("done(-1)") << BoxCase{&IUi::question, B::Yes | B::No, B::Yes, B::NoButton, B::Cancel, {24, 20}};
        // clang-format on
    }

    void messageBox()
    {
        QFETCH(BoxCase, box);

        QWidget parent;
        MessageBoxAnswerer answerer(box.answer);
        QCOMPARE(box.function(&parent, "Veldra", "Text", box.buttons, box.defaultButton),
                 box.result);
        QCOMPARE(answerer.count(), 1);
        const MessageBoxAnswerer::Box shown = answerer.last();
        QCOMPARE(shown.title, QStringLiteral("Veldra"));
        QCOMPARE(shown.text, QStringLiteral("Text"));
        QCOMPARE(shown.buttons, box.buttons);
        QCOMPARE(shown.defaultButton, box.defaultButton);
        QCOMPARE(shown.parent.data(), &parent);
        QCOMPARE(shown.iconPixmap.size(), box.iconSize);
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
