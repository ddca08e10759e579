#include "assistant.h"

#include "MsgForm.h"
#include "frmAssist.h"
#include "rg.h"

#include "platform/Form.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>

namespace {
// Moves the assistant where neither it nor its balloon covers what the user
// works with in the window: its input boxes, its buttons and its texts (the
// figures a hint talks about among them).
void keepClearOf(frmAssist *assist, MsgForm *balloon, QWidget *typingIn)
{
    QVector<QRect> boxes;
    const auto children = typingIn->findChildren<QWidget *>();
    for (QWidget *w : children) {
        const auto *label = qobject_cast<QLabel *>(w);
        const bool input = qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QTextEdit *>(w)
                           || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QAbstractSpinBox *>(w)
                           || qobject_cast<QAbstractButton *>(w) || (label && !label->text().isEmpty());
        if (input && w->isVisibleTo(typingIn))
            boxes << QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    }
    if (boxes.isEmpty())
        return;
    QScreen *screen = typingIn->screen() ? typingIn->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QPoint at = Balloon::clearOfBoxes(assist->frameGeometry(), balloon->frameGeometry().size(), screen->availableGeometry(),
                                            typingIn->frameGeometry(), boxes);
    if (at != assist->frameGeometry().topLeft())
        assist->move(at);
}
} // namespace

bool AssistantMessage(const QString &message)
{
    // The window the user works in, which keeps the focus.
    Form *typingIn = Form::activeForm();
    MsgForm *balloon = MsgForm::instance();
    balloon->A_SetBackColor(SysColor::Highlight);

    QLabel *text = balloon->msgText();
    QPalette pal = text->palette();
    pal.setColor(QPalette::WindowText, ColorFromValue(SysColor::HighlightText));
    text->setPalette(pal);
    QFont font = text->font();
    font.setFamily(QStringLiteral("Arial"));
    font.setBold(true);
    font.setItalic(false);
    font.setPointSize(8);
    text->setFont(font);

    balloon->A_SystemIcon(IconQuestion);
    balloon->A_AddButton(0, QStringLiteral("Ok"));
    balloon->A_MsgText(message);
    balloon->A_Initialize();

    frmAssist *assist = frmAssist::instance();
    if (typingIn && typingIn != assist && typingIn != balloon && typingIn->isVisible())
        keepClearOf(assist, balloon, typingIn);
    AnimateForm(assist, Balloon::Origin::Tray2, 0, 0, 7, -1);
    MsgForm *shown = MsgForm::existing();
    return shown && shown->isVisible();
}
