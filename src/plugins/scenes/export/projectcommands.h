#pragma once

#include "scenes_global.h"

#include <QObject>

class SceneDocument;

/*!
 * The commands that need an open project. "File.Export_To_HTML5",
 * "File.Preview_Project_In_Browser" and, outside the editor,
 * "File.Preview_Current_Scene_In_Browser" (which asks the active editor for its scene) are handled
 * here, connected to the main window's own implementations of these commands, which act wherever no
 * other context implements them. The main window's "File.SaveAs.Project" and "File.Close" and these
 * three are enabled exactly while the active editor holds a scenes project; without one their tool
 * tips say to open or create a project first. Save As gets Ctrl+Shift+S where the platform binds no
 * keys to it.
 */
class SCENES_EXPORT ProjectCommands : public QObject
{
    Q_OBJECT

public:
    explicit ProjectCommands(QObject *parent = nullptr);
    ~ProjectCommands() override;

    // The project of the active editor, or null when it is not a scenes project.
    static SceneDocument *activeProject();

private slots:
    void exportToHtml5();
    void previewProject();
    void previewScene();

private:
    void giveSaveAsItsUsualKeys();
    void followActiveEditor();
    static void enableProjectCommands(bool bEnabled);
};
