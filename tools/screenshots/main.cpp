// Renders the window chrome under each theme found in share/styles/ and writes
// docs/screenshots/chrome-<theme>.png, so reviewers can see it without running the application.
//
// Usage: veldra-screenshots [<source root> [<output folder>]]

#include "chromesheet.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace {

QString readStyleSheet(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);

    const QStringList arguments = QCoreApplication::arguments();
    const QString root = arguments.value(1, QStringLiteral(VELDRA_SOURCE_DIR));
    const QString output = arguments.value(2, root + QStringLiteral("/docs/screenshots"));
    if (!QDir().mkpath(output)) {
        qWarning("Cannot create the folder %s", qPrintable(output));
        return 1;
    }

    int written = 0;
    for (const QString &theme : {QStringLiteral("dark"), QStringLiteral("light")}) {
        const QString styleFile = QStringLiteral("%1/share/styles/veldra_%2.qss").arg(root, theme);
        if (!QFile::exists(styleFile)) {
            qInfo("Skipping the %s theme: %s does not exist", qPrintable(theme),
                  qPrintable(styleFile));
            continue;
        }
        app.setStyleSheet(readStyleSheet(styleFile));

        const QString target = QStringLiteral("%1/chrome-%2.png").arg(output, theme);
        if (!ChromeSheet().render().save(target)) {
            qWarning("Cannot write %s", qPrintable(target));
            return 1;
        }
        qInfo("Wrote %s", qPrintable(target));
        ++written;
    }
    return written > 0 ? 0 : 1;
}
