// Until the balloon windows land, a hint is shown as a plain message.
#include "assistant.h"

#include "platform/MessageBox.h"

void AssistantMessage(const QString &message)
{
    MessageBox::show(message, MessageBox::OkOnly, MessageBox::Question, QStringLiteral("Tarvela Assistant"));
}
