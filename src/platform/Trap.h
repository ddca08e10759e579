#pragma once
// How a handler keeps a run-time error from unwinding through the event
// dispatch. A handler with a trapping rule of its own catches there; one
// that traps nothing runs guarded: the error is told in a message box and
// the handler ends at the failing statement.
#include "MessageBox.h"
#include "RuntimeError.h"

#include <exception>

namespace Trap {

// The title of a message box telling a run-time error: a few words saying
// what happened ("Disk full", "Database locked"); `otherwise` (the program's
// title unless given) for an error that has none of its own. Never the
// error's number.
QString titleOf(const RuntimeError &error, const QString &otherwise = QString());

// Tells a run-time error's description in a message box (OK button) under
// its title, after `lead` (what could not be done) when given.
void tell(const RuntimeError &error, MessageBox::Icon icon = MessageBox::Critical, const QString &lead = QString());
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
