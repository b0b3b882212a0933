#pragma once

#include "welcome_global.h"

#include <QString>

/*!
 * Makes the port of the welcome page's WebSocket server known to scripts and tests that start
 * the application: when the environment variable VELDRA_WEBSOCKET_PORT_FILE names a file, the
 * port is written there as decimal text. The file is replaced in one step, so a reader sees
 * either no file or the whole number.
 */
class WELCOME_EXPORT PortFile
{
public:
    static const char *const environmentVariable;

    // Writes to the file the environment names; true when it names none.
    static bool writeFromEnvironment(quint16 nPort);
    static bool write(const QString &strPath, quint16 nPort);
};
