#include "iui.h"

#include "testmain.h"

#include <QTemporaryDir>

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

} // namespace

class TestUi : public QObject
{
    Q_OBJECT

private slots:
    void pixmapsAndIcons()
    {
        const QStringList suffixes = {"", "", "_12", "_16", "_24", "_32", "_48", "_64", ""};
        for (int size = -1; size <= 7; ++size)
            QCOMPARE(IUi::imageFileName("new", IUi::Disabled, size),
                     "new" + suffixes.at(size + 1) + "_d.png");
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
};

VELDRA_TEST_MAIN(TestUi)
#include "tst_ui.moc"
