#pragma once
// The assistant's one service to the other windows: show a hint.
#include <QString>

// Shows `message` in the balloon beside the assistant window, which opens
// out of the notification area. Returns once the balloon is shown; the
// user's "Ok" closes both and is reported to no one.
void AssistantMessage(const QString &message);
