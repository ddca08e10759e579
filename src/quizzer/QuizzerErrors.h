#pragma once
// How the quizzer's handlers keep run-time errors from escaping a slot.
#include "platform/Form.h"
#include "platform/Trap.h"
#include "store/CurrentSelection.h"

namespace QuizzerErrors {

using Trap::guarded;
using Trap::tell;

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
