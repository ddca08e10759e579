#include "MsgForm.h"

#include "BalloonMath.h"
#include "PictureBox.h"
#include "frmAssist.h"
#include "rg.h"

#include "platform/Platform.h"
#include "platform/Trap.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QRegion>


namespace {
QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width), Twips::toPixels(height));
}
} // namespace

QRegion RoundRectRegion(int width, int height, int ellipseWidth, int ellipseHeight)
{
    const int ew = qMin(ellipseWidth, width);
    const int eh = qMin(ellipseHeight, height);
    QRegion region(0, eh / 2, width, height - eh);
    region += QRegion(ew / 2, 0, width - ew, height);
    region += QRegion(0, 0, ew, eh, QRegion::Ellipse);
    region += QRegion(width - ew, 0, ew, eh, QRegion::Ellipse);
    region += QRegion(0, height - eh, ew, eh, QRegion::Ellipse);
    region += QRegion(width - ew, height - eh, ew, eh, QRegion::Ellipse);
    return region;
}

MsgForm::MsgForm() : Form(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("MsgForm"));
    // The user goes on typing in the window that has the focus.
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setFixedSize(Twips::toPixels(Balloon::BalloonWidth), Twips::toPixels(Balloon::BalloonHeight));
    setAutoFillBackground(true);

    m_picIcon = new PictureBox(this);
    m_picIcon->setObjectName(QStringLiteral("picIcon"));
    m_picIcon->setGeometry(twipsRect(75, 165, 555, 495));

    m_msgText = new QLabel(QStringLiteral("What can I do for you?"), this);
    m_msgText->setObjectName(QStringLiteral("msgText"));
    m_msgText->setGeometry(twipsRect(675, 270, 3630, 1185));
    m_msgText->setAutoFillBackground(false);
    m_msgText->setAttribute(Qt::WA_TranslucentBackground, true);
    m_msgText->setWordWrap(true);
    m_msgText->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    newButton(0, Balloon::ButtonLeft, Balloon::ButtonTop, Balloon::ButtonWidth, Balloon::ButtonHeight);

    // A click on another program or on the desktop takes the activation from
    // the program: that too takes the balloon away.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive && isVisible())
            hide();
    });
}

PictureBox *MsgForm::newButton(int index, int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    auto *box = new PictureBox(this);
    box->setObjectName(QStringLiteral("picOptions"));
    box->setProperty("Index", index);
    box->setGeometry(twipsRect(leftTwips, topTwips, widthTwips, heightTwips));
    QFont font = box->font();
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    box->setFont(font);
    connect(box, &PictureBox::mouseDown, this, [this, index](Qt::MouseButton, const QPoint &) {
        Trap::guarded([&] { picOptions_MouseDown(index); });
    });
    connect(box, &PictureBox::mouseUp, this, [this, index](Qt::MouseButton, const QPoint &) {
        Trap::guarded([&] { picOptions_MouseUp(index); });
    });
    m_picOptions.push_back(box);
    return box;
}

PictureBox *MsgForm::picOptions(int index) const
{
    return (index >= 0 && index < m_picOptions.size()) ? m_picOptions.at(index) : nullptr;
}

QString MsgForm::captionOf(int index) const
{
    return (index >= 0 && index < mButtonCaptions.size()) ? mButtonCaptions.at(index) : QString();
}

void MsgForm::Form_Load()
{
    applyBackColor();
    m_picIcon->setBorder(false);
    // The rounded outline: nothing is drawn and no click is taken outside it.
    const int w = Twips::toPixels(Balloon::BalloonWidth);
    const int h = Twips::toPixels(Balloon::BalloonHeight);
    setMask(RoundRectRegion(w, h, 20, 20));
}

void MsgForm::applyBackColor()
{
    const QColor colour = ColorFromValue(mBackColor);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    m_picIcon->setBackColor(colour);
    update();
}

void MsgForm::A_SetBackColor(quint32 colour)
{
    mBackColor = colour;
    applyBackColor();
}

void MsgForm::A_Initialize()
{
    const QColor textColour = m_msgText->palette().color(QPalette::WindowText);
    const QString family = m_msgText->font().family();
    for (int i = 0; i < m_picOptions.size(); ++i) {
        PictureBox *box = m_picOptions.at(i);
        box->setBackColor(ColorFromValue(mBackColor));
        box->setForeColor(textColour);
        QFont font = box->font();
        font.setFamily(family);
        box->setFont(font);
        DrawButtonUp(box, captionOf(i));
    }
    QPointer<MsgForm> self(this);
    Platform::doEvents();
    if (self)
        repaint();
}

void MsgForm::A_MsgText(const QString &text) { m_msgText->setText(text); }

void MsgForm::A_SystemIcon(int iconId) { DrawSystemIcon(m_picIcon, iconId); }

void MsgForm::A_AddButton(int index, const QString &caption)
{
    if (index == 0) {
        mButtonCaptions = QStringList{caption};
        // Only button 0 belongs to a one-caption list.
        while (m_picOptions.size() > 1)
            delete m_picOptions.takeLast();
        return;
    }
    mButtonCaptions.append(caption);
    const PictureBox *last = m_picOptions.last();
    const int leftTwips = Balloon::nextButtonLeft(Twips::fromPixels(last->x()), Twips::fromPixels(last->width()));
    PictureBox *box = newButton(static_cast<int>(m_picOptions.size()), leftTwips, Twips::fromPixels(last->y()),
                                Twips::fromPixels(last->width()), Twips::fromPixels(last->height()));
    box->setVisible(true);
}

void MsgForm::picOptions_MouseDown(int index)
{
    if (PictureBox *box = picOptions(index))
        DrawButtonDown(box, captionOf(index));
}

void MsgForm::picOptions_MouseUp(int index)
{
    if (PictureBox *box = picOptions(index))
        DrawButtonUp(box, captionOf(index));
    hide();
    Platform::doEvents();
    // Closing the assistant closes the balloon too.
    if (frmAssist *assist = frmAssist::existing()) {
        assist->MsgResults(index);
        assist->Unload();
    }
}

void MsgForm::showEvent(QShowEvent *event)
{
    Form::showEvent(event);
    m_shownDuringClick = QGuiApplication::mouseButtons() != Qt::NoButton;
    qApp->installEventFilter(this);
}

void MsgForm::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    Form::hideEvent(event);
}

bool MsgForm::eventFilter(QObject *watched, QEvent *event)
{
    // The balloon is never the active window, so a click elsewhere in the
    // program is what takes it away.
    if (m_shownDuringClick) {
        if (event->type() == QEvent::MouseButtonRelease && QGuiApplication::mouseButtons() == Qt::NoButton)
            m_shownDuringClick = false;
        return Form::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonPress && isVisible()) {
        // A press whose button is up again already is the late delivery of
        // the click that gave a control the focus and so brought the balloon
        // up (its release was handled while the balloon came): no new click.
        const auto *press = static_cast<QMouseEvent *>(event);
        if (!(QGuiApplication::mouseButtons() & press->button()))
            return Form::eventFilter(watched, event);
        if (auto *w = qobject_cast<QWidget *>(watched); w && w->window() != this)
            hide();
    }
    return Form::eventFilter(watched, event);
}
