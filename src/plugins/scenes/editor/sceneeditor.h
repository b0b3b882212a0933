#pragma once

#include "ieditor.h"
#include "scenes_global.h"

/*!
 * The editor of a scenes project.
 */
class SCENES_EXPORT SceneEditor : public IEditor
{
    Q_OBJECT

public:
    explicit SceneEditor(QObject *parent = nullptr);
    ~SceneEditor() override;
};
