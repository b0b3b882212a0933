#include "changescenecommand.h"

namespace {
Scene propertiesOf(const Scene &scene)
{
    Scene properties;
    properties.name = scene.name;
    properties.background = scene.background;
    properties.duration = scene.duration;
    return properties;
}
} // namespace

ChangeSceneCommand::ChangeSceneCommand(SceneDocument *pDocument, int nIndex, const Scene &changed,
                                       const QString &strText)
    : ProjectCommand(pDocument, strText)
    , m_before(propertiesOf(scene(nIndex)))
    , m_after(propertiesOf(changed))
    , m_nIndex(nIndex)
{}

void ChangeSceneCommand::redo()
{
    apply(m_after);
}

void ChangeSceneCommand::undo()
{
    apply(m_before);
}

void ChangeSceneCommand::apply(const Scene &properties)
{
    Scene &target = scene(m_nIndex);
    target.name = properties.name;
    target.background = properties.background;
    target.duration = properties.duration;
    announce(ProjectChange::SceneProperties, m_nIndex);
}
