#include "contextmanager.h"
#include "commandids.h"

#include "icore.h"
#include "mainwindow.h"

#include <QWidget>

#include <algorithm>

namespace Ids = Veldra::Ids;

namespace {
ContextManager *s_instance = nullptr;
QList<Context> *s_contexts = nullptr; // owned by the instance

const QString &globalId()
{
    static const QString id = QLatin1String(Ids::GlobalContext);
    return id;
}

const Context *findByWidget(const QWidget *widget)
{
    if (!s_contexts)
        return nullptr;
    for (const Context &context : qAsConst(*s_contexts)) {
        if (context.widget == widget)
            return &context;
    }
    return nullptr;
}

const Context *findById(const QString &id)
{
    if (!s_contexts)
        return nullptr;
    for (const Context &context : qAsConst(*s_contexts)) {
        if (context.id == id)
            return &context;
    }
    return nullptr;
}
} // namespace

ContextManager::ContextManager()
{
    // A new main window brings a fresh registry; the one it replaces is not used any more.
    delete s_instance;
    s_instance = this;
    s_contexts = new QList<Context>;
}

ContextManager::~ContextManager()
{
    if (s_instance != this)
        return;
    delete s_contexts;
    s_contexts = nullptr;
    s_instance = nullptr;
}

ContextManager *ContextManager::getInstance()
{
    return s_instance;
}

Context ContextManager::registerContext(const Context &context)
{
    if (!s_contexts) {
        qWarning("ContextManager::registerContext: the context registry does not exist");
        return context;
    }
    if (!context.widget) {
        qWarning("ContextManager::registerContext: null widget for context \"%s\"",
                 qPrintable(context.id));
        return context;
    }
    const bool known = std::any_of(s_contexts->cbegin(), s_contexts->cend(), [&](const Context &c) {
        return c.widget == context.widget && c.id == context.id;
    });
    if (!known)
        s_contexts->append(context);
    return context;
}

Context ContextManager::registerContext(QWidget *widget, const QString &id, const QString &name)
{
    Context context;
    context.widget = widget;
    context.id = id;
    context.name = name;
    return registerContext(context);
}

void ContextManager::unregisterContext(QWidget *widget, const QString &id)
{
    if (!s_contexts)
        return;
    for (int i = 0; i < s_contexts->size(); ++i) {
        if (s_contexts->at(i).widget == widget && s_contexts->at(i).id == id) {
            s_contexts->removeAt(i);
            return;
        }
    }
}

Context ContextManager::getActiveContext(QWidget *widget)
{
    for (QWidget *current = widget; current; current = current->parentWidget()) {
        if (const Context *context = findByWidget(current))
            return *context;
    }
    return getGlobalContext();
}

QString ContextManager::getContextId(QWidget *widget)
{
    const Context *context = findByWidget(widget);
    return context ? context->id : QString(QLatin1String(""));
}

QString ContextManager::getContextName(QWidget *widget)
{
    const Context *context = findByWidget(widget);
    return context ? context->name : QString(QLatin1String(""));
}

QString ContextManager::getContextName(const QString &id)
{
    const Context *context = findById(id);
    return context ? context->name : QString(QLatin1String(""));
}

QWidget *ContextManager::getContextWidget(const QString &id)
{
    const Context *context = findById(id);
    return context ? context->widget : nullptr;
}

QList<Context> ContextManager::getContexts()
{
    return s_contexts ? *s_contexts : QList<Context>();
}

Context ContextManager::getGlobalContext()
{
    Context context;
    context.widget = ICore::getMainWindow();
    context.id = globalId();
    context.name = globalId();
    return context;
}

bool ContextManager::isGlobalContext(const Context &context)
{
    return context.id == globalId();
}
