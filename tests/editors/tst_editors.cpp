#include "corefixture.h"
#include "editormanager.h"
#include "ieditor.h"
#include "testmain.h"

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

    std::unique_ptr<CoreFixture> m_fixture;
    std::vector<std::unique_ptr<IEditor>> m_editors;
    QHash<const IEditor *, QString> m_names; // by address: a deactivated editor may be dying
    QStringList m_events;

    IEditor *editorAt(int index) const
    {
        return index < 0 ? nullptr : m_editors.at(size_t(index)).get();
    }

    // Creates "e0" to "e3", registers the first ones and records their activation signals and
    // the registry's announcements ("e1.aboutToActivate", "activated(e1)") in order.
    void createEditors(int registered)
    {
        for (int i = 0; i < 4; ++i) {
            m_editors.push_back(std::make_unique<IEditor>());
            IEditor *editor = editorAt(i);
            const QString name = QStringLiteral("e%1").arg(i);
            m_names.insert(editor, name);
            connect(editor, &IEditor::aboutToActivate, this,
                    [=] { m_events << name + ".aboutToActivate"; });
            connect(editor, &IEditor::aboutToDeactivate, this,
                    [=] { m_events << name + ".aboutToDeactivate"; });
            if (i < registered)
                EditorManager::addEditor(editor);
        }
        const auto announce = [this](const char *what) {
            return [this, what](IEditor *e) { m_events << what + m_names.value(e) + ')'; };
        };
        EditorManager *manager = EditorManager::getInstance();
        connect(manager, &EditorManager::editorActivated, this, announce("activated("));
        connect(manager, &EditorManager::editorDeactivated, this, announce("deactivated("));
    }

private slots:
    void init() { m_fixture = std::make_unique<CoreFixture>(); }

    void cleanup()
    {
        m_editors.clear();
        m_names.clear();
        m_events.clear();
        m_fixture.reset();
    }

    void activeEditorChanges_data()
    {
        // e0 ... e3 exist, the first ones are registered; -1 stands for no editor.
        QTest::addColumn<int>("registered");
        QTest::addColumn<int>("active");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("newActive");
        QTest::newRow("none to e0") << 2 << -1 << "activate" << 0 << 0;
        QTest::newRow("e0 to e1") << 2 << 0 << "activate" << 1 << 1;
        QTest::newRow("e0 again") << 2 << 0 << "activate" << 0 << 0;
        QTest::newRow("e0 to none") << 2 << 0 << "activate" << -1 << -1;
        QTest::newRow("to unregistered") << 2 << 0 << "activate" << 2 << 2;
        QTest::newRow("remove active middle") << 3 << 1 << "remove" << 1 << 2;
        QTest::newRow("remove active last") << 3 << 2 << "remove" << 2 << 1;
        QTest::newRow("remove active first") << 3 << 0 << "remove" << 0 << 1;
        QTest::newRow("remove only editor") << 1 << 0 << "remove" << 0 << -1;
        QTest::newRow("remove inactive") << 3 << 0 << "remove" << 2 << 0;
        QTest::newRow("delete active") << 3 << 1 << "delete" << 1 << 2;
        QTest::newRow("delete only editor") << 1 << 0 << "delete" << 0 << -1;
        QTest::newRow("delete inactive") << 3 << 2 << "delete" << 0 << 2;
        QTest::newRow("delete active unregistered") << 1 << 1 << "delete" << 1 << -1;
    }

    void activeEditorChanges()
    {
        QFETCH(int, registered);
        QFETCH(int, active);
        QFETCH(QString, action);
        QFETCH(int, target);
        QFETCH(int, newActive);
        createEditors(registered);
        QList<IEditor *> remaining = EditorManager::getEditors();
        EditorManager::activateEditor(editorAt(active));
        IEditor *expectedActive = editorAt(newActive);
        const QStringList events =
                active == newActive
                        ? QStringList()
                        : handOver(m_names.value(editorAt(active)), m_names.value(expectedActive),
                                   action == "delete" && target == active);
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
};

VELDRA_TEST_MAIN(TestEditors)
#include "tst_editors.moc"
