#include "portfile.h"

#include <QSaveFile>

const char *const PortFile::environmentVariable = "VELDRA_WEBSOCKET_PORT_FILE";

bool PortFile::writeFromEnvironment(quint16 nPort)
{
    const QString path = qEnvironmentVariable(environmentVariable);
    return path.isEmpty() || write(path, nPort);
}

bool PortFile::write(const QString &strPath, quint16 nPort)
{
    if (nPort == 0) {
        qWarning("The WebSocket server is not listening; no port to write to %s",
                 qPrintable(strPath));
        return false;
    }
    QSaveFile file(strPath);
    const QByteArray text = QByteArray::number(nPort) + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        qWarning("Cannot write the WebSocket port to %s: %s", qPrintable(strPath),
                 qPrintable(file.errorString()));
        return false;
    }
    return true;
}
