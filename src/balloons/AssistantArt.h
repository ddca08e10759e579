#pragma once
// The assistant's pictures, 124 x 92 pixels each: a cheerful pencil.
#include <QPixmap>

namespace AssistantArt {
constexpr int Width = 124;
constexpr int Height = 92;
enum Frame { EyesClosed = 0, Resting2 = 1, Resting = 2 };
QPixmap picture(Frame frame);
} // namespace AssistantArt
