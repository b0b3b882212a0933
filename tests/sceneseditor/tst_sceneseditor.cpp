#include "actioncontainer.h"
#include "actionmanager.h"
#include "atomicfile.h"
#include "contextaction.h"
#include "contextmanager.h"
#include "corefixture.h"
#include "createprojectdialog.h"
#include "documentmanager.h"
#include "editcommands.h"
#include "editormanager.h"
#include "filedialoganswerer.h"
#include "imainmdiarea.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modaldialoganswerer.h"
#include "mouseevents.h"
#include "projectcommands.h"
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
#include <QUndoStack>

#include <functional>

using EditorAction = std::function<void(SceneEditor *)>;
using Expect = std::function<void(Project &)>;
Q_DECLARE_METATYPE(EditorAction)
Q_DECLARE_METATYPE(Expect)

namespace {

// The core with the scenes project type and its commands, window shown.
class ScenesCore
{
public:
    ScenesCore()
    {
        ExtensionSystem::PluginManager::addObject(&m_factory);
        window()->resize(1200, 800);
        window()->show();
    }
    ~ScenesCore()
    {
        const QList<IDocument *> documents = DocumentManager::getDocuments(); // closing edits it
        for (IDocument *document : documents)
            emit document->requestClosing(false);
        ExtensionSystem::PluginManager::removeObject(&m_factory);
    }

    MainWindow *window() const { return m_core.mainWindow(); }
    QString path(const QString &name) const { return m_core.filePath(name); }

    SceneEditor *open(const QString &name, const Project &project)
    {
        if (AtomicFile::write(path(name), ProjectFormat::write(project), nullptr))
            window()->loadFile(path(name));
        return qobject_cast<SceneEditor *>(EditorManager::activeEditor());
    }

private:
    CoreFixture m_core;
    SceneDocumentFactory m_factory;
    EditCommands m_editCommands;
    ProjectCommands m_projectCommands;
};

Project sampleProject()
{
    Project project{1280, 720, 30, {Scene(), Scene(), Scene()}};
    project.scenes[0].name = "A", project.scenes[1].name = "B", project.scenes[2].name = "C";
    project.scenes[0].elements = {TextElement{"Hello", QRectF(100, 80, 600, 120)},
                                  TextElement{"World", QRectF(100, 400, 600, 120)}};
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

template<typename T>
T *child(SceneEditor *editor, const char *name)
{
    return editor->widget()->findChild<T *>(QLatin1String(name));
}

EditorAction click(int scene, const char *button)
{
    return [=](SceneEditor *editor) {
        child<QListWidget>(editor, "sceneList")->setCurrentRow(scene);
        child<QPushButton>(editor, button)->click();
    };
}

// Selects the second text of the first scene and changes one field of the properties panel.
EditorAction editSecondText(const char *field, const QVariant &value)
{
    return [=](SceneEditor *editor) {
        editor->widget()->stageView()->itemOfElement(1)->setSelected(true);
        QWidget *widget = child<QWidget>(editor, field);
        if (auto *line = qobject_cast<QLineEdit *>(widget)) {
            line->setText(value.toString());
            emit line->editingFinished();
        } else if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
            spin->setValue(value.toInt());
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            combo->setCurrentIndex(combo->findData(value));
            emit combo->activated(combo->currentIndex());
        }
    };
}

} // namespace

class TestScenesEditor : public QObject
{
    Q_OBJECT

private slots:
    void editsThroughTheSurface_data()
    {
        QTest::addColumn<EditorAction>("action");
        QTest::addColumn<Expect>("expect");
        QTest::addColumn<int>("current");         // the scene shown afterwards
        QTest::addColumn<QList<int>>("selected"); // the texts selected afterwards
        const auto row = [](const Expect &expect, const EditorAction &action, int current,
                            const char *tag, const QList<int> &selected = {}) {
            QTest::newRow(tag) << action << expect << current << selected;
        };
        using P = Project &;
        using E = SceneEditor *;
        const Scene fourth{"Scene 4", Scene().background, 4000, {}};
        row([=](P p) { p.scenes.insert(2, fourth); }, click(1, "addSceneButton"), 2,
            "add scene after current");
        row([](P p) { p.scenes.removeAt(1); }, click(1, "removeSceneButton"), 1, "remove scene");
        row([](P p) { p.scenes.move(2, 1); }, click(2, "moveSceneUpButton"), 1, "move up");
        row([](P p) { p.scenes[1].name = "Middle"; },
            [](E e) { child<QListWidget>(e, "sceneList")->item(1)->setText("  Middle "); }, 1,
            "rename trims");
        row([](P p) { p.scenes[0].elements.clear(); },
            [](E e) {
                for (QGraphicsItem *item : e->widget()->stageView()->items())
                    item->setSelected(true);
                // The key reaches the editor's command only while the editor has the focus.
                QApplication::setActiveWindow(e->widget()->window());
                e->widget()->stageView()->setFocus();
                QTest::keyClick(e->widget()->stageView(), Qt::Key_Delete);
            },
            0, "delete both");
        row([](P p) { p.scenes[0].elements[1].text = "Planet"; },
            editSecondText("elementTextEdit", "Planet"), 0, "text", {1});
        row([](P p) { p.scenes[0].elements[1].entrance = TextElement::Entrance::Zoom; },
            editSecondText("entranceCombo", int(TextElement::Entrance::Zoom)), 0, "entrance", {1});
        row([](P p) { p.scenes[0].elements[1].entranceDuration = 1500; },
            editSecondText("entranceDurationSpin", 1500), 0, "entrance duration", {1});
        row([](P p) { p.scenes[0].elements[1].geometry.moveLeft(680); },
            editSecondText("elementXSpin", 5000), 0, "x past the stage", {1});
    }

    // Each edit reaches the document as one undo step, and the list and canvas show the result.
    void editsThroughTheSurface()
    {
        QFETCH(EditorAction, action);
        QFETCH(Expect, expect);
        QFETCH(int, current);
        QFETCH(QList<int>, selected);
        ScenesCore core;
        SceneEditor *editor = core.open("Edit.veldra", sampleProject());
        QVERIFY(editor);
        Project expected = sampleProject();
        expect(expected);
        action(editor);

        QTRY_COMPARE(documentOf(editor)->project(), expected);
        QListWidget *list = child<QListWidget>(editor, "sceneList");
        QCOMPARE(list->count(), expected.scenes.size());
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->item(i)->text(), expected.scenes[i].name);
        QCOMPARE(list->currentRow(), current);
        QCOMPARE(editor->widget()->currentScene(), current);
        QCOMPARE(editor->widget()->stageView()->selectedElements(), selected);
        QCOMPARE(editor->getDocument()->getUndoStack()->count(),
                 expected == sampleProject() ? 0 : 1);
        command("Edit.Undo")->trigger();
        QCOMPARE(documentOf(editor)->project(), sampleProject());
    }

    // Opening pulls texts off the stage or between pixels onto it in one undo step; every drag and
    // every nudge is one more, and leaves the text at whole pixels.
    void dragAndNudgeKeepTextOnStage()
    {
        ScenesCore core;
        Project offStage = sampleProject();
        offStage.scenes[2].elements = {TextElement{"Low", QRectF(-300.4, 700, 600, 120)},
                                       TextElement{"Wide", QRectF(5000, 10.6, 2000, 50)}};
        SceneEditor *editor = core.open("Drag.veldra", offStage);
        QVERIFY(editor);
        Project pulled = offStage;
        pulled.scenes[2].elements[0].geometry.moveTopLeft({0, 600});
        pulled.scenes[2].elements[1].geometry.moveTopLeft({0, 11});
        QCOMPARE(documentOf(editor)->project(), pulled);
        QVERIFY(editor->subWindow()->isWindowModified());
        child<QListWidget>(editor, "sceneList")->setCurrentRow(0);
        StageView *view = editor->widget()->stageView();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QWidget *viewport = view->viewport();

        const QPoint start = viewport->mapToGlobal(view->mapFromScene(QPointF(400, 140)));
        const QPoint end = start + QPoint(60, 35);
        VeldraTest::mousePressAt(viewport, start, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step)
            VeldraTest::mouseMoveTo(viewport, start + (end - start) * step / 4, Qt::LeftButton);
        VeldraTest::mouseReleaseAt(viewport, end, Qt::LeftButton);
        const QPointF dragged = QPointF(100, 80) + view->mapToScene(viewport->mapFromGlobal(end)) -
                                view->mapToScene(viewport->mapFromGlobal(start));
        const QPointF moved(qRound(dragged.x()), qRound(dragged.y()));
        QCOMPARE(documentOf(editor)->project().scenes[0].elements[0].geometry.topLeft(), moved);
        QCOMPARE(view->selectedElements(), {0});
        QCOMPARE(child<QSpinBox>(editor, "elementXSpin")->value(), int(moved.x()));

        QTest::keyClick(view, Qt::Key_Right);
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Left, Qt::ControlModifier); // not a nudge
        const Project &project = documentOf(editor)->project();
        QCOMPARE(project.scenes[0].elements[0].geometry.topLeft(), moved + QPointF(1, 10));
        QCOMPARE(project.scenes[0].elements[1], sampleProject().scenes[0].elements[1]);
        QCOMPARE(editor->getDocument()->getUndoStack()->count(), 4);
        QCOMPARE(child<QSpinBox>(editor, "elementYSpin")->value(), int(moved.y() + 10));

        command("Edit.Undo")->trigger();
        QCOMPARE(project.scenes[0].elements[0].geometry.topLeft(), moved + QPointF(1, 0));
        QCOMPARE(view->itemOfElement(0)->pos(), project.scenes[0].elements[0].geometry.topLeft());
    }

    // A new project's maximised tab: Undo, Redo and Save follow it, Save As moves it, closing asks
    // before changes are dropped, and the recent list reopens it as it was saved.
    void newEditSaveCloseReopenFromRecentList()
    {
        ScenesCore core;
        QSignalSpy titleMarks(core.window(), &MainWindow::updateModified);
        const auto fillIn = [folder = core.path(QString())](CreateProjectDialog *dialog) {
            dialog->findChild<QLineEdit *>("nameEdit")->setText("Tour");
            dialog->findChild<QLineEdit *>("folderEdit")->setText(folder);
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        };
        QScopedPointer<ModalDialogAnswerer> newProject(
                ModalDialogAnswerer::answerNext<CreateProjectDialog>(fillIn));
        command("File.New")->trigger();
        QVERIFY(newProject->answered());
        auto *editor = qobject_cast<SceneEditor *>(EditorManager::activeEditor());
        QVERIFY(editor && editor->subWindow());
        QMdiSubWindow *subWindow = editor->subWindow();
        const QString file = editor->getDocument()->getFileName();
        QCOMPARE(QFileInfo(file).completeBaseName(), QStringLiteral("Tour"));
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(subWindow->windowFilePath(), file);
        QCOMPARE(core.window()->getMdiArea()->activeSubWindow(), subWindow);
        QVERIFY(subWindow->isMaximized());
        StageView *view = editor->widget()->stageView();
        QCOMPARE(view->sceneRect(), QRectF(0, 0, 1280, 720));
        QCOMPARE(ContextManager::getActiveContext(view).id, QStringLiteral("Scenes.Editor"));
        ActionManager::setContext(editor->widget()); // with the editor's own scene preview
        auto *preview =
                static_cast<ProxyAction *>(command("File.Preview_Current_Scene_In_Browser"));
        QCOMPARE(preview->action(), editor->widget()->previewSceneAction());

        const QList<QAction *> edit =
                ActionManager::getActionContainer("MenuBar.Edit")->getMenu()->actions();
        QCOMPARE(edit.size(), 4);
        QCOMPARE(edit.mid(0, 2), QList<QAction *>({command("Edit.Undo"), command("Edit.Redo")}));
        QVERIFY(edit.at(2)->isSeparator() && edit.at(3) == command("Edit.Preferences"));
        QCOMPARE(edit.at(0)->shortcut(), QKeySequence(QKeySequence::Undo));
        QCOMPARE(edit.at(1)->shortcut(), QKeySequence(QKeySequence::Redo));
        QAction *save = command("File.Save");
        const auto expectState = [&](bool bModified, int nScenes) {
            QCOMPARE(save->isEnabled(), bModified);
            QCOMPARE(subWindow->isWindowModified(), bModified);
            QCOMPARE(titleMarks.last().at(0).toBool(), bModified);
            QCOMPARE(documentOf(editor)->project().scenes.size(), nScenes);
        };
        QVERIFY(!edit.at(0)->isEnabled());
        child<QPushButton>(editor, "addSceneButton")->click();
        expectState(true, 2);
        QCOMPARE(command("Edit.Undo")->text(), tr("Undo %1").arg("Add Scene"));
        command("Edit.Undo")->trigger();
        expectState(false, 1);
        command("Edit.Redo")->trigger();
        expectState(true, 2);

        // New texts go into the current scene, the first one centred, the next one below it (not
        // hiding it), the last one selected.
        child<QPushButton>(editor, "addTextButton")->click();
        child<QPushButton>(editor, "addTextButton")->click();
        const Project edited = documentOf(editor)->project();
        QCOMPARE(edited.scenes[1].elements.size(), 2);
        QCOMPARE(edited.scenes[1].elements[0].geometry.center(), QPointF(640, 360));
        QCOMPARE(edited.scenes[1].elements[1].geometry.top(),
                 edited.scenes[1].elements[0].geometry.bottom());
        QCOMPARE(view->selectedElements(), {1});
        QVERIFY(view->itemOfElement(1) && !view->itemOfElement(2));
        save->trigger();
        expectState(false, 2);

        QCOMPARE(command("File.SaveAs.Project")->shortcut(), QKeySequence("Ctrl+Shift+S"));
        FileDialogAnswerer saveAs;
        saveAs.enqueue(core.path("Copy"));
        command("File.SaveAs.Project")->trigger();
        const QString copy = core.path("Copy.veldra");
        QCOMPARE(editor->getDocument()->getFileName(), copy);
        QCOMPARE(subWindow->windowFilePath(), copy);
        QVERIFY(core.window()->menuWidget()->windowTitle().startsWith(copy));
        QVERIFY(QFileInfo::exists(file) && QFileInfo::exists(copy));

        MessageBoxAnswerer answerer(QMessageBox::Cancel);
        documentOf(editor)->removeScene(0);
        for (int questions : {1, 2}) {
            QVERIFY(!subWindow->close());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(answerer.count(), questions);
            QCOMPARE(EditorManager::getEditors().size(), 2 - questions);
            answerer.setDefaultAnswer(QMessageBox::No);
        }
        QVERIFY(DocumentManager::getDocuments().isEmpty());
        QVERIFY(core.window()->getMdiArea()->subWindowList().isEmpty());
        QVERIFY(!command("File.Close")->isEnabled() &&
                !command("File.SaveAs.Project")->isEnabled());

        QAction *recent = command("File.Recent_Projects.Project_2");
        QTRY_COMPARE(recent->data().toString(), file);
        QCOMPARE(command("File.Recent_Projects.Project_1")->data().toString(), copy);
        recent->trigger();
        editor = qobject_cast<SceneEditor *>(EditorManager::activeEditor());
        QVERIFY(editor && editor->subWindow());
        QCOMPARE(documentOf(editor)->project(), edited);
        QVERIFY(!command("File.Save")->isEnabled());
    }
};

VELDRA_TEST_MAIN(TestScenesEditor)
#include "tst_sceneseditor.moc"
