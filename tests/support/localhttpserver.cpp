#include "localhttpserver.h"

#include <QDebug>

namespace {
const int startTimeoutMs = 30000; // python starts slowly on a busy machine
}

LocalHttpServer::LocalHttpServer(const QStringList &arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("python3"),
                    QStringList{QStringLiteral(VELDRA_HTTP_SERVER_SCRIPT)} + arguments);
    if (!m_process.waitForStarted(startTimeoutMs)) {
        qWarning() << "LocalHttpServer: cannot start python3:" << m_process.errorString();
        return;
    }
    while (!m_process.canReadLine() && m_process.waitForReadyRead(startTimeoutMs)) {
    }
    m_port = m_process.readLine().trimmed().toUShort();
    if (m_port == 0)
        qWarning("LocalHttpServer: the server did not report its port");
}

LocalHttpServer::~LocalHttpServer()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

bool LocalHttpServer::isRunning() const
{
    return m_port != 0 && m_process.state() == QProcess::Running;
}

quint16 LocalHttpServer::port() const
{
    return m_port;
}

QString LocalHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

QByteArray LocalHttpServer::generatedContent(qint64 size)
{
    QByteArray content(static_cast<int>(size), Qt::Uninitialized);
    for (int i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i % 251);
    return content;
}
