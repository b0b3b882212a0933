#include "imagecatalog.h"

#include "brandart.h"
#include "disabledlook.h"
#include "messageboxicons.h"
#include "shadowpieces.h"
#include "toolbaricons.h"
#include "windowglyphs.h"

namespace ImageGen {

namespace {

void addWithTwin(QVector<NamedImage> &images, const QString &baseName, const QImage &normal)
{
    images.append({baseName + QStringLiteral(".png"), normal});
    images.append({baseName + QStringLiteral("_d.png"), disabledLook(normal)});
}

void addShadowPieces(QVector<NamedImage> &images)
{
    images.append({QStringLiteral("border_top.png"), shadowEdge(Side::Top)});
    images.append({QStringLiteral("border_bottom.png"), shadowEdge(Side::Bottom)});
    images.append({QStringLiteral("border_left.png"), shadowEdge(Side::Left)});
    images.append({QStringLiteral("border_right.png"), shadowEdge(Side::Right)});
    images.append({QStringLiteral("border_top_left.png"), shadowCorner(Side::Top, Side::Left)});
    images.append({QStringLiteral("border_top_right.png"), shadowCorner(Side::Top, Side::Right)});
    images.append(
            {QStringLiteral("border_bottom_left.png"), shadowCorner(Side::Bottom, Side::Left)});
    images.append(
            {QStringLiteral("border_bottom_right.png"), shadowCorner(Side::Bottom, Side::Right)});
}

} // namespace

QVector<NamedImage> coreImages()
{
    QVector<NamedImage> images;
    addWithTwin(images, QStringLiteral("new_16"), newIcon());
    addWithTwin(images, QStringLiteral("open_16"), openIcon());
    addWithTwin(images, QStringLiteral("save_16"), saveIcon());
    addWithTwin(images, QStringLiteral("preferences_16"), preferencesIcon());
    images.append({QStringLiteral("language_16.png"), languageIcon()});
    images.append({QStringLiteral("info_16.png"), infoIcon()});
    images.append({QStringLiteral("warning_16.png"), warningIcon()});
    images.append({QStringLiteral("close.png"), closeGlyph()});
    images.append({QStringLiteral("minimize.png"), minimizeGlyph()});
    images.append({QStringLiteral("maximize.png"), maximizeGlyph()});
    images.append({QStringLiteral("restore.png"), restoreGlyph()});
    images.append({QStringLiteral("icon.png"), markImage()});
    images.append({QStringLiteral("update.png"), updatePicture()});
    addShadowPieces(images);
    return images;
}

QVector<NamedImage> messageBoxImages()
{
    return {{QStringLiteral("information_32.png"), informationBoxIcon()},
            {QStringLiteral("question_32.png"), questionBoxIcon()},
            {QStringLiteral("warning_32.png"), warningBoxIcon()},
            {QStringLiteral("critical_32.png"), criticalBoxIcon()}};
}

QVector<int> windowIconSizes()
{
    return {16, 24, 32, 48, 64, 256};
}

} // namespace ImageGen
