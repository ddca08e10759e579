#include "BalloonMath.h"

namespace Balloon {

Placement placeBalloon(int windowTop, int windowLeft, int windowWidth, int balloonWidth, int balloonHeight,
                       int screenWidth)
{
    Placement m;
    // Above the window, a little to the right of its left edge.
    m.top = windowTop - balloonHeight - 200;
    m.left = windowLeft + 100;
    if (m.top < 0)
        m.top = 0;
    if (m.left + balloonWidth > screenWidth)
        m.left = screenWidth - balloonWidth;
    // No room above: beside the window, on the side with more room.
    if (m.top + balloonHeight > windowTop) {
        if (screenWidth / 2.0 > windowLeft)
            m.left = windowLeft + windowWidth + 10;
        else
            m.left = windowLeft - balloonWidth - 10;
    }
    if (m.left < 0)
        m.left = 0;
    if (m.left + balloonWidth > screenWidth)
        m.left = windowLeft - balloonWidth - 200;
    return m;
}

QPoint clearOfBoxes(const QRect &assistant, const QSize &balloon, const QRect &screen, const QRect &window,
                    const QVector<QRect> &boxes)
{
    auto balloonBeside = [&](const QRect &a) {
        const Placement p = placeBalloon(Twips::fromPixels(a.top()), Twips::fromPixels(a.left()), Twips::fromPixels(a.width()),
                                         Twips::fromPixels(balloon.width()), Twips::fromPixels(balloon.height()),
                                         Twips::fromPixels(screen.right() + 1));
        return QRect(QPoint(Twips::toPixels(p.left), Twips::toPixels(p.top)), balloon);
    };
    auto coversNone = [&](const QRect &a) {
        const QRect b = balloonBeside(a);
        for (const QRect &box : boxes)
            if (a.intersects(box) || b.intersects(box))
                return false;
        return true;
    };
    if (coversNone(assistant))
        return assistant.topLeft();
    constexpr int Gap = 10;
    const int w = assistant.width(), h = assistant.height();
    // Room for the balloon above the assistant (its 200 twips included).
    const int above = balloon.height() + Twips::toPixels(200);
    const int xs[] = {window.right() + 1 + Gap, window.left() - w - Gap};
    const int ys[] = {window.top() + above, window.top(), window.bottom() + 1 - h};
    QVector<QPoint> places;
    for (int x : xs)
        for (int y : ys)
            places << QPoint(x, y);
    places << QPoint(window.left(), window.bottom() + 1 + Gap + above) << QPoint(window.left(), window.bottom() + 1 + Gap)
           << QPoint(window.left(), window.top() - h - Gap);
    for (const QPoint &at : std::as_const(places)) {
        const QRect a(at, assistant.size());
        if (screen.contains(a) && screen.contains(balloonBeside(a)) && coversNone(a))
            return at;
    }
    return assistant.topLeft();
}

namespace {
ScreenRect pointRect(int x, int y) { return ScreenRect{x, y, x + 1, y + 1}; }
} // namespace

ScreenRect originRect(int code, const ScreenRect &desktop, int cursorX, int cursorY, int activeLeft, int activeTop)
{
    const int L = desktop.left, T = desktop.top, R = desktop.right, B = desktop.bottom;
    const int midX = roundHalfEven((R - L) / 2.0);
    const int midY = roundHalfEven((B - T) / 2.0);
    switch (code) {
    case Origin::TopLeft:
        return pointRect(0, 0);
    case Origin::TopMiddle:
        return pointRect(midX, 0);
    case Origin::TopRight:
        return pointRect(R - 1, 0);
    case Origin::LeftMiddle:
        return pointRect(0, midY);
    case Origin::Centre:
    case Origin::Centre2:
        return pointRect(midX, midY);
    case Origin::RightMiddle:
        return pointRect(R - 1, midY);
    case Origin::BottomLeft:
        return pointRect(0, B - 1);
    case Origin::BottomMiddle:
        return pointRect(midX, B - 1);
    case Origin::BottomRight:
        return pointRect(R - 1, B - 1);
    case Origin::MousePointer:
        return pointRect(cursorX, cursorY);
    case Origin::ActiveWindow:
        return pointRect(activeLeft, activeTop);
    default:
        return pointRect(0, 0);
    }
}

ScreenRect trayStrip(const ScreenRect &area)
{
    ScreenRect strip = area;
    strip.left = area.right - roundHalfEven((area.right - area.left) / 2.0);
    strip.right = strip.left + 1;
    return strip;
}

bool styleDraws(int style) { return style >= 0 && style <= 8; }

ScreenRect explodeRect(const ScreenRect &window, int i, int steps, int style)
{
    const int L = window.left, T = window.top, R = window.right, B = window.bottom;
    const int W = R - L;
    const int H = B - T;
    const float part = static_cast<float>(i) / static_cast<float>(steps);
    const int w = roundHalfEven(part * static_cast<float>(W));
    const int h = roundHalfEven(part * static_cast<float>(H));
    const int x = roundHalfEven((W - w) / 2.0) + L;      // centred horizontally
    const int y = roundHalfEven((H - h) / 2.0) + T;      // centred vertically
    switch (style) {
    case 0: // full width, growing from the horizontal centre line
        return ScreenRect{L, y, R, y + h};
    case 1: // full height, growing rightwards from the left edge
        return ScreenRect{L, T, L + w, B};
    case 2: // full height, growing leftwards from the right edge
        return ScreenRect{R - w, T, R, B};
    case 3: // from the top right corner
        return ScreenRect{R - w, T, R, T + h};
    case 4: // leftwards from the middle of the right edge
        return ScreenRect{R - w, y, R, y + h};
    case 5: // rightwards from the middle of the left edge
        return ScreenRect{L, y, L + w, y + h};
    case 6: // from the top left corner
        return ScreenRect{L, T, L + w, T + h};
    case 7: // from the middle outwards
        return ScreenRect{x, y, x + w, y + h};
    case 8: // full width, growing downwards from the top edge
        return ScreenRect{L, T, R, T + h};
    default:
        return ScreenRect{};
    }
}

QVector<ScreenRect> explodeRects(const ScreenRect &window, int steps, int style)
{
    QVector<ScreenRect> rects;
    if (!styleDraws(style))
        return rects;
    rects.reserve(steps > 0 ? steps : 0);
    for (int i = 1; i <= steps; ++i)
        rects.push_back(explodeRect(window, i, steps, style));
    return rects;
}

QString schemeEventName(int index)
{
    static const char *const names[] = {"Buddy In",       "Buddy Out",      "Close",          "Drop",
                                        "File's Done",    "Goodbye",        "MailBeep",       "Maximize",
                                        "MenuCommand",    "MenuPopup",      "Minimize",       "Open",
                                        "RestoreDown",    "RestoreUp",      "SystemAsterisk", "SystemExclamation",
                                        "SystemExit",     "SystemHand",     "SystemQuestion", "SystemStart",
                                        "Welcome",        "You've Got Mail"};
    if (index < 0 || index >= static_cast<int>(sizeof(names) / sizeof(names[0])))
        return QString();
    return QString::fromLatin1(names[index]);
}

} // namespace Balloon
