#pragma once
// How a handler keeps a run-time error from unwinding through the event
// dispatch. A handler with a trapping rule of its own catches there; one
// that traps nothing runs guarded: the error is told in a message box and
// the handler ends at the failing statement.
#include "MessageBox.h"
#include "RuntimeError.h"

#include <exception>

namespace Trap {

// Tells a run-time error's description in a message box (OK button).
void tell(const RuntimeError &error, MessageBox::Icon icon = MessageBox::Critical);
// Tells any other failure the same way.
void tell(const std::exception &error, MessageBox::Icon icon = MessageBox::Critical);

// Runs a handler's work; a failure is told (with `icon`). Returns false
// when it failed.
template <class F> bool guarded(F &&work, MessageBox::Icon icon = MessageBox::Critical)
{
    try {
        work();
        return true;
    } catch (const RuntimeError &e) {
        tell(e, icon);
    } catch (const std::exception &e) {
        tell(e, icon);
    }
    return false;
}

// A handler as the slot of a connection, run guarded:
// connect(button, &QPushButton::clicked, this, Trap::slot(this, &frmX::Command1_Click)).
template <class T, class Base> auto slot(T *receiver, void (Base::*handler)())
{
    return [receiver, handler] { guarded([&] { (receiver->*handler)(); }); };
}

} // namespace Trap
