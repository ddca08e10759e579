#include "frmAssist.h"

#include "AssistantArt.h"
#include "BalloonMath.h"
#include "MsgForm.h"
#include "rg.h"

#include "platform/Platform.h"
#include "platform/Settings.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>


namespace {
const QString PositionSection = QStringLiteral("FP");

// A stored position, or the fallback when none (or no number) is stored.
double storedTwips(const QString &key, double fallback)
{
    bool ok = false;
    const double value = Settings::get(Settings::App, PositionSection, key).trimmed().toDouble(&ok);
    return ok ? value : fallback;
}
} // namespace

frmAssist::frmAssist()
    : Form(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("frmAssist"));
    setWindowTitle(QStringLiteral("Tarvela Assistant"));
    setFixedSize(AssistantArt::Width, AssistantArt::Height);
    // The user goes on typing in the window that has the focus.
    setAttribute(Qt::WA_ShowWithoutActivating, true);

    for (int i = 0; i < 3; ++i) {
        m_image1[i] = new QLabel(this);
        m_image1[i]->setObjectName(QStringLiteral("Image1"));
        m_image1[i]->setProperty("Index", i);
        m_image1[i]->setPixmap(AssistantArt::picture(static_cast<AssistantArt::Frame>(i)));
        m_image1[i]->setGeometry(0, 0, AssistantArt::Width, AssistantArt::Height);
        m_image1[i]->hide();
    }

    m_imgPic = new QLabel(this);
    m_imgPic->setObjectName(QStringLiteral("imgPic"));
    m_imgPic->setGeometry(0, 0, AssistantArt::Width, AssistantArt::Height);
    m_imgPic->setPixmap(m_image1[2]->pixmap());

    // Without a frame, a small button of its own closes the window.
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setText(QStringLiteral("\u00D7"));
    close->setToolTip(QStringLiteral("Close"));
    close->setAutoRaise(true);
    close->setFocusPolicy(Qt::NoFocus);
    close->setGeometry(AssistantArt::Width - 18, 2, 16, 16);
    connect(close, &QToolButton::clicked, this, [this] { Unload(); });

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1800);
    connect(m_timer1, &QTimer::timeout, this, &frmAssist::Timer1_Timer);
}

QLabel *frmAssist::Image1(int index) const { return (index >= 0 && index < 3) ? m_image1[index] : nullptr; }

void frmAssist::Form_Load()
{
    // Where the user last left the window, else the middle of the screen.
    // The native window is made now so that its frame counts where the
    // window system tells it before the window is first shown.
    winId();
    const QRect frame = frameGeometry();
    const double top = storedTwips(QStringLiteral("Top"),
                                   (Platform::screenHeightTwips() - Twips::fromPixels(frame.height())) / 2.0);
    const double left = storedTwips(QStringLiteral("Left"),
                                    (Platform::screenWidthTwips() - Twips::fromPixels(frame.width())) / 2.0);
    move(Twips::toPixels(left), Twips::toPixels(top));
    m_imgPic->setPixmap(m_image1[2]->pixmap());
    m_timer1->start();
}

void frmAssist::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    Settings::save(Settings::App, PositionSection,
                   {{QStringLiteral("Top"), QString::number(Twips::fromPixels(y()))},
                    {QStringLiteral("Left"), QString::number(Twips::fromPixels(x()))}});
    if (MsgForm *balloon = MsgForm::existing()) {
        balloon->hide();
        balloon->Unload();
    }
    AnimateForm(this, AnimOrigin, 1, 0, 7, -1);
    m_timer1->stop();
}

void frmAssist::MsgResults(int buttonIndex) { Q_UNUSED(buttonIndex); }

// The figure is dragged to where the user wants it.
void frmAssist::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragFrom = event->globalPosition().toPoint() - pos();
    Form::mousePressEvent(event);
}

void frmAssist::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - m_dragFrom);
    Form::mouseMoveEvent(event);
}

void frmAssist::showEvent(QShowEvent *event)
{
    Form::showEvent(event);
    qApp->installEventFilter(this);
}

void frmAssist::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    Form::hideEvent(event);
}

bool frmAssist::eventFilter(QObject *watched, QEvent *event)
{
    // The desktop brings forward the window the user clicks or turns to; the
    // figure, which never becomes the active window itself, comes forward
    // again above it. A message box the user has to answer stays on top.
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::WindowActivate) && watched->isWidgetType() && isVisible()
        && !QApplication::activeModalWidget()) {
        const QWidget *w = static_cast<QWidget *>(watched);
        if (w->window() != this && (type == QEvent::MouseButtonPress || w->isWindow()))
            raise();
    }
    return Form::eventFilter(watched, event);
}

void frmAssist::Timer1_Timer()
{
    // A blink: eyes closed for a moment, then open again.
    m_imgPic->setPixmap(m_image1[0]->pixmap());
    m_imgPic->repaint();
    Platform::sleepMs(100);
    m_imgPic->setPixmap(m_image1[1]->pixmap());
    m_imgPic->repaint();
    Platform::sleepMs(100);
}
