#pragma once
// How the quizzer's handlers keep run-time errors from escaping a slot.
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"

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

// Runs one statement whose failure is skipped.
template <class F> bool quietly(F &&f)
{
    try {
        f();
        return true;
    } catch (const RuntimeError &) {
        return false;
    }
}

} // namespace QuizzerErrors
