#include "actioncontainer.h"
#include "actionmanager.h"
#include "contextaction.h"
#include "contextmanager.h"
#include "corefixture.h"
#include "createprojectdialog.h"
#include "documentmanager.h"
#include "editcommands.h"
#include "editormanager.h"
#include "imainmdiarea.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modaldialoganswerer.h"
#include "mouseevents.h"
#include "projectformat.h"
#include "proxyaction.h"
#include "scenedocument.h"
#include "scenedocumentfactory.h"
#include "sceneeditor.h"
#include "sceneeditorwidget.h"
#include "stageview.h"
#include "testmain.h"
#include "textelementitem.h"

#include <extensionsystem/pluginmanager.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QUndoGroup>
#include <QUndoStack>

#include <memory>

Q_DECLARE_METATYPE(TextElement)

namespace {

// The core with the scenes project type and its Undo and Redo commands, window shown.
class ScenesCore
{
public:
    ScenesCore()
    {
        ExtensionSystem::PluginManager::addObject(&m_factory);
        m_editCommands = std::make_unique<EditCommands>();
        window()->resize(1200, 800);
        window()->show();
    }
    ~ScenesCore()
    {
        const QList<IDocument *> documents = DocumentManager::getDocuments();
        for (IDocument *document : documents)
            emit document->requestClosing(false);
        m_editCommands.reset();
        ExtensionSystem::PluginManager::removeObject(&m_factory);
    }

    MainWindow *window() const { return m_core.mainWindow(); }
    QString path(const QString &name) const { return m_core.filePath(name); }

    QString write(const QString &name, const Project &project) const
    {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        file.write(ProjectFormat::write(project, ProjectFormat::isPackedPath(name)));
        return file.fileName();
    }
    SceneEditor *open(const QString &name, const Project &project)
    {
        window()->loadFile(write(name, project));
        return qobject_cast<SceneEditor *>(EditorManager::activeEditor());
    }

private:
    CoreFixture m_core;
    SceneDocumentFactory m_factory;
    std::unique_ptr<EditCommands> m_editCommands;
};

TextElement text(const QString &content, const QRectF &geometry)
{
    TextElement element;
    element.text = content;
    element.geometry = geometry;
    return element;
}

// Scenes A (two texts), B and C on a 1280 x 720 stage.
Project sampleProject()
{
    Project project;
    for (const char *name : {"A", "B", "C"}) {
        Scene scene;
        scene.name = QLatin1String(name);
        project.scenes.append(scene);
    }
    project.scenes[0].elements = {text("Hello", QRectF(100, 80, 600, 120)),
                                  text("World", QRectF(100, 400, 600, 120))};
    return project;
}

QAction *command(const char *id)
{
    ContextAction *action = ActionManager::getAction(QLatin1String(id));
    return action ? action->getAction() : nullptr;
}

SceneDocument *documentOf(SceneEditor *editor)
{
    return qobject_cast<SceneDocument *>(editor->getDocument());
}

QStringList sceneNames(const Project &project)
{
    QStringList names;
    for (const Scene &scene : project.scenes)
        names.append(scene.name);
    return names;
}

template<typename T>
T *child(SceneEditor *editor, const char *name)
{
    return editor->widget()->findChild<T *>(QLatin1String(name));
}

QPoint globalPosOf(StageView *view, const QPointF &stagePoint)
{
    return view->viewport()->mapToGlobal(view->mapFromScene(stagePoint));
}

} // namespace

class TestScenesEditor : public QObject
{
    Q_OBJECT

private slots:
    void editorLivesInMaximisedSubWindow();
    void saveFollowsEditsUndoAndSave();
    void editMenuStartsWithUndoAndRedo();
    void sceneListEdits_data();
    void sceneListEdits();
    void mouseDragMovesTextInOneStep();
    void deleteKeyRemovesSelectedTexts_data();
    void deleteKeyRemovesSelectedTexts();
    void addTextIsCentredAndSelected();
    void propertiesPanelEditsSelectedText_data();
    void propertiesPanelEditsSelectedText();
    void closeButtonAsksTheDocument_data();
    void closeButtonAsksTheDocument();
    void newEditSaveCloseReopenFromRecentList();
};

void TestScenesEditor::editorLivesInMaximisedSubWindow()
{
    ScenesCore core;
    QSignalSpy titlePaths(core.window(), &MainWindow::updateWindowFilePath);
    SceneEditor *editor = core.open(QStringLiteral("Show.veldra"), sampleProject());
    QVERIFY(editor && editor->subWindow());

    QMdiSubWindow *subWindow = editor->subWindow();
    QCOMPARE(core.window()->getMdiArea()->subWindowList(), {subWindow});
    QCOMPARE(core.window()->getMdiArea()->activeSubWindow(), subWindow);
    QVERIFY(subWindow->isMaximized());
    QCOMPARE(subWindow->windowFilePath(), core.path(QStringLiteral("Show.veldra")));
    QVERIFY(!subWindow->isWindowModified());
    QVERIFY(!titlePaths.isEmpty());
    QCOMPARE(titlePaths.last().at(0).toString(), subWindow->windowFilePath());

    StageView *view = editor->widget()->stageView();
    QCOMPARE(view->sceneRect(), QRectF(0, 0, 1280, 720));
    QVERIFY(view->itemOfElement(1) && !view->itemOfElement(2));
    QCOMPARE(child<QListWidget>(editor, "sceneList")->count(), 3);

    // Picking another project's tab makes its editor the active one, and back.
    SceneEditor *second = core.open(QStringLiteral("Other.veldra"), Project());
    QVERIFY(second && second != editor);
    core.window()->getMdiArea()->setActiveSubWindow(subWindow);
    QCOMPARE(EditorManager::activeEditor(), editor);
    QCOMPARE(titlePaths.last().at(0).toString(), subWindow->windowFilePath());

    // The canvas is in the editor's context, which has its own scene preview.
    QCOMPARE(ContextManager::getActiveContext(view).id, QStringLiteral("Scenes.Editor"));
    ActionManager::setContext(editor->widget());
    auto *preview = static_cast<ProxyAction *>(command("File.Preview_Current_Scene_In_Browser"));
    QCOMPARE(preview->action(), editor->widget()->previewSceneAction());
}

void TestScenesEditor::saveFollowsEditsUndoAndSave()
{
    ScenesCore core;
    QSignalSpy titleMarks(core.window(), &MainWindow::updateModified);
    SceneEditor *editor = core.open(QStringLiteral("Save.veldra"), sampleProject());
    QVERIFY(editor);
    QAction *save = command("File.Save");
    QVERIFY(!save->isEnabled());

    const auto expectState = [&](bool bModified, int nScenes) {
        QCOMPARE(save->isEnabled(), bModified);
        QCOMPARE(editor->subWindow()->isWindowModified(), bModified);
        QCOMPARE(titleMarks.last().at(0).toBool(), bModified);
        QCOMPARE(documentOf(editor)->project().scenes.size(), nScenes);
    };
    child<QPushButton>(editor, "addSceneButton")->click();
    expectState(true, 4);
    QCOMPARE(command("Edit.Undo")->text(), tr("Undo %1").arg(QStringLiteral("Add Scene")));
    command("Edit.Undo")->trigger();
    expectState(false, 3);
    command("Edit.Redo")->trigger();
    expectState(true, 4);
    command("File.Save")->trigger();
    expectState(false, 4);

    Project saved;
    QString problem;
    QVERIFY(ProjectFormat::readFile(core.path(QStringLiteral("Save.veldra")), &saved, &problem));
    QCOMPARE(saved, documentOf(editor)->project());
}

void TestScenesEditor::editMenuStartsWithUndoAndRedo()
{
    ScenesCore core;
    const QList<QAction *> entries =
            ActionManager::getActionContainer(QStringLiteral("MenuBar.Edit"))->getMenu()->actions();
    QCOMPARE(entries.size(), 4);
    QCOMPARE(entries.at(0), command("Edit.Undo"));
    QCOMPARE(entries.at(1), command("Edit.Redo"));
    QVERIFY(entries.at(2)->isSeparator());
    QCOMPARE(entries.at(3), command("Edit.Preferences"));
    QCOMPARE(entries.at(0)->shortcut(), QKeySequence(QKeySequence::Undo));
    QCOMPARE(entries.at(1)->shortcut(), QKeySequence(QKeySequence::Redo));
    QVERIFY(!entries.at(0)->isEnabled());
}

void TestScenesEditor::sceneListEdits_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("newCurrent");

    const QStringList unchanged = {"A", "B", "C"};
    QTest::newRow("add after current")
            << 1 << "addSceneButton" << QStringList{"A", "B", "Scene 4", "C"} << 2;
    QTest::newRow("remove current") << 1 << "removeSceneButton" << QStringList{"A", "C"} << 1;
    QTest::newRow("remove last") << 2 << "removeSceneButton" << QStringList{"A", "B"} << 1;
    QTest::newRow("up") << 2 << "moveSceneUpButton" << QStringList{"A", "C", "B"} << 1;
    QTest::newRow("down") << 0 << "moveSceneDownButton" << QStringList{"B", "A", "C"} << 1;
    QTest::newRow("rename") << 1 << "rename:Middle" << QStringList{"A", "Middle", "C"} << 1;
    QTest::newRow("rename trims") << 1 << "rename:  Middle " << QStringList{"A", "Middle", "C"}
                                  << 1;
    QTest::newRow("drag first to the end") << 0 << "drag:3" << QStringList{"B", "C", "A"} << 2;
    QTest::newRow("empty name refused") << 1 << "rename: " << unchanged << 1;
}

void TestScenesEditor::sceneListEdits()
{
    QFETCH(int, current);
    QFETCH(QString, operation);
    QFETCH(QStringList, names);
    QFETCH(int, newCurrent);

    ScenesCore core;
    SceneEditor *editor = core.open(QStringLiteral("List.veldra"), sampleProject());
    QVERIFY(editor);
    auto *list = child<QListWidget>(editor, "sceneList");
    list->setCurrentRow(current);
    QCOMPARE(editor->widget()->currentScene(), current);

    if (operation.startsWith(QLatin1String("rename:"))) {
        list->item(current)->setText(operation.mid(7));
    } else if (operation.startsWith(QLatin1String("drag:"))) {
        // What the list's own drop handling does; the request follows from the event loop.
        QVERIFY(list->model()->moveRow(QModelIndex(), current, QModelIndex(),
                                       operation.mid(5).toInt()));
        QTRY_COMPARE(editor->getDocument()->getUndoStack()->count(), 1);
    } else
        child<QPushButton>(editor, operation.toLatin1().constData())->click();

    const QStringList shown = [list] {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }();
    QCOMPARE(sceneNames(documentOf(editor)->project()), names);
    QCOMPARE(shown, names);
    QCOMPARE(list->currentRow(), newCurrent);
    QCOMPARE(editor->widget()->currentScene(), newCurrent);
    const bool changed = names != QStringList{"A", "B", "C"};
    QCOMPARE(editor->getDocument()->getUndoStack()->count(), changed ? 1 : 0);
}

void TestScenesEditor::mouseDragMovesTextInOneStep()
{
    ScenesCore core;
    SceneEditor *editor = core.open(QStringLiteral("Drag.veldra"), sampleProject());
    QVERIFY(editor);
    StageView *view = editor->widget()->stageView();
    QVERIFY(QTest::qWaitForWindowExposed(view));
    QWidget *viewport = view->viewport();

    const QPoint start = globalPosOf(view, QPointF(400, 140)); // inside "Hello"
    const QPoint end = start + QPoint(60, 35);
    VeldraTest::mousePressAt(viewport, start, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step)
        VeldraTest::mouseMoveTo(viewport, start + (end - start) * step / 4, Qt::LeftButton);
    VeldraTest::mouseReleaseAt(viewport, end, Qt::LeftButton);

    const QPointF distance = view->mapToScene(viewport->mapFromGlobal(end)) -
                             view->mapToScene(viewport->mapFromGlobal(start));
    const Project &project = documentOf(editor)->project();
    QCOMPARE(project.scenes[0].elements[0].geometry.topLeft(), QPointF(100, 80) + distance);
    QCOMPARE(project.scenes[0].elements[1], sampleProject().scenes[0].elements[1]);
    QCOMPARE(editor->getDocument()->getUndoStack()->count(), 1);
    QCOMPARE(view->selectedElements(), {0});
    QCOMPARE(view->itemOfElement(0)->pos(), QPointF(100, 80) + distance);

    command("Edit.Undo")->trigger();
    QCOMPARE(documentOf(editor)->project(), sampleProject());
    QCOMPARE(view->itemOfElement(0)->pos(), QPointF(100, 80));
}

void TestScenesEditor::deleteKeyRemovesSelectedTexts_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("nothing selected") << QList<int>() << QStringList{"Hello", "World"};
    QTest::newRow("first") << QList<int>{0} << QStringList{"World"};
    QTest::newRow("second") << QList<int>{1} << QStringList{"Hello"};
    QTest::newRow("both") << QList<int>{0, 1} << QStringList();
}

void TestScenesEditor::deleteKeyRemovesSelectedTexts()
{
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, left);

    ScenesCore core;
    SceneEditor *editor = core.open(QStringLiteral("Delete.veldra"), sampleProject());
    QVERIFY(editor);
    StageView *view = editor->widget()->stageView();
    for (int element : selected)
        view->itemOfElement(element)->setSelected(true);
    QTest::keyClick(view, Qt::Key_Delete);

    QStringList texts;
    for (const TextElement &element : documentOf(editor)->project().scenes[0].elements)
        texts.append(element.text);
    QCOMPARE(texts, left);
    QCOMPARE(editor->getDocument()->getUndoStack()->count(), selected.isEmpty() ? 0 : 1);
    command("Edit.Undo")->trigger();
    QCOMPARE(documentOf(editor)->project(), sampleProject());
}

void TestScenesEditor::addTextIsCentredAndSelected()
{
    ScenesCore core;
    SceneEditor *editor = core.open(QStringLiteral("Add.veldra"), sampleProject());
    QVERIFY(editor);
    child<QListWidget>(editor, "sceneList")->setCurrentRow(1);
    child<QPushButton>(editor, "addTextButton")->click();

    const Scene &scene = documentOf(editor)->project().scenes[1];
    QCOMPARE(scene.elements.size(), 1);
    QCOMPARE(scene.elements[0].geometry.center(), QPointF(640, 360));
    QCOMPARE(editor->widget()->stageView()->selectedElements(), {0});
    QCOMPARE(child<QLineEdit>(editor, "elementTextEdit")->text(), scene.elements[0].text);
    QVERIFY(child<QLineEdit>(editor, "elementTextEdit")->isEnabled());

    // Without a scene there is nothing to add a text to.
    for (int i = 0; i < 3; ++i)
        child<QPushButton>(editor, "removeSceneButton")->click();
    QVERIFY(documentOf(editor)->project().scenes.isEmpty());
    QVERIFY(!child<QPushButton>(editor, "addTextButton")->isEnabled());
}

void TestScenesEditor::propertiesPanelEditsSelectedText_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<TextElement>("expected");

    TextElement world = sampleProject().scenes[0].elements[1];
    TextElement renamed = world, bigger = world, zoomed = world, slower = world;
    renamed.text = QStringLiteral("Planet");
    bigger.fontSize = 72;
    zoomed.entrance = TextElement::Entrance::Zoom;
    slower.entranceDuration = 1500;
    QTest::newRow("text") << "elementTextEdit" << QVariant("Planet") << renamed;
    QTest::newRow("font size") << "fontSizeSpin" << QVariant(72) << bigger;
    QTest::newRow("entrance") << "entranceCombo" << QVariant(int(zoomed.entrance)) << zoomed;
    QTest::newRow("duration") << "entranceDurationSpin" << QVariant(1500) << slower;
}

void TestScenesEditor::propertiesPanelEditsSelectedText()
{
    QFETCH(QString, widget);
    QFETCH(QVariant, value);
    QFETCH(TextElement, expected);

    ScenesCore core;
    SceneEditor *editor = core.open(QStringLiteral("Properties.veldra"), sampleProject());
    QVERIFY(editor);
    StageView *view = editor->widget()->stageView();
    view->itemOfElement(1)->setSelected(true);

    QWidget *field = editor->widget()->findChild<QWidget *>(widget);
    if (auto *line = qobject_cast<QLineEdit *>(field)) {
        line->setText(value.toString());
        emit line->editingFinished();
    } else if (auto *spin = qobject_cast<QSpinBox *>(field)) {
        spin->setValue(value.toInt());
    } else if (auto *combo = qobject_cast<QComboBox *>(field)) {
        combo->setCurrentIndex(combo->findData(value));
        emit combo->activated(combo->currentIndex());
    }

    const Scene &scene = documentOf(editor)->project().scenes[0];
    QCOMPARE(scene.elements[1], expected);
    QCOMPARE(scene.elements[0], sampleProject().scenes[0].elements[0]);
    QCOMPARE(editor->getDocument()->getUndoStack()->count(), 1);
    QCOMPARE(view->selectedElements(), {1});
}

void TestScenesEditor::closeButtonAsksTheDocument_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("closed");

    QTest::newRow("unmodified") << false << int(QMessageBox::Cancel) << 0 << true;
    QTest::newRow("modified, cancel") << true << int(QMessageBox::Cancel) << 1 << false;
    QTest::newRow("modified, no") << true << int(QMessageBox::No) << 1 << true;
}

void TestScenesEditor::closeButtonAsksTheDocument()
{
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(int, questions);
    QFETCH(bool, closed);

    ScenesCore core;
    MessageBoxAnswerer answerer(static_cast<QMessageBox::StandardButton>(answer));
    SceneEditor *editor = core.open(QStringLiteral("Close.veldra"), sampleProject());
    QVERIFY(editor);
    if (edited)
        child<QPushButton>(editor, "addSceneButton")->click();
    QPointer<QMdiSubWindow> subWindow = editor->subWindow();
    QPointer<SceneEditor> watched = editor;

    QVERIFY(!subWindow->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(answerer.count(), questions);
    QCOMPARE(subWindow.isNull(), closed);
    QCOMPARE(watched.isNull(), closed);
    QCOMPARE(DocumentManager::getDocuments().size(), closed ? 0 : 1);
    QCOMPARE(core.window()->getMdiArea()->subWindowList().size(), closed ? 0 : 1);
}

void TestScenesEditor::newEditSaveCloseReopenFromRecentList()
{
    ScenesCore core;
    const QString folder = core.path(QString());
    ModalDialogAnswerer *newProject = ModalDialogAnswerer::answerNext<CreateProjectDialog>(
            [folder](CreateProjectDialog *dialog) {
                dialog->findChild<QLineEdit *>(QStringLiteral("nameEdit"))->setText("Tour");
                dialog->findChild<QLineEdit *>(QStringLiteral("folderEdit"))->setText(folder);
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            });
    QScopedPointer<ModalDialogAnswerer> newProjectOwner(newProject);
    command("File.New")->trigger();
    QVERIFY(newProject->answered());

    auto *editor = qobject_cast<SceneEditor *>(EditorManager::activeEditor());
    QVERIFY(editor && editor->subWindow());
    const QString file = editor->getDocument()->getFileName();
    QCOMPARE(QFileInfo(file).completeBaseName(), QStringLiteral("Tour"));
    QVERIFY(QFileInfo::exists(file));

    child<QPushButton>(editor, "addSceneButton")->click();
    child<QPushButton>(editor, "addTextButton")->click();
    child<QPushButton>(editor, "addTextButton")->click();
    QVERIFY(command("File.Save")->isEnabled());
    const Project edited = documentOf(editor)->project();
    QCOMPARE(edited.scenes.size(), 2);
    QCOMPARE(edited.scenes[1].elements.size(), 2);

    command("File.Save")->trigger();
    QVERIFY(!command("File.Save")->isEnabled());
    MessageBoxAnswerer noQuestionExpected(QMessageBox::Cancel);
    command("File.Close")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(noQuestionExpected.count(), 0);
    QVERIFY(EditorManager::getEditors().isEmpty());
    QVERIFY(core.window()->getMdiArea()->subWindowList().isEmpty());

    QAction *recent = command("File.Recent_Projects.Project_1");
    QCOMPARE(recent->data().toString(), file);
    recent->trigger();
    editor = qobject_cast<SceneEditor *>(EditorManager::activeEditor());
    QVERIFY(editor && editor->subWindow());
    QCOMPARE(documentOf(editor)->project(), edited);
    QCOMPARE(child<QListWidget>(editor, "sceneList")->count(), 2);
    QVERIFY(!command("File.Save")->isEnabled());
}

VELDRA_TEST_MAIN(TestScenesEditor)
#include "tst_sceneseditor.moc"
