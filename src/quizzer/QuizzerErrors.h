#pragma once
// Where the quizzer's windows go after a failure while they open.
#include "platform/Form.h"
#include "store/CurrentSelection.h"

namespace QuizzerErrors {

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
