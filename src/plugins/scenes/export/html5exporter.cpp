#include "html5exporter.h"

#include "atomicfile.h"
#include "projectjsonwriter_p.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QtMath>

#include <cmath>

namespace {

// Both files carry this mark, so a later export can tell its own files from someone else's.
const char s_generator[] = "Veldra HTML5 export";

// Plays the scenes: one scene is "active" (visible, its entrances running) at a time, for its
// duration; after the last one the first one starts again. It also scales the stage to the window.
const char s_script[] = R"JS(
(function () {
  var stage = document.getElementById("stage");
  var scenes = stage.querySelectorAll(".scene");
  var current = -1;
  function fit() {
    var scale = Math.min(window.innerWidth / stage.offsetWidth,
                         window.innerHeight / stage.offsetHeight);
    stage.style.transform = "translate(-50%, -50%) scale(" + scale + ")";
  }
  function show(index) {
    if (current >= 0)
      scenes[current].classList.remove("active");
    current = index % scenes.length;
    void scenes[current].offsetWidth; // restarts the entrances when the same scene comes again
    scenes[current].classList.add("active");
    window.setTimeout(function () { show(current + 1); }, Number(scenes[current].dataset.duration));
  }
  window.addEventListener("resize", fit);
  fit();
  if (scenes.length > 0)
    show(0);
})();
)JS";

const char s_styleSheet[] = R"CSS(/* Veldra HTML5 export */
html, body { margin: 0; width: 100%; height: 100%; overflow: hidden; background: #000; }
#stage { position: absolute; left: 50%; top: 50%; overflow: hidden;
         transform: translate(-50%, -50%); transform-origin: 50% 50%; }
.scene { display: none; position: absolute; left: 0; top: 0; width: 100%; height: 100%; }
.scene.active { display: block; }
.element { position: absolute; box-sizing: border-box; margin: 0; overflow: visible;
           font-family: sans-serif; line-height: 1.2; white-space: pre-wrap;
           overflow-wrap: break-word; transform-origin: 50% 50%; }
.scene.active .element { animation-timing-function: ease-out; animation-fill-mode: both; }
.scene.active .enter-fade { animation-name: enter-fade; }
.scene.active .enter-slide-left { animation-name: enter-slide-left; }
.scene.active .enter-slide-up { animation-name: enter-slide-up; }
.scene.active .enter-zoom { animation-name: enter-zoom; }
@keyframes enter-fade { from { opacity: 0; } }
@keyframes enter-slide-left { from { opacity: 0; transform: translateX(100%); } }
@keyframes enter-slide-up { from { opacity: 0; transform: translateY(100%); } }
@keyframes enter-zoom { from { opacity: 0; transform: scale(0); } }
)CSS";

// Twelve significant digits. Whole numbers, the usual case, take the short way.
QByteArray number(double value)
{
    if (!qIsFinite(value))
        value = 0;
    const bool negativeZero = value == 0 && std::signbit(value);
    if (value == std::trunc(value) && std::abs(value) < 1e12 && !negativeZero)
        return QByteArray::number(static_cast<qint64>(value));
    return QByteArray::number(value, 'g', 12);
}

QByteArray cssColor(const QColor &color)
{
    if (!color.isValid())
        return QByteArrayLiteral("transparent");
    if (color.alpha() == 255)
        return ProjectJsonWriter::colorName(color); // #rrggbb
    return "rgba(" + QByteArray::number(color.red()) + ", " + QByteArray::number(color.green()) +
           ", " + QByteArray::number(color.blue()) + ", " + number(color.alphaF()) + ')';
}

const char *entranceClass(TextElement::Entrance entrance)
{
    switch (entrance) {
    case TextElement::Entrance::Fade:
        return "enter-fade";
    case TextElement::Entrance::SlideLeft:
        return "enter-slide-left";
    case TextElement::Entrance::SlideUp:
        return "enter-slide-up";
    case TextElement::Entrance::Zoom:
        return "enter-zoom";
    case TextElement::Entrance::None:
        break;
    }
    return "enter-none";
}

// The text as UTF-8 with the characters that HTML gives a meaning escaped, so that no project
// text becomes markup. In UTF-8 these bytes stand only for themselves.
void appendEscaped(QByteArray &page, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    for (const char ch : utf8) {
        switch (ch) {
        case '<':
            page += "&lt;";
            break;
        case '>':
            page += "&gt;";
            break;
        case '&':
            page += "&amp;";
            break;
        case '"':
            page += "&quot;";
            break;
        default:
            page += ch;
        }
    }
}

void appendElement(QByteArray &page, const TextElement &element)
{
    const QRectF &box = element.geometry;
    page += "<div class=\"element ";
    page += entranceClass(element.entrance);
    page += "\" style=\"left:";
    page += number(box.x());
    page += "px;top:";
    page += number(box.y());
    page += "px;width:";
    page += number(box.width());
    page += "px;height:";
    page += number(box.height());
    page += "px;color:";
    page += cssColor(element.color);
    page += ";font-size:";
    page += QByteArray::number(qMax(1, element.fontSize));
    page += "px;animation-duration:";
    page += QByteArray::number(qMax(0, element.entranceDuration));
    page += "ms\">";
    appendEscaped(page, element.text);
    page += "</div>\n";
}

void appendScene(QByteArray &page, const Scene &scene, bool bFirst)
{
    page += bFirst ? "<section class=\"scene active\"" : "<section class=\"scene\"";
    page += " data-duration=\"" + QByteArray::number(qMax(1, scene.duration)) +
            "\" style=\"background-color:" + cssColor(scene.background) + "\" aria-label=\"";
    appendEscaped(page, scene.name);
    page += "\">\n";
    for (const TextElement &element : scene.elements)
        appendElement(page, element);
    page += "</section>\n";
}

QByteArray indexHtml(const Project &project, const QString &title)
{
    static const QByteArray scriptHash =
            QCryptographicHash::hash(s_script, QCryptographicHash::Sha256).toBase64();
    int elements = 0;
    for (const Scene &scene : project.scenes)
        elements += scene.elements.size();
    QByteArray page;
    page.reserve(4096 + 200 * project.scenes.size() + 300 * elements);
    page += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"generator\" content=\"";
    page += s_generator;
    page += "\">\n<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
            "style-src 'self' 'unsafe-inline'; script-src 'sha256-" +
            scriptHash +
            "'\">\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<title>";
    appendEscaped(page, title);
    page += "</title>\n<link rel=\"stylesheet\" href=\"" + Html5Exporter::styleFileName().toUtf8() +
            "\">\n</head>\n<body>\n<div id=\"stage\" style=\"width:" +
            QByteArray::number(qMax(1, project.width)) +
            "px;height:" + QByteArray::number(qMax(1, project.height)) + "px\">\n";
    for (int i = 0; i < project.scenes.size(); ++i)
        appendScene(page, project.scenes.at(i), i == 0);
    page += "</div>\n<script>";
    page += s_script;
    page += "</script>\n</body>\n</html>\n";
    return page;
}

bool writeFile(const QString &path, const QByteArray &content, QString *errorString)
{
    QString problem;
    if (AtomicFile::write(path, content, &problem))
        return true;
    *errorString =
            Html5Exporter::tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), problem);
    return false;
}

bool isOurs(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return true;
    return file.open(QIODevice::ReadOnly) && file.read(1024).contains(s_generator);
}

} // namespace

QString Html5Exporter::indexFileName()
{
    return QStringLiteral("index.html");
}

QString Html5Exporter::styleFileName()
{
    return QStringLiteral("style.css");
}

bool Html5Exporter::exportProject(const Project &project, const QString &strFolder,
                                  QString *pErrorString, const QString &strTitle)
{
    return writePage(project, strFolder, pErrorString,
                     strTitle.isEmpty() ? QStringLiteral("Veldra") : strTitle);
}

bool Html5Exporter::exportScene(const Project &project, int nScene, const QString &strFolder,
                                QString *pErrorString)
{
    if (nScene < 0 || nScene >= project.scenes.size()) {
        qWarning("Html5Exporter: there is no scene %d to export", nScene);
        if (pErrorString)
            *pErrorString = tr("The project has no scene %1.").arg(nScene + 1);
        return false;
    }
    Project single = project;
    single.scenes = {project.scenes.at(nScene)};
    return writePage(single, strFolder, pErrorString, single.scenes.first().name);
}

bool Html5Exporter::holdsOtherPage(const QString &strFolder)
{
    const QDir folder(strFolder);
    return !isOurs(folder.filePath(indexFileName())) || !isOurs(folder.filePath(styleFileName()));
}

bool Html5Exporter::writePage(const Project &project, const QString &strFolder,
                              QString *pErrorString, const QString &strTitle)
{
    QString error;
    if (strFolder.isEmpty()) {
        qWarning("Html5Exporter: no folder to export to");
        error = tr("No folder was given for the export.");
    } else if (!QDir().mkpath(strFolder)) {
        error = tr("Cannot create the folder %1.").arg(QDir::toNativeSeparators(strFolder));
    } else {
        const QDir folder(strFolder);
        if (writeFile(folder.filePath(styleFileName()), s_styleSheet, &error))
            writeFile(folder.filePath(indexFileName()), indexHtml(project, strTitle), &error);
    }
    if (pErrorString)
        *pErrorString = error;
    return error.isEmpty();
}
