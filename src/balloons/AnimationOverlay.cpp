#include "AnimationOverlay.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWindow>

AnimationOverlay::AnimationOverlay(const Balloon::ScreenRect &area)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                           | Qt::NoDropShadowWindowHint | Qt::WindowStaysOnTopHint),
      m_area(area)
{
    setObjectName(QStringLiteral("AnimationOverlay"));
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    const int w = qMax(1, area.width());
    const int h = qMax(1, area.height());
    setGeometry(area.left, area.top, w, h);
    // Without a compositing window manager a see-through window shows black,
    // so the overlay carries a copy of the screen beneath where it can get
    // one; where the window system gives none (Wayland) it is see-through.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QPixmap shot = screen->grabWindow(0, area.left, area.top, w, h);
        if (!shot.isNull() && shot.size() == QSize(w, h))
            m_beneath = shot.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    if (m_beneath.isNull()) {
        setAttribute(Qt::WA_TranslucentBackground, true);
        m_beneath = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
        m_beneath.fill(Qt::transparent);
    }
    m_canvas = m_beneath;
    show();
    if (Platform::testMode())
        return;
    // A real screen maps the window a moment later; wait briefly for that
    // so that the first frames are seen, taking no user input meanwhile.
    QPointer<AnimationOverlay> self(this);
    QElapsedTimer waited;
    waited.start();
    while (self && windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 150)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
}

void AnimationOverlay::clear() { m_canvas = m_beneath; }

void AnimationOverlay::present()
{
    repaint();
}

void AnimationOverlay::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, m_canvas);
}
