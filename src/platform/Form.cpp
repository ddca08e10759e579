#include "Form.h"

#include "MessageBox.h"
#include "Platform.h"
#include "RuntimeError.h"
#include "Trap.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {
QPointer<QWidget> g_lastActive;
quint64 g_showCount = 0;
QList<QPointer<Form>> g_awaiting;
QPointer<QWidget> g_mainWindow;

// Counts the user's presses (mouse buttons and keys) anywhere in the
// program, so that a change of the active window can be told apart from
// the window system's own handing back of the activation.
quint64 g_userPresses = 0;
class PressCounter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type t = event->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick || t == QEvent::KeyPress)
            ++g_userPresses;
        return QObject::eventFilter(watched, event);
    }
};
void countPresses()
{
    static QPointer<PressCounter> counter;
    if (!counter && qApp) {
        counter = new PressCounter(qApp);
        qApp->installEventFilter(counter);
    }
}
}

Form::Form(QWidget *parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    setAttribute(Qt::WA_DeleteOnClose, true);
}

void Form::load()
{
    Form_Load();
}

void Form::setMainWindow(QWidget *window) { g_mainWindow = window; }

Form *Form::activeForm() { return qobject_cast<Form *>(g_lastActive.data()); }

bool Form::takesFocus() const
{
    return !(windowFlags() & Qt::WindowDoesNotAcceptFocus) && !testAttribute(Qt::WA_ShowWithoutActivating);
}

QMargins Form::frameMargins() const
{
    // The frame is not known before the window is up: the main window's serves.
    const QWidget *framed = this;
    if (frameGeometry() == geometry() && g_mainWindow && g_mainWindow->isVisible())
        framed = g_mainWindow.data();
    const QRect inner = framed->geometry();
    const QRect outer = framed->frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

void Form::placeOverMainWindow()
{
    QPointer<QWidget> main = g_mainWindow.data();
    if (main == this)
        return;
    bool over = main && main->isVisible() && !main->isMinimized();
    if (over && main->windowHandle() && !main->windowHandle()->isExposed()) {
        // Just shown: its place on the screen is known once it is up.
        QElapsedTimer waited;
        waited.start();
        while (main && main->windowHandle() && !main->windowHandle()->isExposed() && waited.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        over = main && main->isVisible();
    }
    QScreen *screen = over ? main->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    ensurePolished();
    if (!testAttribute(Qt::WA_Resized))
        adjustSize();
    QRect r(QPoint(0, 0), size().grownBy(frameMargins()));
    r.moveCenter(over ? main->frameGeometry().center() : available.center());
    if (r.right() > available.right())
        r.moveRight(available.right());
    if (r.bottom() > available.bottom())
        r.moveBottom(available.bottom());
    if (r.left() < available.left())
        r.moveLeft(available.left());
    if (r.top() < available.top())
        r.moveTop(available.top());
    move(r.topLeft());
}

void Form::Show()
{
    if (m_unloaded)
        throw RuntimeError(Err::ObjectUnloaded, QStringLiteral("Object was unloaded"));
    if (!isVisible()) {
        // Placed at the height its texts take.
        ensurePolished();
        if (layout())
            layout()->activate();
        fitHeightToTexts();
        if (!testAttribute(Qt::WA_Moved))
            placeOverMainWindow();
    }
    show();
    if (!Platform::testMode())
        raise();
    if (!takesFocus())
        return; // it leaves the activation where it is
    const bool activeAlready = isActiveWindow();
    activateWindow();
    // A shown window is the active one and runs its activation handler once
    // the current handler has finished, whether or not the desktop gives it
    // the focus; a window shown after it in the same handler follows it.
    countPresses();
    m_pressesAtShow = g_userPresses;
    m_showOrder = ++g_showCount;
    if (!activeAlready) {
        m_awaitingPlatformActivation = true;
        g_awaiting.append(this);
    }
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
    Trap::guarded([this] { Form_Activate(); });
    m_activating = false;
}

bool Form::passOnToShownWindow()
{
    // A handler showed a window and closed a box over this one: the window
    // system hands the activation back to this window before the window
    // shown ever had it, which leaves that window behind (and would run
    // this window's activation handler again, which may show the box once
    // more). Without a press of the user's in between, that is not the user
    // turning to this window: the window shown comes forward and takes the
    // activation, once.
    auto *shown = qobject_cast<Form *>(g_lastActive.data());
    if (!shown || shown == this || shown->m_unloaded || !shown->isVisible() || !shown->m_awaitingPlatformActivation
        || shown->m_pressesAtShow != g_userPresses)
        return false;
    shown->m_awaitingPlatformActivation = false;
    g_awaiting.removeAll(QPointer<Form>(shown));
    shown->raise();
    shown->activateWindow();
    return true;
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

bool Form::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    // The layout has just taken in a change of its controls (a new text).
    if (event->type() == QEvent::LayoutRequest)
        fitHeightToTexts();
    return handled;
}

void Form::fitHeightToTexts()
{
    // Wrapped texts take the lines they need at the window's width: a long
    // text makes the window taller, never wider, and never taller than the
    // screen.
    QLayout *l = layout();
    if (m_fitting || !l || !l->hasHeightForWidth() || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QMargins margins = contentsMargins();
    int needed = l->minimumHeightForWidth(width() - margins.left() - margins.right()) + margins.top() + margins.bottom();
    if (QWidget *bar = l->menuBar())
        needed += bar->heightForWidth(width());
    QScreen *screen = this->screen();
    if (needed <= height() || !screen)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins frame = frameMargins();
    const int tallest = qMin(needed, qMin(maximumHeight(), available.height() - frame.top() - frame.bottom()));
    if (tallest <= height())
        return;
    m_fitting = true;
    resize(width(), tallest);
    // Kept on the screen: moved up as far as it grew past its bottom.
    const int top = qMax(available.top(), qMin(y(), available.bottom() + 1 - frame.top() - tallest - frame.bottom()));
    if (isVisible() && top != y())
        move(x(), top);
    m_fitting = false;
}

void Form::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || m_unloaded)
        return;
    if (!takesFocus()) {
        // Where the window system activates it all the same, the activation
        // goes back to the window the user works in.
        if (isActiveWindow() && g_lastActive && g_lastActive != this && g_lastActive->isVisible())
            g_lastActive->activateWindow();
        return;
    }
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
        if (passOnToShownWindow())
            return;
        activateNow();
    } else {
        Trap::guarded([this] { Form_Deactivate(); });
    }
}

void Form::closeEvent(QCloseEvent *event)
{
    if (m_unloaded || Platform::programEnded()) {
        event->accept();
        return;
    }
    // A handler that fails keeps the window open, as one that refuses does.
    bool cancel = false;
    const bool handled = Trap::guarded([&] {
        Form_QueryUnload(cancel);
        if (!cancel)
            Form_Unload(cancel);
    });
    if (!handled || cancel || !runUnloadHooks()) {
        event->ignore();
        return;
    }
    m_unloaded = true;
    if (g_lastActive == this)
        g_lastActive = nullptr;
    event->accept();
}

void Form::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous() || !isWindow() || m_unloaded || Platform::programEnded())
        return;
    // A window the program never placed is placed anew by the desktop each
    // time it is shown (often in a screen corner). Its place at hiding is
    // made its own, so that it comes back there; a window placed again
    // before it shows goes where it is placed then.
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    // (QWidget::setGeometry passes over a place the window already has.)
    setAttribute(Qt::WA_Moved);
    setAttribute(Qt::WA_Resized);
    if (QWindow *window = windowHandle())
        window->setGeometry(geometry());
}

void Form::setDefaultButton(QPushButton *button)
{
    m_defaultButton = button;
    button->setDefault(true);
}

void Form::keyPressEvent(QKeyEvent *event)
{
    if (m_defaultButton && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        auto *focused = qobject_cast<QPushButton *>(focusWidget());
        (focused && focused->window() == this ? focused : m_defaultButton.data())->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form::addUnloadHook(QObject *owner, std::function<void()> hook, std::function<void()> discard)
{
    m_unloadHooks.push_back(Hook{owner, std::move(hook), std::move(discard)});
}

bool Form::runUnloadHooks()
{
    for (const Hook &h : m_unloadHooks) {
        if (!h.owner)
            continue;
        try {
            h.run();
        } catch (const RuntimeError &e) {
            if (keepOpenToCorrect(e))
                return false;
            if (h.discard && h.owner)
                h.discard();
        }
    }
    return true;
}

bool Form::keepOpenToCorrect(const RuntimeError &whyNotStored)
{
    return MessageBox::show(whyNotStored.description()
                                + QStringLiteral("\n\nKeep the window open to correct the entry? If you choose No, the window "
                                                 "closes and what could not be stored is lost."),
                            MessageBox::YesNo, MessageBox::Exclamation, Trap::titleOf(whyNotStored, QStringLiteral("Not stored")))
        != MessageBox::No;
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Trap::guarded([this] { Form_Resize(); });
}
