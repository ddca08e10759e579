#pragma once
// The assistant's one service to the other windows: show a hint.
#include <QString>

// Shows `message` in the balloon beside the assistant window, which opens
// out of the notification area. Neither takes the focus from the window the
// user types in, nor covers its input boxes, buttons or texts. Returns once
// the balloon is shown: true when it is on the screen (false only when the
// assistant was closed before it could come up). The user's "Ok" closes
// both and is reported to no one.
bool AssistantMessage(const QString &message);
