#pragma once

#include "core_global.h"

#include <QMainWindow>

class ActionManager;
class ContextManager;
class DocumentManager;
class EditorManager;
class ICore;

/*!
 * The application's only top-level window and the owner of the core's run-time objects: it
 * creates the registries, and maps the keyboard focus to the command context.
 */
class CORE_EXPORT MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    bool init(QString *errorString);
    void extensionsInitialized();
    void aboutToShutdown();

private slots:
    void updateFocusWidget(QWidget *old, QWidget *now);

private:
    DocumentManager *m_pDocumentManager = nullptr; // owned
    EditorManager *m_pEditorManager = nullptr;     // owned
    ActionManager *m_pActionManager = nullptr;     // lives to the end of the process
    ContextManager *m_pContextManager = nullptr;   // lives to the end of the process
    ICore *m_pCore = nullptr;                      // owned
};
