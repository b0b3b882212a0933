#pragma once

#include "project.h"
#include "sceneeditorcommands.h"
#include "scenes_global.h"

#include <QColor>
#include <QMap>
#include <QStringList>
#include <QWidget>

#include <functional>

class ColorButton;
QT_BEGIN_NAMESPACE
class QListWidget;
class QListWidgetItem;
class QModelIndex;
class QPushButton;
class QSpinBox;
QT_END_NAMESPACE

/*!
 * The project's scenes in play order, with the current scene's background colour and duration.
 * Scenes are added, removed, renamed (double-click) and reordered (drag); the buttons and the
 * keys do this through the panel's editor commands (its actions()), which the editor registers.
 * The panel only reports requests; the list changes when the editor shows the project again.
 */
class SCENES_EXPORT SceneListPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SceneListPanel(QWidget *parent = nullptr);

    // A null project empties and disables the panel.
    void showProject(const Project *pProject, int nCurrentScene);
    int currentScene() const;

signals:
    void currentSceneChanged(int nScene);
    void addSceneRequested();
    void removeSceneRequested(int nScene);
    void renameSceneRequested(int nScene, const QString &name);
    void moveSceneRequested(int nFrom, int nTo);
    void scenePropertiesRequested(int nScene, const QColor &background, int nDuration);

private:
    // The command's action, triggered by the button and enabled with it.
    void addCommand(SceneEditorCommands::Command command, QPushButton *button,
                    const std::function<void()> &handler);
    void setNames(const QStringList &names);
    void updateButtons();
    void onItemChanged(QListWidgetItem *item);
    void onRowsMoved(const QModelIndex &parent, int nStart, int nEnd,
                     const QModelIndex &destination, int nRow);
    void moveCurrentBy(int nOffset);
    void reportSceneProperties();

    QListWidget *m_pList;
    QPushButton *m_pAddButton;
    QPushButton *m_pRemoveButton;
    QPushButton *m_pUpButton;
    QPushButton *m_pDownButton;
    QMap<SceneEditorCommands::Command, QAction *> m_commands; // children
    ColorButton *m_pBackgroundButton;
    QSpinBox *m_pDurationSpin;
    QStringList m_names; // as last shown
    bool m_bShowing = false;
};
