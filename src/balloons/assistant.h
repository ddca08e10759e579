#pragma once
// The assistant's one service: shows a message text in the balloon beside
// the assistant window. Returns once the balloon is shown.
#include <QString>

void AssistantMessage(const QString &message);
