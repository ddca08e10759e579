#include "Form.h"

#include "MessageBox.h"
#include "Platform.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QTimer>

namespace {
QPointer<QWidget> g_lastActive;
quint64 g_showCount = 0;
QList<QPointer<Form>> g_awaiting;
}

Form::Form(QWidget *parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    setAttribute(Qt::WA_DeleteOnClose, true);
}

void Form::load()
{
    Form_Load();
}

void Form::Show()
{
    if (m_unloaded)
        throw RuntimeError(Err::ObjectUnloaded, QStringLiteral("Object was unloaded"));
    show();
    if (!Platform::testMode())
        raise();
    activateWindow();
    // A shown window is the active one and runs its activation handler once
    // the current handler has finished, whether or not the desktop gives it
    // the focus; a window shown after it in the same handler follows it.
    m_awaitingPlatformActivation = true;
    m_showOrder = ++g_showCount;
    g_awaiting.append(this);
    QTimer::singleShot(0, this, &Form::activateAfterShow);
}

void Form::activateAfterShow()
{
    if (m_unloaded || !isVisible() || Platform::programEnded() || g_lastActive == this)
        return;
    activateNow();
}

void Form::activateNow()
{
    if (m_activating)
        return;
    g_lastActive = this;
    m_activating = true;
    Form_Activate();
    m_activating = false;
}

void Form::ShowModal()
{
    if (m_unloaded)
        throw RuntimeError(Err::ObjectUnloaded, QStringLiteral("Object was unloaded"));
    setWindowModality(Qt::ApplicationModal);
    Show();
    if (Platform::testMode())
        return;
    QEventLoop loop;
    QPointer<Form> self(this);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    while (self && !self->isUnloaded() && self->isVisible() && !Platform::programEnded()) {
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
}

bool Form::Unload()
{
    if (m_unloaded)
        return true;
    if (!close())
        return false;
    return true;
}

void Form::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || m_unloaded)
        return;
    if (isActiveWindow()) {
        if (m_awaitingPlatformActivation) {
            // Show() has activated it already; windows shown before it no
            // longer wait for theirs.
            for (const QPointer<Form> &f : std::as_const(g_awaiting))
                if (f && f->m_showOrder <= m_showOrder)
                    f->m_awaitingPlatformActivation = false;
            g_awaiting.removeIf([](const QPointer<Form> &f) { return !f || !f->m_awaitingPlatformActivation; });
            return;
        }
        // Only a change of the active window within the program counts, not
        // the return from another program to the same window.
        if (g_lastActive == this || m_activating)
            return;
        activateNow();
    } else {
        Form_Deactivate();
    }
}

void Form::closeEvent(QCloseEvent *event)
{
    if (m_unloaded || Platform::programEnded()) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (!cancel)
        Form_Unload(cancel);
    if (cancel || !runUnloadHooks()) {
        event->ignore();
        return;
    }
    m_unloaded = true;
    if (g_lastActive == this)
        g_lastActive = nullptr;
    event->accept();
}

void Form::addUnloadHook(QObject *owner, std::function<void()> hook)
{
    m_unloadHooks.push_back(Hook{owner, std::move(hook)});
}

bool Form::runUnloadHooks()
{
    for (const Hook &h : m_unloadHooks) {
        if (!h.owner)
            continue;
        try {
            h.run();
        } catch (const RuntimeError &e) {
            MessageBox::show(e.description() + QStringLiteral("\n\nThe window stays open so that you can correct the entry."),
                             MessageBox::OkOnly, MessageBox::Exclamation, QString());
            return false;
        }
    }
    return true;
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}
