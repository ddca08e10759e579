#pragma once
// Drawing, animation and sound procedures of the balloon and the assistant:
// the balloon's drawn buttons and icon, opening and closing a window with a
// caption animation and growing rectangles, and the sound-scheme sounds.
#include "BalloonMath.h"

#include <QColor>
#include <QList>
#include <QString>

class PictureBox;
class QWidget;

// A colour value as the windows' colour properties take it: 0x800000nn
// names system colour nn, anything else is 0x00BBGGRR.
QColor ColorFromValue(quint32 value);
namespace SysColor {
constexpr quint32 ActiveCaption = 0x80000002;
constexpr quint32 Highlight = 0x8000000D;
constexpr quint32 HighlightText = 0x8000000E;
} // namespace SysColor

// Draws a balloon button raised or sunken: cleared to its background colour,
// the caption centred in its text colour and font, a one-pixel edge around.
void DrawButtonUp(PictureBox *box, const QString &caption);
void DrawButtonDown(PictureBox *box, const QString &caption);

// Draws the standard icon with the given identifier at the box's top left.
constexpr int IconApplication = 32512;
constexpr int IconHand = 32513;
constexpr int IconQuestion = 32514;
constexpr int IconExclamation = 32515;
constexpr int IconAsterisk = 32516;
void DrawSystemIcon(PictureBox *box, int iconId);

// The origin code of the last AnimateForm call (0 before the first).
extern int AnimOrigin;

// Opens (mode 0) or closes (mode 1) a window with a caption animation from
// or to the origin point, growing rectangles (steps 0 or less: 900) when
// opening, and the "RestoreUp" or "RestoreDown" sound. balloon -1 places
// and shows the message balloon beside the window once it is shown.
void AnimateForm(QWidget *window, int origin, int mode, int steps, int style, int balloon);
// The same with the notification area as the point; always 900 rectangles.
void AnimateFormTray(QWidget *window, int mode, int style, int balloon);
// Draws the growing rectangles over the window's area, shows the window
// and, with balloon -1, places and shows the message balloon beside it.
void ExplodeForm(QWidget *window, int steps, int style, int balloon);

// The notification area's rectangle in screen pixels: the geometry of the
// program's visible tray icon where the system shows one, else all zeros.
Balloon::ScreenRect NotificationArea();

// Plays `soundFile`, or, when it is empty, the sound the user's scheme gives
// the event of that index; the path looked up is handed back in `soundFile`.
// Never holds the caller up; no sound configured means silence.
void PlaySchemeSound(QString &soundFile, int eventIndex);

// One value of the settings store, or the default when it is missing or empty.
QString RegGetString(const QString &app, const QString &section, const QString &key,
                     const QString &defaultValue = QString());
// Where the sound scheme lives in the settings store.
inline const QString SchemeApp = QStringLiteral("AppEvents");
inline const QString SchemeKey = QStringLiteral("Current");

// What the animations did, in order, for tests (kept in every mode, cleared
// by tests).
namespace AnimationLog {
enum Kind { Caption, Explode, ShowWindow, ShowBalloon, Sound, HideWindow, UnloadWindow };
struct Entry {
    Kind kind;
    Balloon::ScreenRect from; // caption: start; explode: the window's area
    Balloon::ScreenRect to;   // caption: end; explode: the last rectangle;
                              // balloon: where it went, in twips
    int count = 0;            // explode: rectangles drawn; sound: event index
    QString name;             // the window's objectName
};
const QList<Entry> &entries();
void clear();
} // namespace AnimationLog
