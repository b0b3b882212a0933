#include "portfile.h"

#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

const char *const PortFile::environmentVariable = "VELDRA_WEBSOCKET_PORT_FILE";

bool PortFile::writeFromEnvironment(quint16 nPort, const QString &strSecret)
{
    const QString path = qEnvironmentVariable(environmentVariable);
    return path.isEmpty() || write(path, nPort, strSecret);
}

bool PortFile::write(const QString &strPath, quint16 nPort, const QString &strSecret)
{
    if (nPort == 0) {
        qWarning("The WebSocket server is not listening; no port to write to %s",
                 qPrintable(strPath));
        return false;
    }
    // A temporary file is created for its owner only; renaming it over the target keeps both
    // the mode and the one-step replacement. (QSaveFile would create it readable by all.)
    QTemporaryFile file(QFileInfo(strPath).absoluteFilePath() + QStringLiteral(".XXXXXX"));
    const QByteArray text = QByteArray::number(nPort) + '\n' + strSecret.toLatin1() + '\n';
    const bool bWritten = file.open() && file.write(text) == text.size() && file.flush();
    if (!bWritten || std::rename(QFile::encodeName(file.fileName()).constData(),
                                 QFile::encodeName(strPath).constData()) != 0) {
        qWarning("Cannot write the WebSocket port to %s: %s", qPrintable(strPath),
                 qPrintable(bWritten ? QStringLiteral("cannot replace the file")
                                     : file.errorString()));
        return false;
    }
    file.setAutoRemove(false);
    return true;
}
