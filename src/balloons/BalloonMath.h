#pragma once
// The numbers behind the balloon and the window animations, with no window
// involved: where the balloon goes beside a window, the point an animation
// starts from, the strip of the notification area, the growing rectangles,
// the balloon's button positions and the sound-scheme event names.
#include "platform/Platform.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

namespace Balloon {

using Platform::roundHalfEven;

// A rectangle in screen pixels as the window system hands it over: the right
// and bottom edges lie just outside the area.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ScreenRect &) const = default;
};

// The balloon's designed size in twips.
constexpr int BalloonWidth = 4545;
constexpr int BalloonHeight = 2115;

// Where the balloon goes beside a window, all in twips.
struct Placement {
    int top = 0;
    int left = 0;
    bool operator==(const Placement &) const = default;
};
Placement placeBalloon(int windowTop, int windowLeft, int windowWidth, int balloonWidth, int balloonHeight,
                       int screenWidth);

// Where the assistant goes so that neither it nor its balloon (placed as
// placeBalloon does) covers any of `boxes`, the controls of the window
// the user types in, whose frame is `window`; all in screen pixels. Its own
// place when that covers none; else the first place beside, below or above
// that window that covers none and lies on the screen; else its own place.
QPoint clearOfBoxes(const QRect &assistant, const QSize &balloon, const QRect &screen, const QRect &window,
                    const QVector<QRect> &boxes);

// The origin codes of the animations.
namespace Origin {
constexpr int TopLeft = 0;
constexpr int TopMiddle = 1;
constexpr int TopRight = 2;
constexpr int LeftMiddle = 3;
constexpr int Centre = 4;
constexpr int RightMiddle = 5;
constexpr int BottomLeft = 6;
constexpr int BottomMiddle = 7;
constexpr int BottomRight = 8;
constexpr int Centre2 = 9;
constexpr int Tray = 10;
constexpr int Tray2 = 11;
constexpr int MousePointer = 12;
constexpr int ActiveWindow = 13;
} // namespace Origin

// True for the codes that name the notification area.
inline bool isTrayOrigin(int code) { return code == Origin::Tray || code == Origin::Tray2; }

// The one-pixel rectangle an animation starts from (or ends in) for a code
// other than the notification area: `desktop` is the screen, `cursor` the
// mouse pointer, `activeTopLeft` the top left corner of the program's active
// window (the screen's corner when there is none).
ScreenRect originRect(int code, const ScreenRect &desktop, int cursorX, int cursorY, int activeLeft, int activeTop);

// The notification area narrowed to one pixel at its horizontal middle.
ScreenRect trayStrip(const ScreenRect &notificationArea);

// Number of growing rectangles: 0 or less means 900.
constexpr int DefaultSteps = 900;
inline int effectiveSteps(int steps) { return steps > 0 ? steps : DefaultSteps; }

// Rectangle `i` (1..steps) of the growing-rectangle effect over `window` in
// the given style; an empty rectangle for a style that draws nothing.
ScreenRect explodeRect(const ScreenRect &window, int i, int steps, int style);
// Every rectangle of the effect, in drawing order (none for a style that
// draws nothing).
QVector<ScreenRect> explodeRects(const ScreenRect &window, int steps, int style);
bool styleDraws(int style);

// The balloon's buttons, in twips: button 0 at (150, 1665), 960 x 300 each,
// each further one 60 twips to the right of the one before.
constexpr int ButtonLeft = 150;
constexpr int ButtonTop = 1665;
constexpr int ButtonWidth = 960;
constexpr int ButtonHeight = 300;
constexpr int ButtonGap = 60;
inline int nextButtonLeft(int previousLeft, int previousWidth) { return previousLeft + previousWidth + ButtonGap; }

// The sound-scheme event of an index (0..21), "" outside the table.
QString schemeEventName(int index);
namespace SchemeEvent {
constexpr int RestoreDown = 12;
constexpr int RestoreUp = 13;
} // namespace SchemeEvent

} // namespace Balloon
