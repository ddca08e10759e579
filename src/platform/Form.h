#pragma once
// The base of every window of the program. A window is created on first use
// through its one global instance, runs its load handler once, runs its
// activation handler each time it becomes the program's active window, and
// is unloaded (destroyed) when it closes; its query-unload and unload
// handlers may refuse the closing. A run-time error that a handler run by
// the window system (activation, deactivation, closing, resizing) does not
// trap itself is told in a message box there; one in a closing handler
// keeps the window open.
#include <QPointer>
#include <QWidget>
#include <QVector>
#include <functional>

class QPushButton;
class RuntimeError;

class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::Window);

    // Shows the window modeless and brings it forward. Showing a window whose
    // load handler unloaded it raises run-time error 364. A window that
    // places itself keeps its place, and so does a window that was hidden
    // (it comes back where it was, at its size); any other opens centred over
    // the main window (the screen when it is hidden), on the screen. A window that
    // never takes the focus (the assistant, the balloon) is shown without
    // becoming the active window.
    void Show();
    // Shows the window modal: the caller waits until it closes (in test mode
    // the call returns at once and the window stays modal).
    void ShowModal();
    // Closes the window, running its query-unload and unload handlers.
    // Returns false when a handler refused.
    bool Unload();

    bool isUnloaded() const { return m_unloaded; }

    // The window the others open over.
    static void setMainWindow(QWidget *window);
    // The window of the program that was activated last (the one the user
    // works in), or nullptr.
    static Form *activeForm();

    // Runs the load handler; called once by the instance accessor.
    void load();

    // Work to do when the window is about to unload, after its own handlers
    // accepted the closing (bound data sources store their rows here). A hook
    // that raises a run-time error shows its description and asks whether
    // the window stays open, so that nothing typed is lost, or closes all
    // the same, losing what could not be stored.
    // `discard` drops what the hook could not store once the user chose to
    // close all the same.
    void addUnloadHook(QObject *owner, std::function<void()> hook, std::function<void()> discard = {});
    // Runs the hooks; false when one failed and the user kept the window open.
    bool runUnloadHooks();

    // Tells why what a closing window holds could not be stored and asks
    // whether it stays open to correct the entry (Yes, the first answer) or
    // closes, losing it (No). True to stay open.
    static bool keepOpenToCorrect(const RuntimeError &whyNotStored);

protected:
    // The button Enter presses, drawn as the default: Enter on another
    // focused button presses that one instead.
    void setDefaultButton(QPushButton *button);

    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_QueryUnload(bool &cancel) { Q_UNUSED(cancel); }
    virtual void Form_Unload(bool &cancel) { Q_UNUSED(cancel); }
    virtual void Form_Resize() {}

    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The window frame's widths (the main window's while this one's is not known).
    QMargins frameMargins() const;
    void placeOverMainWindow();
    void fitHeightToTexts();
    bool takesFocus() const;
    void activateNow();
    void activateAfterShow();
    bool passOnToShownWindow();

    QPointer<QPushButton> m_defaultButton;
    bool m_unloaded = false;
    bool m_activating = false;
    bool m_fitting = false;
    // Show() activates the window itself; the platform's own activation
    // for that Show, when it comes, is then not run a second time.
    bool m_awaitingPlatformActivation = false;
    quint64 m_showOrder = 0;
    quint64 m_pressesAtShow = 0;
    struct Hook {
        QPointer<QObject> owner;
        std::function<void()> run;
        std::function<void()> discard;
    };
    QVector<Hook> m_unloadHooks;
};

namespace FormRegistry {
template <class T> QPointer<T> &slot()
{
    static QPointer<T> p;
    return p;
}
// The one global instance, created and loaded on first use.
template <class T> T *instance()
{
    QPointer<T> &p = slot<T>();
    if (!p || p->isUnloaded()) {
        p = new T;
        p->load();
    }
    return p.data();
}
// The instance when it is loaded, else nullptr; creates nothing.
template <class T> T *existing()
{
    QPointer<T> &p = slot<T>();
    return (p && !p->isUnloaded()) ? p.data() : nullptr;
}
} // namespace FormRegistry

// Declares `instance()` and `existing()` for a window class.
#define TARVELA_FORM(Class)                                                          \
public:                                                                              \
    static Class *instance() { return FormRegistry::instance<Class>(); }             \
    static Class *existing() { return FormRegistry::existing<Class>(); }             \
                                                                                     \
private:
