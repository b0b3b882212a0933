// veldra-imagegen: draws every image resource of the application, and its icons for the desktop's
// icon theme, and writes the files that are committed to the repository. Run it through
// scripts/make-images.

#include "brandart.h"
#include "contactsheet.h"
#include "icofile.h"
#include "imagecatalog.h"
#include "shadowpieces.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>

using namespace ImageGen;

namespace {

bool writePng(const QString &filePath, const QImage &image)
{
    QImageWriter writer(filePath, "png");
    if (writer.write(image.convertToFormat(QImage::Format_ARGB32)))
        return true;
    qWarning("Cannot write %s: %s", qPrintable(filePath), qPrintable(writer.errorString()));
    return false;
}

bool makeFolder(const QString &path)
{
    if (QDir().mkpath(path))
        return true;
    qWarning("Cannot create the folder %s", qPrintable(path));
    return false;
}

bool writeImages(const QString &folder, const QVector<NamedImage> &images)
{
    if (!makeFolder(folder))
        return false;
    for (const NamedImage &named : images) {
        if (!writePng(folder + QLatin1Char('/') + named.fileName, named.image))
            return false;
    }
    return true;
}

template<typename Draw>
QVector<QImage> allIconSizes(Draw draw)
{
    QVector<QImage> images;
    for (int size : windowIconSizes())
        images.append(draw(size));
    return images;
}

bool writeWindowIcons(const QString &folder)
{
    return makeFolder(folder) &&
           writeIconFile(folder + QStringLiteral("/app_icon.ico"), allIconSizes(applicationIcon)) &&
           writeIconFile(folder + QStringLiteral("/project_icon.ico"), allIconSizes(projectIcon));
}

// The desktop's icon theme: the application and its two file types at the sizes desktops look
// for, in the hicolor layout that is installed as it is.
bool writeThemeIcons(const QString &themeFolder)
{
    const struct
    {
        const char *context;
        const char *name;
        QImage (*draw)(int);
    } icons[] = {{"apps", "veldra", applicationIcon},
                 {"mimetypes", "application-x-veldra-project", projectIcon},
                 {"mimetypes", "application-x-veldra-pack", projectIcon}};
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        for (const auto &icon : icons) {
            const QString folder = QStringLiteral("%1/%2x%2/%3")
                                           .arg(themeFolder)
                                           .arg(size)
                                           .arg(QLatin1String(icon.context));
            if (!makeFolder(folder) ||
                !writePng(folder + QStringLiteral("/%1.png").arg(QLatin1String(icon.name)),
                          icon.draw(size)))
                return false;
        }
    }
    return true;
}

// Besides the images written above, the contact sheet shows the window icons at the sizes a desktop
// shows most, and the shadow pieces assembled around a stand-in window.
QVector<NamedImage> reviewSamples()
{
    QVector<NamedImage> samples{
            {QStringLiteral("shadow, assembled"), shadowFramePreview(QSize(72, 40))}};
    for (int size : {16, 32, 48}) {
        const QString suffix = QStringLiteral(" (%1 px)").arg(size);
        samples.append({QStringLiteral("app_icon.ico") + suffix, applicationIcon(size)});
        samples.append({QStringLiteral("project_icon.ico") + suffix, projectIcon(size)});
    }
    return samples;
}

bool writeContactSheet(const QString &folder, const QVector<NamedImage> &images)
{
    return makeFolder(folder) &&
           writePng(folder + QStringLiteral("/icons.png"), contactSheet(images + reviewSamples()));
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs no screen; the offscreen platform lets this run anywhere.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veldra-imagegen"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
            QStringLiteral("Draws the application's images and writes them into the source tree."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("source-root"),
                                 QStringLiteral("The root folder of the Veldra sources."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(1);

    const QDir root(parser.positionalArguments().constFirst());
    const QVector<NamedImage> images = coreImages();
    const QVector<NamedImage> boxImages = messageBoxImages();
    const bool written =
            writeImages(root.filePath(QStringLiteral("src/core/coreplugin/images")), images) &&
            writeImages(root.filePath(QStringLiteral("src/app/images/designer")), boxImages) &&
            writeWindowIcons(root.filePath(QStringLiteral("src/app/images"))) &&
            writeThemeIcons(root.filePath(QStringLiteral("share/icons/hicolor"))) &&
            writeContactSheet(root.filePath(QStringLiteral("docs/screenshots")),
                              images + boxImages);
    return written ? 0 : 1;
}
