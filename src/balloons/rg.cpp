#include "rg.h"

#include "AnimationOverlay.h"
#include "MsgForm.h"
#include "PictureBox.h"

#include "platform/Form.h"
#include "platform/Platform.h"
#include "platform/Settings.h"
#include "platform/Sound.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QSystemTrayIcon>

using Balloon::ScreenRect;

int AnimOrigin = 0;

namespace {

QList<AnimationLog::Entry> g_log;

void logEntry(AnimationLog::Kind kind, const QWidget *w, ScreenRect from = {}, ScreenRect to = {}, int count = 0)
{
    g_log.push_back(AnimationLog::Entry{kind, from, to, count, w ? w->objectName() : QString()});
}

ScreenRect windowRect(const QWidget *w)
{
    const QRect g = w->frameGeometry();
    return ScreenRect{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
}

ScreenRect desktopRect()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    if (!s)
        return ScreenRect{};
    const QRect g = s->geometry();
    return ScreenRect{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
}

ScreenRect unite(const ScreenRect &a, const ScreenRect &b)
{
    return ScreenRect{qMin(a.left, b.left), qMin(a.top, b.top), qMax(a.right, b.right), qMax(a.bottom, b.bottom)};
}

// The colour of an active window's caption.
QColor captionColour() { return ColorFromValue(SysColor::ActiveCaption); }

// A rectangle drawn the way the window system draws one: outlined with a
// one-pixel black pen, filled with the brush, right and bottom edges outside.
void drawFilledRect(QPainter &p, const ScreenRect &r, int originX, int originY)
{
    const int w = r.width();
    const int h = r.height();
    if (w <= 0 || h <= 0)
        return;
    p.drawRect(QRect(r.left - originX, r.top - originY, w - 1, h - 1));
}

// The window system's caption animation: the caption flies from one
// rectangle to the other.
void drawAnimatedRects(const QWidget *window, const ScreenRect &from, const ScreenRect &to)
{
    logEntry(AnimationLog::Caption, window, from, to);
    constexpr int Frames = 12;
    constexpr int CaptionHeight = 18;
    ScreenRect area = unite(from, to);
    area.right += 1;
    area.bottom += 1;
    std::unique_ptr<AnimationOverlay> overlay(new AnimationOverlay(area));
    const QColor colour = captionColour();
    for (int k = 1; k <= Frames; ++k) {
        const double t = static_cast<double>(k) / Frames;
        auto lerp = [t](int a, int b) { return Balloon::roundHalfEven(a + (b - a) * t); };
        const ScreenRect r{lerp(from.left, to.left), lerp(from.top, to.top), lerp(from.right, to.right),
                           lerp(from.top, to.top) + qMin(CaptionHeight, qMax(1, lerp(from.bottom, to.bottom) - lerp(from.top, to.top)))};
        overlay->clear();
        QImage &canvas = overlay->canvas();
        {
            QPainter p(&canvas);
            QLinearGradient g(r.left - area.left, 0, r.right - area.left, 0);
            g.setColorAt(0.0, colour);
            g.setColorAt(1.0, colour.lighter(160));
            p.setPen(colour.darker(150));
            p.setBrush(g);
            drawFilledRect(p, r, area.left, area.top);
        }
        overlay->present();
        if (!Platform::testMode())
            Platform::sleepMs(12);
    }
}

void showWindow(QWidget *w)
{
    if (auto *form = qobject_cast<Form *>(w)) {
        form->Show();
    } else {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void unloadWindow(QWidget *w)
{
    logEntry(AnimationLog::UnloadWindow, w);
    // A window already closing (the caller is its unload handler) is left to it.
    if (auto *form = qobject_cast<Form *>(w))
        form->Unload();
    else
        w->close();
}

// The closing half shared by both animations.
void closeInto(QWidget *window, const ScreenRect &point)
{
    QPointer<QWidget> w(window);
    drawAnimatedRects(window, windowRect(window), point);
    QString sound;
    PlaySchemeSound(sound, Balloon::SchemeEvent::RestoreDown);
    Platform::doEvents();
    if (!w)
        return;
    logEntry(AnimationLog::HideWindow, w);
    w->hide();
    Platform::doEvents();
    if (!w)
        return;
    unloadWindow(w);
}

// The opening half shared by both animations.
void openFrom(QWidget *window, const ScreenRect &point, int steps, int style, int balloon)
{
    drawAnimatedRects(window, point, windowRect(window));
    ExplodeForm(window, steps, style, balloon);
    Platform::doEvents();
    QString sound;
    PlaySchemeSound(sound, Balloon::SchemeEvent::RestoreUp);
    Platform::doEvents();
}

} // namespace

QColor ColorFromValue(quint32 value)
{
    if ((value & 0xFF000000u) == 0x80000000u) {
        const QPalette pal = QApplication::palette();
        switch (value & 0xFFu) {
        case 2:  // active caption
        case 13: // highlight
            return pal.color(QPalette::Active, QPalette::Highlight);
        case 14: // highlighted text
            return pal.color(QPalette::Active, QPalette::HighlightedText);
        case 5: // window background
            return pal.color(QPalette::Base);
        case 8: // window text
            return pal.color(QPalette::Text);
        case 15: // button face
            return pal.color(QPalette::Button);
        case 18: // button text
            return pal.color(QPalette::ButtonText);
        default:
            return QColor(Qt::black);
        }
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

namespace {
void drawButton(PictureBox *box, const QString &caption, bool raised)
{
    box->setBorder(false);
    box->cls();
    QImage &img = box->image();
    const QRect client = box->clientRect();
    QPainter p(&img);
    p.setFont(box->font());
    const QFontMetrics fm(box->font());
    const int x = (client.width() - fm.horizontalAdvance(caption)) / 2;
    const int y = (client.height() - fm.height()) / 2;
    p.setPen(box->foreColor());
    p.drawText(x, y + fm.ascent(), caption);
    // A one-pixel edge: light above and left, dark below and right when
    // raised; the other way round when pressed.
    const QPalette &pal = box->palette();
    const QColor light = pal.color(QPalette::Light);
    const QColor dark = pal.color(QPalette::Dark);
    const int r = client.width() - 1;
    const int b = client.height() - 1;
    p.setPen(raised ? light : dark);
    p.drawLine(0, 0, r, 0);
    p.drawLine(0, 0, 0, b);
    p.setPen(raised ? dark : light);
    p.drawLine(0, b, r, b);
    p.drawLine(r, 0, r, b);
    p.end();
    box->update();
}
} // namespace

void DrawButtonUp(PictureBox *box, const QString &caption) { drawButton(box, caption, true); }

void DrawButtonDown(PictureBox *box, const QString &caption) { drawButton(box, caption, false); }

void DrawSystemIcon(PictureBox *box, int iconId)
{
    QStyle::StandardPixmap which;
    switch (iconId) {
    case IconApplication:
        which = QStyle::SP_DesktopIcon;
        break;
    case IconHand:
        which = QStyle::SP_MessageBoxCritical;
        break;
    case IconQuestion:
        which = QStyle::SP_MessageBoxQuestion;
        break;
    case IconExclamation:
        which = QStyle::SP_MessageBoxWarning;
        break;
    case IconAsterisk:
        which = QStyle::SP_MessageBoxInformation;
        break;
    default:
        return; // no such standard icon: nothing is drawn
    }
    const QIcon icon = box->style()->standardIcon(which, nullptr, box);
    QPainter p(&box->image());
    p.drawPixmap(0, 0, icon.pixmap(32, 32));
    p.end();
    box->update();
}

ScreenRect NotificationArea()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return ScreenRect{};
    QList<QSystemTrayIcon *> icons = qApp->findChildren<QSystemTrayIcon *>();
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        icons += w->findChildren<QSystemTrayIcon *>();
    for (QSystemTrayIcon *icon : icons) {
        const QRect g = icon->geometry();
        if (icon->isVisible() && g.isValid())
            return ScreenRect{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
    }
    return ScreenRect{};
}

void AnimateForm(QWidget *window, int origin, int mode, int steps, int style, int balloon)
{
    if (!window)
        return;
    if (mode == 1 && !window->isVisible())
        return;
    const QPoint cursor = QCursor::pos();
    QPoint active(0, 0);
    if (const QWidget *a = QApplication::activeWindow())
        active = a->frameGeometry().topLeft();
    const ScreenRect point = Balloon::originRect(origin, desktopRect(), cursor.x(), cursor.y(), active.x(), active.y());
    AnimOrigin = origin;
    if (Balloon::isTrayOrigin(origin)) {
        AnimateFormTray(window, mode, style, balloon);
        return;
    }
    if (mode == 0)
        openFrom(window, point, Balloon::effectiveSteps(steps), style, balloon);
    else if (mode == 1)
        closeInto(window, point);
}

void AnimateFormTray(QWidget *window, int mode, int style, int balloon)
{
    if (!window)
        return;
    const ScreenRect strip = Balloon::trayStrip(NotificationArea());
    if (mode == 0)
        openFrom(window, strip, Balloon::DefaultSteps, style, balloon);
    else if (mode == 1)
        closeInto(window, strip);
}

void ExplodeForm(QWidget *window, int steps, int style, int balloon)
{
    if (!window)
        return;
    QPointer<QWidget> w(window);
    const ScreenRect area = windowRect(window);
    const QVector<ScreenRect> rects = Balloon::explodeRects(area, steps, style);
    QPointer<AnimationOverlay> overlay = new AnimationOverlay(area);
    {
        QPainter p(&overlay->canvas());
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(captionColour());
        // Put the growth on the screen some thirty times, not once per
        // rectangle; nothing else runs meanwhile.
        const int every = qMax(1, static_cast<int>(rects.size()) / 30);
        for (int i = 0; i < rects.size(); ++i) {
            drawFilledRect(p, rects.at(i), area.left, area.top);
            if ((i + 1) % every == 0) {
                p.end();
                overlay->present();
                p.begin(&overlay->canvas());
                p.setPen(QPen(Qt::black, 0));
                p.setBrush(captionColour());
            }
        }
    }
    overlay->present();
    logEntry(AnimationLog::Explode, window, area, rects.isEmpty() ? ScreenRect{} : rects.last(),
             static_cast<int>(rects.size()));

    Platform::doEvents();
    if (w) {
        logEntry(AnimationLog::ShowWindow, w);
        showWindow(w);
    }
    Platform::doEvents();
    // The window now covers the rectangles.
    delete overlay.data();
    if (!w)
        return;

    if (balloon == -1) {
        if (MsgForm *m = MsgForm::existing()) {
            // The window stands where it was put before it was shown: what
            // the window system reports while it maps the window (for a
            // moment its corner of the screen, or a size of one pixel) is
            // not where it stands.
            const QRect f(area.left, area.top, area.width(), area.height());
            const Balloon::Placement at = Balloon::placeBalloon(
                Twips::fromPixels(f.y()), Twips::fromPixels(f.x()), Twips::fromPixels(f.width()),
                Twips::fromPixels(m->frameGeometry().width()), Twips::fromPixels(m->frameGeometry().height()),
                Platform::screenWidthTwips());
            m->move(Twips::toPixels(at.left), Twips::toPixels(at.top));
            logEntry(AnimationLog::ShowBalloon, m, {}, ScreenRect{at.left, at.top, at.left + Balloon::BalloonWidth,
                                                                  at.top + Balloon::BalloonHeight});
            m->Show();
            Platform::doEvents();
        }
    }
    // The window's caption stays as the window system draws it; the balloon,
    // shown last, holds the activation.
}

void PlaySchemeSound(QString &soundFile, int eventIndex)
{
    if (soundFile.isEmpty()) {
        const QString event = Balloon::schemeEventName(eventIndex);
        if (!event.isEmpty())
            soundFile = RegGetString(SchemeApp, event, SchemeKey, QString());
    }
    g_log.push_back(AnimationLog::Entry{AnimationLog::Sound, {}, {}, eventIndex, soundFile});
    Sound::play(soundFile);
}

QString RegGetString(const QString &app, const QString &section, const QString &key, const QString &defaultValue)
{
    const QString value = Settings::get(app, section, key);
    return value.isEmpty() ? defaultValue : value;
}

namespace AnimationLog {
const QList<Entry> &entries() { return g_log; }
void clear() { g_log.clear(); }
} // namespace AnimationLog
