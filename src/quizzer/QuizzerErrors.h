#pragma once
// How the quizzer's handlers keep run-time errors from escaping a slot.
#include "platform/Form.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "store/CurrentSelection.h"

namespace QuizzerErrors {

inline void tell(const RuntimeError &e)
{
    MessageBox::show(e.description(), MessageBox::OkOnly, MessageBox::Critical, QString());
}

// Runs a handler's body; an error shows its description.
template <class F> void guarded(F &&f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        tell(e);
    }
}

// After a failure while opening a quizzer window: closes the window, whose
// unloading brings the main window back, or shows the main window itself
// when the window never opened.
inline void backToMainWindow(Form *window)
{
    if (window)
        window->Unload();
    else if (CurrentSelection *main = CurrentSelection::get())
        main->showMainWindow();
}

} // namespace QuizzerErrors
