#pragma once
// The calendar's handlers trap no error of their own; what fails is told in
// a message box here, so that nothing unwinds through the event dispatch.
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"

#include <exception>

namespace Calendar {

// Runs a handler's work; a run-time error shows its description.
// Returns false when the work failed.
template <class F> bool guarded(F &&work)
{
    try {
        work();
        return true;
    } catch (const RuntimeError &e) {
        MessageBox::show(e.description(), MessageBox::OkOnly, MessageBox::Critical, QString());
    } catch (const std::exception &e) {
        MessageBox::show(QString::fromLocal8Bit(e.what()), MessageBox::OkOnly, MessageBox::Critical, QString());
    }
    return false;
}

} // namespace Calendar
