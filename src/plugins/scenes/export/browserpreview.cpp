#include "browserpreview.h"

#include "html5exporter.h"
#include "icore.h"
#include "iui.h"
#include "mainwindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

bool BrowserPreview::showProject(const Project &project)
{
    const QString folder = previewFolder(QStringLiteral("project"));
    QString error;
    const bool written = !folder.isEmpty() && Html5Exporter::exportProject(project, folder, &error);
    return openPage(folder, written, error);
}

bool BrowserPreview::showScene(const Project &project, int nScene)
{
    const QString folder = previewFolder(QStringLiteral("scene"));
    QString error;
    const bool written =
            !folder.isEmpty() && Html5Exporter::exportScene(project, nScene, folder, &error);
    return openPage(folder, written, error);
}

// Empty without a main window, which owns the temporary folder.
QString BrowserPreview::previewFolder(const QString &strKind)
{
    MainWindow *window = ICore::getMainWindow();
    if (!window) {
        qWarning("BrowserPreview: no main window, so no temporary folder to preview in");
        return QString();
    }
    return QDir(window->getDefaultTempPath()).filePath(QStringLiteral("preview/") + strKind);
}

bool BrowserPreview::openPage(const QString &strFolder, bool bWritten, const QString &strError)
{
    if (strFolder.isEmpty())
        return false;
    MainWindow *window = ICore::getMainWindow();
    if (!bWritten) {
        IUi::warning(window, QStringLiteral("Veldra"), strError);
        return false;
    }
    const QString page = QDir(strFolder).filePath(Html5Exporter::indexFileName());
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page))) {
        IUi::warning(
                window, QStringLiteral("Veldra"),
                tr("The browser could not be started for %1.").arg(QDir::toNativeSeparators(page)));
        return false;
    }
    return true;
}
