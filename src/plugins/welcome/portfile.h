#pragma once

#include "welcome_global.h"

#include <QString>

/*!
 * Makes the welcome page's WebSocket server known to scripts and tests that start the
 * application: when the environment variable VELDRA_WEBSOCKET_PORT_FILE names a file, the port
 * and the run's secret are written there, one per line ("40123\n<32 hex digits>\n").
 *
 * The file is readable by its owner only from the moment it exists (mode 0600), and it replaces
 * an older file in one step, so a reader sees either no file or the whole text.
 */
class WELCOME_EXPORT PortFile
{
public:
    static const char *const environmentVariable;

    // Writes to the file the environment names; true when it names none.
    static bool writeFromEnvironment(quint16 nPort, const QString &strSecret);
    static bool write(const QString &strPath, quint16 nPort, const QString &strSecret);
};
