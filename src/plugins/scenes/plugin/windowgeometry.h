#pragma once

#include "scenes_global.h"

#include <QObject>

/*!
 * Keeps the main window's place, size and maximised state between runs, in the settings group
 * "Designer". That the group exists is also how the core tells a first start, when it opens the
 * window maximised, from the later ones.
 *
 * Made before the core shows its window, it puts the stored geometry back (on a screen that
 * still exists: a window stored on a screen that is gone comes back on one that is there); it
 * stores the geometry whenever the core saves its settings.
 */
class SCENES_EXPORT WindowGeometry : public QObject
{
    Q_OBJECT

public:
    static const char *const settingsKey; // "Designer/WindowGeometry"

    explicit WindowGeometry(QObject *parent = nullptr);

    void restore();
    void store();
};
