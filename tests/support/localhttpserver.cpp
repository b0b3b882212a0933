#include "localhttpserver.h"

LocalHttpServer::LocalHttpServer()
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start("python3", QStringList{VELDRA_HTTP_SERVER_SCRIPT});
    // Python starts slowly on a busy machine.
    while (!m_process.canReadLine() && m_process.waitForReadyRead(30000)) {
    }
    m_port = m_process.readLine().trimmed().toUShort();
}

LocalHttpServer::~LocalHttpServer()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

QString LocalHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

QByteArray LocalHttpServer::generatedContent(qint64 size)
{
    QByteArray content(int(size), Qt::Uninitialized);
    for (int i = 0; i < content.size(); ++i)
        content[i] = char(i % 251);
    return content;
}
