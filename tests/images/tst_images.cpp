#include "iui.h"
#include "testmain.h"

#include <QImage>

class tst_Images : public QObject
{
    Q_OBJECT

private slots:
    // The chrome and the commands lay their pictures out for these sizes.
    void coreImagesHaveTheirSizes()
    {
        const QList<QPair<QString, QSize>> groups = {
                {"new_16 new_16_d open_16 open_16_d save_16 save_16_d preferences_16 "
                 "preferences_16_d language_16 info_16 warning_16 close minimize maximize restore "
                 "border_top_left border_top_right border_bottom_left border_bottom_right",
                 QSize(16, 16)},
                {"icon", QSize(17, 16)},
                {"update", QSize(96, 96)},
                {"border_top border_bottom", QSize(1, 8)},
                {"border_left border_right", QSize(8, 1)}};
        for (const auto &group : groups) {
            for (const QString &name : group.first.split(' ')) {
                const QImage image(":/core/images/" + IUi::imageFileName(name, 0, IUi::NoSize));
                QVERIFY2(image.size() == group.second, qPrintable(name));
            }
        }
    }
};

VELDRA_TEST_MAIN(tst_Images)

#include "tst_images.moc"
