#include "Quizzer.h"

#include "QuizzerErrors.h"
#include "platform/Trap.h"
#include "frmQuizBuilder.h"
#include "frmQuizSelection.h"
#include "store/CurrentSelection.h"

namespace Quizzer {

void openQuizBuilder()
{
    if (CurrentSelection *main = CurrentSelection::get())
        main->hideMainWindow();
    try {
        frmQuizBuilder::instance()->Show();
    } catch (const RuntimeError &e) {
        Trap::tell(e);
        QuizzerErrors::backToMainWindow(nullptr);
    }
}

void takeAQuiz() { frmQuizSelection::TakeAQuiz(); }

} // namespace Quizzer
