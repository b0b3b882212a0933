#include "iui.h"
#include "testmain.h"

#include <QColor>
#include <QImage>
#include <QImageReader>

namespace {

// A name with a folder ("designer/warning_32") is one of the application's own resources.
QImage coreImage(const QString &name)
{
    const QString path = name.contains('/') ? ":/" + name.section('/', 0, 0) + "/images/" +
                                                      name.section('/', 1) + ".png"
                                            : ":/core/images/" + name + ".png";
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class tst_Images : public QObject
{
    Q_OBJECT

private slots:
    void coreImageHasItsSize_data()
    {
        QTest::addColumn<QString>("names");
        QTest::addColumn<QSize>("size");
        QTest::newRow("16 x 16") << "new_16 new_16_d open_16 open_16_d save_16 save_16_d "
                                    "preferences_16 preferences_16_d language_16 info_16 "
                                    "warning_16 close minimize maximize restore border_top_left "
                                    "border_top_right border_bottom_left border_bottom_right"
                                 << QSize(16, 16);
        QTest::newRow("icon") << "icon" << QSize(17, 16);
        QTest::newRow("update") << "update" << QSize(96, 96);
        QTest::newRow("message boxes") << "designer/information_32 designer/question_32 "
                                          "designer/warning_32 designer/critical_32"
                                       << QSize(32, 32);
        QTest::newRow("top and bottom edges") << "border_top border_bottom" << QSize(1, 8);
        QTest::newRow("left and right edges") << "border_left border_right" << QSize(8, 1);
    }

    // Every picture is drawn over whatever lies behind it, never as an opaque block; the
    // disabled twins cover the same pixels, grey.
    void coreImageHasItsSize()
    {
        QFETCH(QString, names);
        QFETCH(QSize, size);

        for (const QString &name : names.split(' ')) {
            const QImage image = coreImage(name);
            const QImage normal = coreImage(name.chopped(name.endsWith("_d") ? 2 : 0));
            QVERIFY2(image.size() == size, qPrintable(name));
            bool translucent = false;
            for (int pixel = 0; pixel < size.width() * size.height(); ++pixel) {
                const QPoint at(pixel % size.width(), pixel / size.width());
                const QColor colour = image.pixelColor(at);
                translucent |= colour.alpha() < 255;
                QVERIFY(!name.startsWith("border_") || colour.value() == 0); // black shadow
                QVERIFY(!name.endsWith("_d") || colour.alpha() == 0 ||
                        (colour.hsvSaturationF() < 0.1 && normal.pixelColor(at).alpha() > 0));
            }
            QVERIFY2(translucent, qPrintable(name));
            // The command's icon shows its disabled twin.
            if (name.endsWith("_16_d"))
                QCOMPARE(IUi::getIcon(name.chopped(5), IUi::Size16)
                                 .pixmap(16, QIcon::Disabled)
                                 .toImage(),
                         image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        }
    }

    void windowIconHoldsEverySize()
    {
        for (const char *fileName : {"app_icon.ico", "project_icon.ico"}) {
            QImageReader reader(QStringLiteral(VELDRA_APP_IMAGES_DIR "/") + fileName, "ico");
            QList<int> sizes;
            for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
                const QImage image = reader.read();
                QVERIFY(image.width() == image.height() && image.hasAlphaChannel());
                sizes.append(image.width());
            }
            QVERIFY2(sizes == QList<int>({16, 24, 32, 48, 64, 256}), fileName);
        }
    }
};

VELDRA_TEST_MAIN(tst_Images)

#include "tst_images.moc"
