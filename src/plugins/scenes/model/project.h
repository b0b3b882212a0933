#pragma once

#include "scene.h"

#include <QList>

/*!
 * The content of a project file: the stage (size in pixels and frame rate) and the scenes,
 * played in list order.
 */
struct Project
{
    int width = 1280;
    int height = 720;
    int frameRate = 30;
    QList<Scene> scenes;

    bool operator==(const Project &other) const
    {
        return width == other.width && height == other.height && frameRate == other.frameRate
               && scenes == other.scenes;
    }
    bool operator!=(const Project &other) const { return !(*this == other); }
};
