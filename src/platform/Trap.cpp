#include "Trap.h"

namespace Trap {

void tell(const RuntimeError &error, MessageBox::Icon icon)
{
    MessageBox::show(error.description(), MessageBox::OkOnly, icon, QString());
}

void tell(const std::exception &error, MessageBox::Icon icon)
{
    MessageBox::show(QString::fromLocal8Bit(error.what()), MessageBox::OkOnly, icon, QString());
}

} // namespace Trap
