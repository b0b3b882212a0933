#include "localhttpserver.h"

LocalHttpServer::LocalHttpServer(const QStringList &arguments)
{
    const int startTimeoutMs = 30000; // python starts slowly on a busy machine
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start("python3", QStringList{VELDRA_HTTP_SERVER_SCRIPT} + arguments);
    while (m_process.waitForStarted(startTimeoutMs) && !m_process.canReadLine() &&
           m_process.waitForReadyRead(startTimeoutMs)) {
    }
    m_port = m_process.readLine().trimmed().toUShort();
    if (m_port == 0)
        qWarning("LocalHttpServer: the server did not report its port");
}

LocalHttpServer::~LocalHttpServer()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

bool LocalHttpServer::isRunning() const
{
    return m_port != 0 && m_process.state() == QProcess::Running;
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
