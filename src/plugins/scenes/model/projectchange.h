#pragma once

#include "scenes_global.h"

#include <QObject>

/*!
 * What a SceneDocument sends with IDocument::dataChanged(): which part of the project changed.
 * It lives only while the signal is delivered; receivers read it and must not keep it.
 */
class SCENES_EXPORT ProjectChange : public QObject
{
    Q_OBJECT

public:
    enum Kind {
        Reset,   // the whole project was replaced (opened, reverted, created)
        SceneList,       // scenes were added, removed or reordered; scene is the one to show
        SceneProperties, // one scene's own properties (name, colour, duration) changed
        Elements         // the elements of one scene changed; element is the one to select
    };
    Q_ENUM(Kind)

    ProjectChange(Kind kind, int scene = -1, int element = -1)
        : m_kind(kind), m_scene(scene), m_element(element)
    {
    }

    Kind kind() const { return m_kind; }
    int scene() const { return m_scene; }
    int element() const { return m_element; }

private:
    Kind m_kind;
    int m_scene;
    int m_element;
};
