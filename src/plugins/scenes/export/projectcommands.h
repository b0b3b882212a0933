#pragma once

#include "scenes_global.h"

#include <QObject>

class SceneDocument;

/*!
 * The handlers of "File.Export_To_HTML5" and "File.Preview_Project_In_Browser", connected to the
 * commands' proxy actions, so they act wherever the focus is. Both work on the project of the
 * active editor; without an open scenes project they ask the user to open or create one.
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

private:
    void connectCommand(const QString &id, void (ProjectCommands::*handler)());
};
