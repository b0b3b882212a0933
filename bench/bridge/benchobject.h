#pragma once

#include <QObject>
#include <QString>

/*!
 * What the benchmark's page calls through the web channel: a slot that answers with its
 * argument, so that the answer is as large as the call.
 */
class BenchObject : public QObject
{
    Q_OBJECT

public slots:
    QString echo(const QString &strText) { return strText; }
};
