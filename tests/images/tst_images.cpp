#include "iui.h"
#include "testmain.h"

#include <QColor>
#include <QImage>
#include <QImageReader>

namespace {

const QString CoreImages = QStringLiteral(":/core/images/");
const QImage::Format Premultiplied = QImage::Format_ARGB32_Premultiplied;

QImage coreImage(const QString &fileName)
{
    return QImage(CoreImages + fileName).convertToFormat(QImage::Format_ARGB32);
}

template<typename Visit>
void forEachPixel(const QImage &image, Visit visit)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            visit(image.pixel(x, y));
    }
}

qint64 totalAlpha(const QImage &image)
{
    qint64 total = 0;
    forEachPixel(image, [&total](QRgb pixel) { total += qAlpha(pixel); });
    return total;
}

// Mean HSV saturation of the pixels that are not fully transparent.
qreal meanSaturation(const QImage &image)
{
    qreal sum = 0;
    int count = 0;
    forEachPixel(image, [&](QRgb pixel) {
        if (qAlpha(pixel) == 0)
            return;
        sum += QColor::fromRgba(pixel).hsvSaturationF();
        ++count;
    });
    return count ? sum / count : 0;
}

QVector<bool> footprint(const QImage &image)
{
    QVector<bool> covered;
    forEachPixel(image, [&covered](QRgb pixel) { covered.append(qAlpha(pixel) > 0); });
    return covered;
}

int alphaAt(const QImage &image, const QPoint &point)
{
    return qAlpha(image.pixel(point));
}

} // namespace

class tst_Images : public QObject
{
    Q_OBJECT

private slots:
    void coreImageHasItsSize_data();
    void coreImageHasItsSize();
    void disabledTwinIsGreyedCopy_data();
    void disabledTwinIsGreyedCopy();
    void shadowPieceFallsOffOutwards_data();
    void shadowPieceFallsOffOutwards();
    void shadowCornerMeetsEdge_data();
    void shadowCornerMeetsEdge();
    void windowIconHoldsEverySize_data();
    void windowIconHoldsEverySize();
};

void tst_Images::coreImageHasItsSize_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QSize>("size");

    const QSize small(16, 16);
    for (const char *name :
         {"new_16", "new_16_d", "open_16", "open_16_d", "save_16", "save_16_d", "preferences_16",
          "preferences_16_d", "language_16", "info_16", "warning_16", "close", "minimize",
          "maximize", "restore", "border_top_left", "border_top_right", "border_bottom_left",
          "border_bottom_right"}) {
        const QString fileName = QLatin1String(name) + QStringLiteral(".png");
        QTest::newRow(name) << fileName << small;
    }
    QTest::newRow("icon") << QStringLiteral("icon.png") << QSize(17, 16);
    QTest::newRow("update") << QStringLiteral("update.png") << QSize(96, 96);
    QTest::newRow("border_top") << QStringLiteral("border_top.png") << QSize(1, 8);
    QTest::newRow("border_bottom") << QStringLiteral("border_bottom.png") << QSize(1, 8);
    QTest::newRow("border_left") << QStringLiteral("border_left.png") << QSize(8, 1);
    QTest::newRow("border_right") << QStringLiteral("border_right.png") << QSize(8, 1);
}

void tst_Images::coreImageHasItsSize()
{
    QFETCH(QString, fileName);
    QFETCH(QSize, size);

    const QImage image(CoreImages + fileName);
    QVERIFY2(!image.isNull(), qPrintable(fileName));
    QCOMPARE(image.size(), size);
    // Every picture is drawn over whatever lies behind it, never as an opaque block.
    QVERIFY(image.hasAlphaChannel());
    QVERIFY(totalAlpha(image.convertToFormat(QImage::Format_ARGB32)) <
            qint64(255) * size.width() * size.height());
}

void tst_Images::disabledTwinIsGreyedCopy_data()
{
    QTest::addColumn<QString>("command");
    for (const char *name : {"new", "open", "save", "preferences"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_Images::disabledTwinIsGreyedCopy()
{
    QFETCH(QString, command);

    const QImage normal = coreImage(command + QStringLiteral("_16.png"));
    const QImage disabled = coreImage(command + QStringLiteral("_16_d.png"));
    QVERIFY(!normal.isNull());
    QVERIFY(!disabled.isNull());
    QCOMPARE(disabled.size(), normal.size());
    // Made from the same drawing: exactly the same pixels are covered...
    QCOMPARE(footprint(disabled), footprint(normal));
    // ...but clearly fainter and without colour.
    QVERIFY(totalAlpha(disabled) < totalAlpha(normal) * 8 / 10);
    QVERIFY(meanSaturation(disabled) < 0.05);
    QVERIFY(meanSaturation(disabled) <= meanSaturation(normal));

    // The command's icon shows exactly these two pictures (compared the way pixmaps store them).
    const QIcon icon = IUi::getIcon(command, IUi::Size16);
    const auto shown = [&icon](QIcon::Mode mode) {
        return icon.pixmap(QSize(16, 16), mode).toImage().convertToFormat(Premultiplied);
    };
    QCOMPARE(shown(QIcon::Normal), normal.convertToFormat(Premultiplied));
    QCOMPARE(shown(QIcon::Disabled), disabled.convertToFormat(Premultiplied));
}

void tst_Images::shadowPieceFallsOffOutwards_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QPoint>("nextToWindow");
    QTest::addColumn<QPoint>("outerEdge");

    QTest::newRow("top") << "border_top.png" << QPoint(0, 7) << QPoint(0, 0);
    QTest::newRow("bottom") << "border_bottom.png" << QPoint(0, 0) << QPoint(0, 7);
    QTest::newRow("left") << "border_left.png" << QPoint(7, 0) << QPoint(0, 0);
    QTest::newRow("right") << "border_right.png" << QPoint(0, 0) << QPoint(7, 0);
    // The window's corner is at the centre of each corner piece.
    QTest::newRow("top left") << "border_top_left.png" << QPoint(7, 7) << QPoint(0, 0);
    QTest::newRow("top right") << "border_top_right.png" << QPoint(8, 7) << QPoint(15, 0);
    QTest::newRow("bottom left") << "border_bottom_left.png" << QPoint(7, 8) << QPoint(0, 15);
    QTest::newRow("bottom right") << "border_bottom_right.png" << QPoint(8, 8) << QPoint(15, 15);
}

void tst_Images::shadowPieceFallsOffOutwards()
{
    QFETCH(QString, fileName);
    QFETCH(QPoint, nextToWindow);
    QFETCH(QPoint, outerEdge);

    const QImage piece = coreImage(fileName);
    QVERIFY(!piece.isNull());
    // The strips must receive the mouse everywhere, so no pixel may be fully transparent.
    int transparent = 0;
    int notBlack = 0;
    forEachPixel(piece, [&](QRgb pixel) {
        transparent += qAlpha(pixel) == 0;
        notBlack += qGray(pixel) != 0;
    });
    QCOMPARE(transparent, 0);
    QCOMPARE(notBlack, 0);
    QVERIFY(alphaAt(piece, nextToWindow) > 4 * alphaAt(piece, outerEdge));
}

void tst_Images::shadowCornerMeetsEdge_data()
{
    QTest::addColumn<QString>("corner");
    QTest::addColumn<QString>("edge");
    QTest::addColumn<QPoint>("start"); // the corner's line that touches the tiled edge...
    QTest::addColumn<QPoint>("step");  // ...walked from where the edge image starts

    const QPoint down(0, 1);
    const QPoint right(1, 0);
    QTest::newRow("top left, top") << "border_top_left.png"
                                   << "border_top.png" << QPoint(15, 0) << down;
    QTest::newRow("top left, left") << "border_top_left.png"
                                    << "border_left.png" << QPoint(0, 15) << right;
    QTest::newRow("top right, top") << "border_top_right.png"
                                    << "border_top.png" << QPoint(0, 0) << down;
    QTest::newRow("top right, right") << "border_top_right.png"
                                      << "border_right.png" << QPoint(8, 15) << right;
    QTest::newRow("bottom left, bottom") << "border_bottom_left.png"
                                         << "border_bottom.png" << QPoint(15, 8) << down;
    QTest::newRow("bottom left, left") << "border_bottom_left.png"
                                       << "border_left.png" << QPoint(0, 0) << right;
    QTest::newRow("bottom right, bottom") << "border_bottom_right.png"
                                          << "border_bottom.png" << QPoint(0, 8) << down;
    QTest::newRow("bottom right, right") << "border_bottom_right.png"
                                         << "border_right.png" << QPoint(8, 0) << right;
}

void tst_Images::shadowCornerMeetsEdge()
{
    QFETCH(QString, corner);
    QFETCH(QString, edge);
    QFETCH(QPoint, start);
    QFETCH(QPoint, step);

    const QImage cornerPiece = coreImage(corner);
    const QImage edgePiece = coreImage(edge);
    QVERIFY(!cornerPiece.isNull());
    QVERIFY(!edgePiece.isNull());
    for (int i = 0; i < 8; ++i) {
        const int cornerAlpha = alphaAt(cornerPiece, start + i * step);
        const int edgeAlpha = alphaAt(edgePiece, i * step);
        QVERIFY2(qAbs(cornerAlpha - edgeAlpha) <= 2,
                 qPrintable(QStringLiteral("at %1: corner %2, edge %3")
                                    .arg(i)
                                    .arg(cornerAlpha)
                                    .arg(edgeAlpha)));
    }
}

void tst_Images::windowIconHoldsEverySize_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("application") << QStringLiteral("app_icon.ico");
    QTest::newRow("project") << QStringLiteral("project_icon.ico");
}

void tst_Images::windowIconHoldsEverySize()
{
    QFETCH(QString, fileName);

    QImageReader reader(QStringLiteral(VELDRA_APP_IMAGES_DIR "/") + fileName, "ico");
    QList<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        QVERIFY(image.hasAlphaChannel());
        sizes.append(image.width());
    }
    QCOMPARE(sizes, QList<int>({16, 24, 32, 48, 64, 256}));
}

VELDRA_TEST_MAIN(tst_Images)

#include "tst_images.moc"
