// veldra-helpdoc: renders a user guide written in HTML into the PDF that Help Contents opens.
// The build runs it for every language the guide is written in; guide.css next to the HTML
// file, when there is one, gives every language the same look.
//   veldra-helpdoc <guide.html> <images folder> <output.pdf>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

#include <cstdio>

namespace {

bool readText(const QString &path, QString *pText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "veldra-helpdoc: cannot read %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    *pText = QString::fromUtf8(file.readAll());
    return true;
}

// The guide names its pictures by file name alone; they are looked up in the images folder,
// which becomes the document's own address (pictures load when the pages are laid out).
void loadPicturesFrom(QTextDocument &document, const QString &imagesFolder)
{
    const QString folder = QFileInfo(imagesFolder).absoluteFilePath() + QLatin1Char('/');
    document.setMetaInformation(QTextDocument::DocumentUrl,
                                QUrl::fromLocalFile(folder).toString());
}

} // namespace

int main(int argc, char *argv[])
{
    // Rendering needs fonts but no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: veldra-helpdoc <guide.html> <images folder> <output.pdf>\n");
        return 2;
    }
    QString html;
    if (!readText(arguments.at(1), &html))
        return 1;
    QString css;
    const QString cssPath = QFileInfo(arguments.at(1)).absolutePath() + QStringLiteral("/guide.css");
    if (QFileInfo::exists(cssPath) && !readText(cssPath, &css))
        return 1;

    QPdfWriter writer(arguments.at(3));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
    writer.setResolution(150);
    writer.setCreator(QStringLiteral("Veldra"));

    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(css);
    document.setHtml(html);
    loadPicturesFrom(document, arguments.at(2));
    writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
    document.print(&writer);
    if (!QFileInfo(arguments.at(3)).size()) {
        std::fprintf(stderr, "veldra-helpdoc: nothing was written to %s\n",
                     qPrintable(arguments.at(3)));
        return 1;
    }
    return 0;
}
