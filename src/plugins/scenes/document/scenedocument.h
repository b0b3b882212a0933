#pragma once

#include "idocument.h"
#include "project.h"
#include "projectchange.h"
#include "scenes_global.h"

#include <QPointF>
#include <QString>

QT_BEGIN_NAMESPACE
class QUndoStack;
QT_END_NAMESPACE

/*!
 * A project of scenes, stored in a ".veldra" file (UTF-8 JSON) or a ".veldrapack" file (the same
 * JSON, compressed). Every edit goes through the undo stack; the editing functions below each
 * push one command. After every change the document emits dataChanged() with a ProjectChange.
 *
 * Saving is atomic: a save that fails leaves the previous file as it was. Opening a file that is
 * not a readable project tells the user which file and what is wrong, and fails.
 */
class SCENES_EXPORT SceneDocument : public IDocument
{
    Q_OBJECT

public:
    explicit SceneDocument(QObject *parent = nullptr);
    ~SceneDocument() override;

    const Project &project() const;

    // Editing. Indexes out of range are ignored with a warning; each call is one undo step.
    void addScene(const Scene &scene, int index = -1);
    void removeScene(int index);
    void renameScene(int index, const QString &name);
    void moveScene(int from, int to);
    void setSceneProperties(int index, const QColor &background, int duration);
    void addElement(int scene, const TextElement &element);
    void moveElement(int scene, int element, const QPointF &topLeft);
    void editElement(int scene, int element, const TextElement &changed);
    void removeElement(int scene, int element);
    // Moves every text that is not wholly on the stage, or not at whole pixels, to the nearest
    // place that is (StageBounds), all in one undo step; nothing when all are in place.
    void keepTextsOnStage();

    // Loads a backup written by saveBackup(): the document takes the path of the project the
    // backup was made of, and counts as opened from a backup.
    bool openBackup(const QString &strBackupPath);
    // The path of the project a backup was made of; empty when the backup cannot be read.
    static QString backupOriginalPath(const QString &strBackupPath);

    // Also true while the content comes from a backup and has not been saved yet.
    bool isModified() const override;
    // Pushes a command onto the undo stack, which takes it over.
    void submitCommand(QUndoCommand *pCommand) override;
    // Width, height and frame rate of the stage; the new project has one empty scene.
    bool create(int nParameter1, int nParameter2, int nParameter3) override;

public slots:
    bool open() override;
    bool save() override;
    bool save(const QString &strFile) override;
    bool saveAs() override;
    bool revert() override;
    void cleanTempDir() override;
    bool saveBackup() override;

private:
    friend class ProjectCommand;

    void announce(ProjectChange::Kind kind, int nScene = -1, int nElement = -1);
    void replaceProject(const Project &project);
    void updateModified();
    bool writeProject(const QString &strFile);
    // Reads the project file, or tells the user why it cannot; the file as it is on disk, no
    // longer a backup, when bLeaveBackup is set.
    bool loadFile(bool bLeaveBackup = false);
    bool hasScene(int nScene, const char *pWhere) const;
    bool hasElement(int nScene, int nElement, const char *pWhere) const;

    Project m_project;
    QUndoStack *m_pStack = nullptr; // child
    bool m_bModified = false;       // as last announced with modifyChanged()
};
