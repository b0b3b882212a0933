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

qint64 totalAlpha(const QImage &image)
{
    qint64 total = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            total += qAlpha(image.pixel(x, y));
    }
    return total;
}

} // namespace

class tst_Images : public QObject
{
    Q_OBJECT

private slots:
    void coreImageHasItsSize_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        for (const char *name :
             {"new_16", "new_16_d", "open_16", "open_16_d", "save_16", "save_16_d",
              "preferences_16", "preferences_16_d", "language_16", "info_16", "warning_16", "close",
              "minimize", "maximize", "restore", "border_top_left", "border_top_right",
              "border_bottom_left", "border_bottom_right"})
            QTest::newRow(name) << name << QSize(16, 16);
        QTest::newRow("icon") << "icon" << QSize(17, 16);
        QTest::newRow("update") << "update" << QSize(96, 96);
        for (const char *name : {"designer/information_32", "designer/question_32",
                                 "designer/warning_32", "designer/critical_32"})
            QTest::newRow(name) << name << QSize(32, 32); // every message box's picture
        for (const char *name : {"border_top", "border_bottom"})
            QTest::newRow(name) << name << QSize(1, 8);
        for (const char *name : {"border_left", "border_right"})
            QTest::newRow(name) << name << QSize(8, 1);
    }

    void coreImageHasItsSize()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);

        const QImage image = coreImage(name);
        QCOMPARE(image.size(), size);
        // Every picture is drawn over whatever lies behind it, never as an opaque block.
        QVERIFY(totalAlpha(image) < 255 * size.width() * size.height());
        for (int y = 0; name.startsWith("border_") && y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x)
                QCOMPARE(qGray(image.pixel(x, y)), 0); // the shadow is black
        }
    }

    void disabledTwinIsGreyedCopy_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *name : {"new", "open", "save", "preferences"})
            QTest::newRow(name) << name;
    }

    // Made from the same drawing: the same pixels are covered, but clearly fainter and grey.
    void disabledTwinIsGreyedCopy()
    {
        QFETCH(QString, command);

        const QImage normal = coreImage(command + "_16");
        const QImage disabled = coreImage(command + "_16_d");
        QCOMPARE(disabled.size(), normal.size());
        QVERIFY(totalAlpha(disabled) < totalAlpha(normal) * 8 / 10);
        int covered = 0;
        qreal saturation = 0;
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                const QRgb pixel = disabled.pixel(x, y);
                QCOMPARE(qAlpha(pixel) > 0, qAlpha(normal.pixel(x, y)) > 0);
                covered += qAlpha(pixel) > 0;
                saturation += qAlpha(pixel) > 0 ? QColor::fromRgba(pixel).hsvSaturationF() : 0;
            }
        }
        QVERIFY(saturation / covered < 0.05);

        // The command's icon shows exactly these two pictures.
        const QIcon icon = IUi::getIcon(command, IUi::Size16);
        const auto shown = [&icon](QIcon::Mode mode) { return icon.pixmap(16, mode).toImage(); };
        const auto stored = QImage::Format_ARGB32_Premultiplied;
        QCOMPARE(shown(QIcon::Normal), normal.convertToFormat(stored));
        QCOMPARE(shown(QIcon::Disabled), disabled.convertToFormat(stored));
    }

    void shadowCornerMeetsEdge_data()
    {
        // The corner's line that touches the tiled edge and the edge image are walked side by
        // side, 8 pixels from the outer side of the shadow towards the window.
        QTest::addColumn<QString>("corner");
        QTest::addColumn<QPoint>("cornerStart");
        QTest::addColumn<QString>("edge");
        QTest::addColumn<QPoint>("edgeStart");
        QTest::addColumn<QPoint>("step");
        const QPoint down(0, 1), up(0, -1), right(1, 0), left(-1, 0);
        // clang-format off
        QTest::newRow("top left, top") << "top_left" << QPoint(15, 0) << "top" << QPoint() << down;
        QTest::newRow("top left, left") << "top_left" << QPoint(0, 15) << "left" << QPoint() << right;
        QTest::newRow("top right, top") << "top_right" << QPoint(0, 0) << "top" << QPoint() << down;
        QTest::newRow("top right, right") << "top_right" << QPoint(15, 15) << "right" << QPoint(7, 0) << left;
        QTest::newRow("bottom left, bottom") << "bottom_left" << QPoint(15, 15) << "bottom" << QPoint(0, 7) << up;
        QTest::newRow("bottom left, left") << "bottom_left" << QPoint(0, 0) << "left" << QPoint() << right;
        QTest::newRow("bottom right, bottom") << "bottom_right" << QPoint(0, 15) << "bottom" << QPoint(0, 7) << up;
        QTest::newRow("bottom right, right") << "bottom_right" << QPoint(15, 0) << "right" << QPoint(7, 0) << left;
        // clang-format on
    }

    // The shadow falls off outwards and runs on from the corner into the edge without a seam.
    void shadowCornerMeetsEdge()
    {
        QFETCH(QString, corner);
        QFETCH(QPoint, cornerStart);
        QFETCH(QString, edge);
        QFETCH(QPoint, edgeStart);
        QFETCH(QPoint, step);

        const QImage cornerPiece = coreImage("border_" + corner);
        const QImage edgePiece = coreImage("border_" + edge);
        const auto edgeAlpha = [&](int i) { return qAlpha(edgePiece.pixel(edgeStart + i * step)); };
        for (int i = 0; i < 8; ++i) {
            const int cornerAlpha = qAlpha(cornerPiece.pixel(cornerStart + i * step));
            QVERIFY2(qAbs(cornerAlpha - edgeAlpha(i)) <= 2, qPrintable(QString("at %1").arg(i)));
        }
        QVERIFY(edgeAlpha(7) > 4 * edgeAlpha(0));
    }

    void windowIconHoldsEverySize()
    {
        for (const char *fileName : {"app_icon.ico", "project_icon.ico"}) {
            QImageReader reader(QStringLiteral(VELDRA_APP_IMAGES_DIR "/") + fileName, "ico");
            QList<int> sizes;
            for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
                const QImage image = reader.read();
                QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
                QCOMPARE(image.width(), image.height());
                QVERIFY(image.hasAlphaChannel());
                sizes.append(image.width());
            }
            QVERIFY2(sizes == QList<int>({16, 24, 32, 48, 64, 256}), fileName);
        }
    }
};

VELDRA_TEST_MAIN(tst_Images)

#include "tst_images.moc"
