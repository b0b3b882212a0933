#include "corefixture.h"
#include "editormanager.h"
#include "testdocument.h"
#include "testeditor.h"
#include "testmain.h"

#include <QSignalSpy>

#include <memory>
#include <vector>

namespace {

// The events of one change of the active editor, leaving out the side that is empty. A dying
// editor no longer emits its own signals.
QStringList handOver(const QString &from, const QString &to, bool fromDying = false)
{
    QStringList events;
    if (!from.isEmpty() && !fromDying)
        events << from + ".aboutToDeactivate";
    if (!from.isEmpty())
        events << "deactivated(" + from + ')';
    if (!to.isEmpty())
        events << to + ".aboutToActivate"
               << "activated(" + to + ')';
    return events;
}

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void forwardsDocumentSignals();
    void registryRules();
    void activeEditorChanges_data();
    void activeEditorChanges();

private:
    // Creates the editors "e0" to "e3", registers the first ones and records, in order, their
    // activation signals and the registry's announcements as "e1.aboutToActivate" or
    // "activated(e1)".
    void createEditors(int registered);
    IEditor *editorAt(int index) const;

    std::unique_ptr<CoreFixture> m_fixture;
    std::vector<std::unique_ptr<TestEditor>> m_editors;
    QHash<const IEditor *, QString> m_names;
    QStringList m_events;
};

void TestEditors::init()
{
    m_fixture = std::make_unique<CoreFixture>();
    m_events.clear();
}

void TestEditors::cleanup()
{
    m_editors.clear();
    m_names.clear();
    m_fixture.reset();
}

void TestEditors::createEditors(int registered)
{
    for (int i = 0; i < 4; ++i) {
        auto editor = std::make_unique<TestEditor>();
        const QString name = QStringLiteral("e%1").arg(i);
        connect(editor.get(), &IEditor::aboutToActivate, this,
                [this, name] { m_events << name + ".aboutToActivate"; });
        connect(editor.get(), &IEditor::aboutToDeactivate, this,
                [this, name] { m_events << name + ".aboutToDeactivate"; });
        m_names.insert(editor.get(), name);
        m_editors.push_back(std::move(editor));
        if (i < registered)
            EditorManager::addEditor(editorAt(i));
    }
    EditorManager *manager = EditorManager::getInstance();
    connect(manager, &EditorManager::editorActivated, this,
            [this](IEditor *editor) { m_events << "activated(" + m_names.value(editor) + ')'; });
    // The editor may be in the middle of its destruction here: only its address is used.
    connect(manager, &EditorManager::editorDeactivated, this,
            [this](IEditor *editor) { m_events << "deactivated(" + m_names.value(editor) + ')'; });
}

IEditor *TestEditors::editorAt(int index) const
{
    return index < 0 ? nullptr : m_editors.at(size_t(index)).get();
}

// Each forwarded signal shows once in the editor's log, in order; the others not at all.
void TestEditors::forwardsDocumentSignals()
{
    TestDocument document, later;
    TestEditor editor(document.callLog());
    editor.setDocument(&document);
    QCOMPARE(editor.getDocument(), &document);
    QSignalSpy dataChanged(&editor, &IEditor::documentDataChanged);
    QSignalSpy modifyChanged(&editor, &IEditor::documentModifyChanged);
    QObject payload;

    emit document.aboutToOpen();
    emit document.dataChanged(&payload);
    emit document.aboutToClose();
    emit document.titleChanged();
    emit document.modifyChanged(true);
    emit document.undoStackChanged();
    emit document.statusChanged(QStringLiteral("tip"));
    emit document.requestClosing(true);
    QCOMPARE(editor.callLog()->calls(),
             (QStringList{"TestEditor::documentLoaded", "TestEditor::documentDataChanged",
                          "TestEditor::documentUnloading", "TestEditor::documentTitleChanged",
                          "TestEditor::documentModifyChanged", "TestEditor::undoStackChanged"}));
    QCOMPARE(dataChanged.first().first().value<QObject *>(), &payload);
    QCOMPARE(modifyChanged.first().first().toBool(), true);

    // The earlier document stays connected.
    editor.callLog()->clear();
    editor.setDocument(&later);
    QCOMPARE(editor.getDocument(), &later);
    emit document.titleChanged();
    emit later.titleChanged();
    QCOMPARE(editor.callLog()->count(QStringLiteral("TestEditor::documentTitleChanged")), 2);
    editor.setDocument(nullptr);
    QVERIFY(!editor.getDocument());
}

void TestEditors::registryRules()
{
    createEditors(0);
    TestDocument document, lonely;
    m_editors[0]->setDocument(&document);
    m_editors[1]->setDocument(&document);

    QTest::ignoreMessage(QtWarningMsg, "EditorManager::addEditor: the editor is null");
    EditorManager::addEditor(nullptr);
    for (int index : {0, 1, 0})
        EditorManager::addEditor(editorAt(index));
    QCOMPARE(EditorManager::getEditors(), (QList<IEditor *>{editorAt(0), editorAt(1)}));
    QVERIFY(!EditorManager::activeEditor());
    QVERIFY(m_events.isEmpty());

    QCOMPARE(EditorManager::getEditorOfDocument(&document), editorAt(0));
    QVERIFY(!EditorManager::getEditorOfDocument(&lonely));
    QVERIFY(!EditorManager::getEditorOfDocument(nullptr));

    QVERIFY(EditorManager::removeEditor(nullptr));
    QVERIFY(!EditorManager::removeEditor(editorAt(2)));
    QCOMPARE(EditorManager::getEditors().size(), 2);

    m_fixture->destroyMainWindow();
    QVERIFY(!EditorManager::getInstance());
    QVERIFY(EditorManager::getEditors().isEmpty());
    QVERIFY(!EditorManager::activeEditor());
}

void TestEditors::activeEditorChanges_data()
{
    QTest::addColumn<int>("registered"); // e0 ... e3 exist, the first ones are registered
    QTest::addColumn<int>("active");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("newActive");

    const QStringList none;
    QTest::newRow("none to e0") << 2 << -1 << "activate" << 0 << handOver("", "e0") << 0;
    QTest::newRow("e0 to e1") << 2 << 0 << "activate" << 1 << handOver("e0", "e1") << 1;
    QTest::newRow("e0 again") << 2 << 0 << "activate" << 0 << none << 0;
    QTest::newRow("e0 to none") << 2 << 0 << "activate" << -1 << handOver("e0", "") << -1;
    QTest::newRow("none to none") << 2 << -1 << "activate" << -1 << none << -1;
    QTest::newRow("e0 to unregistered e2")
            << 2 << 0 << "activate" << 2 << handOver("e0", "e2") << 2;
    QTest::newRow("remove active middle") << 3 << 1 << "remove" << 1 << handOver("e1", "e2") << 2;
    QTest::newRow("remove active last") << 3 << 2 << "remove" << 2 << handOver("e2", "e1") << 1;
    QTest::newRow("remove active first") << 3 << 0 << "remove" << 0 << handOver("e0", "e1") << 1;
    QTest::newRow("remove only editor") << 1 << 0 << "remove" << 0 << handOver("e0", "") << -1;
    QTest::newRow("remove inactive") << 3 << 0 << "remove" << 2 << none << 0;
    QTest::newRow("remove, none active") << 3 << -1 << "remove" << 1 << none << -1;
    QTest::newRow("delete active middle")
            << 3 << 1 << "delete" << 1 << handOver("e1", "e2", true) << 2;
    QTest::newRow("delete only editor")
            << 1 << 0 << "delete" << 0 << handOver("e0", "", true) << -1;
    QTest::newRow("delete inactive") << 3 << 2 << "delete" << 0 << none << 2;
    QTest::newRow("delete active unregistered")
            << 1 << 1 << "delete" << 1 << handOver("e1", "", true) << -1;
}

void TestEditors::activeEditorChanges()
{
    QFETCH(int, registered);
    QFETCH(int, active);
    QFETCH(QString, action);
    QFETCH(int, target);
    QFETCH(QStringList, events);
    QFETCH(int, newActive);
    createEditors(registered);
    QList<IEditor *> remaining = EditorManager::getEditors();
    EditorManager::activateEditor(editorAt(active));
    IEditor *expectedActive = editorAt(newActive);
    m_events.clear();

    if (action == "activate") {
        EditorManager::activateEditor(editorAt(target));
    } else {
        remaining.removeOne(editorAt(target));
        if (action == "delete")
            m_editors[size_t(target)].reset();
        else
            QVERIFY(EditorManager::removeEditor(editorAt(target)));
    }
    QCOMPARE(m_events, events);
    QCOMPARE(EditorManager::getEditors(), remaining);
    QCOMPARE(EditorManager::activeEditor(), expectedActive);
}

VELDRA_TEST_MAIN(TestEditors)
#include "tst_editors.moc"
