#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

// Runs httpserver.py (python3) on 127.0.0.1 for as long as the object lives; see its routes there.
class LocalHttpServer
{
public:
    LocalHttpServer();
    ~LocalHttpServer();

    // "http://127.0.0.1:<port>" followed by the path (which starts with "/").
    QString url(const QString &path) const;
    // What the generated-file routes send.
    static QByteArray generatedContent(qint64 size);

private:
    QProcess m_process;
    quint16 m_port = 0;
};
