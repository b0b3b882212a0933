#include "corefixture.h"
#include "editormanager.h"
#include "testdocument.h"
#include "testeditor.h"
#include "testmain.h"

#include <QSignalSpy>

#include <memory>
#include <vector>

namespace {

// Emits one of the document's signals by name, with a fixed argument where it takes one.
void emitDocumentSignal(IDocument *document, const QByteArray &name, QObject *payload)
{
    bool invoked = false;
    if (name == "dataChanged")
        invoked = QMetaObject::invokeMethod(document, name.constData(), Q_ARG(QObject *, payload));
    else if (name == "modifyChanged" || name == "requestClosing")
        invoked = QMetaObject::invokeMethod(document, name.constData(), Q_ARG(bool, true));
    else if (name == "statusChanged")
        invoked = QMetaObject::invokeMethod(document, name.constData(),
                                            Q_ARG(QString, QStringLiteral("tip")));
    else
        invoked = QMetaObject::invokeMethod(document, name.constData());
    QVERIFY2(invoked, name.constData());
}

QStringList methodSignatures(const QMetaObject &metaObject)
{
    QStringList result;
    for (int i = metaObject.methodOffset(); i < metaObject.methodCount(); ++i)
        result.append(QString::fromLatin1(metaObject.method(i).methodSignature()));
    return result;
}

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void signalForwarding_data();
    void signalForwarding();
    void earlierDocumentStaysConnected();
    void registryRules();
    void activation_data();
    void activation();
    void removal_data();
    void removal();
    void deletedUnregisteredActiveEditor();

private:
    // Creates editors "e0", "e1", ... and records, in order, their activation signals and the
    // registry's announcements as "e1.aboutToActivate" or "activated(e1)".
    void createEditors(int count);
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

void TestEditors::createEditors(int count)
{
    for (int i = 0; i < count; ++i) {
        auto editor = std::make_unique<TestEditor>();
        const QString name = QStringLiteral("e%1").arg(i);
        editor->setObjectName(name);
        connect(editor.get(), &IEditor::aboutToActivate, this,
                [this, name] { m_events.append(name + QStringLiteral(".aboutToActivate")); });
        connect(editor.get(), &IEditor::aboutToDeactivate, this,
                [this, name] { m_events.append(name + QStringLiteral(".aboutToDeactivate")); });
        m_names.insert(editor.get(), name);
        m_editors.push_back(std::move(editor));
    }
    EditorManager *manager = EditorManager::getInstance();
    connect(manager, &EditorManager::editorActivated, this, [this](IEditor *editor) {
        m_events.append(QStringLiteral("activated(%1)").arg(m_names.value(editor)));
    });
    // The editor may be in the middle of its destruction here: only its address is used.
    connect(manager, &EditorManager::editorDeactivated, this, [this](IEditor *editor) {
        m_events.append(QStringLiteral("deactivated(%1)").arg(m_names.value(editor)));
    });
}

IEditor *TestEditors::editorAt(int index) const
{
    return index < 0 ? nullptr : m_editors.at(size_t(index)).get();
}

void TestEditors::signalForwarding_data()
{
    QTest::addColumn<QByteArray>("documentSignal");
    QTest::addColumn<QStringList>("editorCalls");

    QTest::newRow("aboutToOpen") << QByteArray("aboutToOpen")
                                 << QStringList{"TestEditor::documentLoaded"};
    QTest::newRow("dataChanged") << QByteArray("dataChanged")
                                 << QStringList{"TestEditor::documentDataChanged"};
    QTest::newRow("aboutToClose") << QByteArray("aboutToClose")
                                  << QStringList{"TestEditor::documentUnloading"};
    QTest::newRow("titleChanged") << QByteArray("titleChanged")
                                  << QStringList{"TestEditor::documentTitleChanged"};
    QTest::newRow("modifyChanged")
            << QByteArray("modifyChanged") << QStringList{"TestEditor::documentModifyChanged"};
    QTest::newRow("undoStackChanged")
            << QByteArray("undoStackChanged") << QStringList{"TestEditor::undoStackChanged"};
    QTest::newRow("statusChanged is not forwarded") << QByteArray("statusChanged") << QStringList();
    QTest::newRow("requestClosing is not forwarded")
            << QByteArray("requestClosing") << QStringList();
}

void TestEditors::signalForwarding()
{
    QFETCH(QByteArray, documentSignal);
    QFETCH(QStringList, editorCalls);

    TestDocument document;
    TestEditor editor(document.callLog());
    editor.setDocument(&document);
    QCOMPARE(editor.getDocument(), &document);
    QSignalSpy dataChanged(&editor, &IEditor::documentDataChanged);
    QSignalSpy modifyChanged(&editor, &IEditor::documentModifyChanged);

    QObject payload;
    emitDocumentSignal(&document, documentSignal, &payload);
    QCOMPARE(editor.callLog()->calls(), editorCalls);
    // Arguments travel unchanged.
    if (!dataChanged.isEmpty())
        QCOMPARE(dataChanged.first().first().value<QObject *>(), &payload);
    if (!modifyChanged.isEmpty())
        QCOMPARE(modifyChanged.first().first().toBool(), true);
}

void TestEditors::earlierDocumentStaysConnected()
{
    TestDocument first;
    TestDocument second;
    TestEditor editor;
    editor.setDocument(&first);
    editor.setDocument(&second);
    QCOMPARE(editor.getDocument(), &second);

    emit first.titleChanged();
    emit second.titleChanged();
    QCOMPARE(editor.callLog()->count(QStringLiteral("TestEditor::documentTitleChanged")), 2);

    editor.setDocument(nullptr);
    QVERIFY(!editor.getDocument());
}

void TestEditors::registryRules()
{
    const QStringList expectedMethods = {"editorActivated(IEditor*)", "editorDeactivated(IEditor*)",
                                         "activateEditor(IEditor*)", "editorDestroyed(QObject*)"};
    QCOMPARE(methodSignatures(EditorManager::staticMetaObject), expectedMethods);

    createEditors(2);
    TestDocument document;
    TestDocument lonely;
    m_editors[0]->setDocument(&document);
    m_editors[1]->setDocument(&document);

    QTest::ignoreMessage(QtWarningMsg, "EditorManager::addEditor: the editor is null");
    EditorManager::addEditor(nullptr);
    EditorManager::addEditor(editorAt(0));
    EditorManager::addEditor(editorAt(1));
    EditorManager::addEditor(editorAt(0));
    QCOMPARE(EditorManager::getEditors(), (QList<IEditor *>{editorAt(0), editorAt(1)}));
    QVERIFY(!EditorManager::activeEditor());
    QVERIFY(m_events.isEmpty());

    QCOMPARE(EditorManager::getEditorOfDocument(&document), editorAt(0));
    QVERIFY(!EditorManager::getEditorOfDocument(&lonely));
    QVERIFY(!EditorManager::getEditorOfDocument(nullptr));

    TestEditor stranger;
    QVERIFY(EditorManager::removeEditor(nullptr));
    QVERIFY(!EditorManager::removeEditor(&stranger));
    QCOMPARE(EditorManager::getEditors().size(), 2);

    m_fixture->destroyMainWindow();
    QVERIFY(!EditorManager::getInstance());
    QVERIFY(EditorManager::getEditors().isEmpty());
    QVERIFY(!EditorManager::activeEditor());
}

void TestEditors::activation_data()
{
    QTest::addColumn<int>("initial");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("events");

    // Editor 2 is never registered.
    QTest::newRow("none to e0") << -1 << 0 << QStringList{"e0.aboutToActivate", "activated(e0)"};
    QTest::newRow("e0 to e1") << 0 << 1
                              << QStringList{"e0.aboutToDeactivate", "deactivated(e0)",
                                             "e1.aboutToActivate", "activated(e1)"};
    QTest::newRow("e0 again") << 0 << 0 << QStringList();
    QTest::newRow("e0 to none") << 0 << -1
                                << QStringList{"e0.aboutToDeactivate", "deactivated(e0)"};
    QTest::newRow("none to none") << -1 << -1 << QStringList();
    QTest::newRow("e0 to an unregistered editor")
            << 0 << 2
            << QStringList{"e0.aboutToDeactivate", "deactivated(e0)", "e2.aboutToActivate",
                           "activated(e2)"};
}

void TestEditors::activation()
{
    QFETCH(int, initial);
    QFETCH(int, target);
    QFETCH(QStringList, events);

    createEditors(3);
    EditorManager::addEditor(editorAt(0));
    EditorManager::addEditor(editorAt(1));
    EditorManager::activateEditor(editorAt(initial));
    m_events.clear();

    EditorManager::activateEditor(editorAt(target));
    QCOMPARE(m_events, events);
    QCOMPARE(EditorManager::activeEditor(), editorAt(target));
}

void TestEditors::removal_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("removed");
    QTest::addColumn<bool>("byDeletion");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("newActive");

    const QStringList e1Hands = {"e1.aboutToDeactivate", "deactivated(e1)", "e2.aboutToActivate",
                                 "activated(e2)"};
    QTest::newRow("active middle: the next one") << 3 << 1 << 1 << false << e1Hands << 2;
    QTest::newRow("active last: the previous one")
            << 3 << 2 << 2 << false
            << QStringList{"e2.aboutToDeactivate", "deactivated(e2)", "e1.aboutToActivate",
                           "activated(e1)"}
            << 1;
    QTest::newRow("active first: the next one")
            << 3 << 0 << 0 << false
            << QStringList{"e0.aboutToDeactivate", "deactivated(e0)", "e1.aboutToActivate",
                           "activated(e1)"}
            << 1;
    QTest::newRow("only editor") << 1 << 0 << 0 << false
                                 << QStringList{"e0.aboutToDeactivate", "deactivated(e0)"} << -1;
    QTest::newRow("not active") << 3 << 0 << 2 << false << QStringList() << 0;
    QTest::newRow("none active") << 3 << -1 << 1 << false << QStringList() << -1;
    // A dying editor does not emit its own signals any more.
    QTest::newRow("deleted active middle")
            << 3 << 1 << 1 << true
            << QStringList{"deactivated(e1)", "e2.aboutToActivate", "activated(e2)"} << 2;
    QTest::newRow("deleted only editor")
            << 1 << 0 << 0 << true << QStringList{"deactivated(e0)"} << -1;
    QTest::newRow("deleted, not active") << 3 << 2 << 0 << true << QStringList() << 2;
}

void TestEditors::removal()
{
    QFETCH(int, count);
    QFETCH(int, active);
    QFETCH(int, removed);
    QFETCH(bool, byDeletion);
    QFETCH(QStringList, events);
    QFETCH(int, newActive);

    createEditors(count);
    QList<IEditor *> remaining;
    for (int i = 0; i < count; ++i) {
        EditorManager::addEditor(editorAt(i));
        if (i != removed)
            remaining.append(editorAt(i));
    }
    EditorManager::activateEditor(editorAt(active));
    IEditor *expectedActive = editorAt(newActive);
    m_events.clear();

    if (byDeletion)
        m_editors[size_t(removed)].reset();
    else
        QVERIFY(EditorManager::removeEditor(editorAt(removed)));

    QCOMPARE(m_events, events);
    QCOMPARE(EditorManager::getEditors(), remaining);
    QCOMPARE(EditorManager::activeEditor(), expectedActive);
}

void TestEditors::deletedUnregisteredActiveEditor()
{
    createEditors(2);
    EditorManager::addEditor(editorAt(0));
    EditorManager::activateEditor(editorAt(1));
    m_events.clear();

    m_editors[1].reset();
    QCOMPARE(m_events, QStringList{"deactivated(e1)"});
    QVERIFY(!EditorManager::activeEditor());
    // Activating another editor must not touch the deleted one.
    EditorManager::activateEditor(editorAt(0));
    QCOMPARE(m_events, (QStringList{"deactivated(e1)", "e0.aboutToActivate", "activated(e0)"}));
}

VELDRA_TEST_MAIN(TestEditors)
#include "tst_editors.moc"
