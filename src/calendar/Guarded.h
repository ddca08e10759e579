#pragma once
// The calendar's handlers trap no error of their own; what fails is told in
// a message box, so that nothing unwinds through the event dispatch.
#include "platform/Trap.h"

namespace Calendar {
using Trap::guarded;
} // namespace Calendar
