#include "assistant.h"

#include "MsgForm.h"
#include "frmAssist.h"
#include "rg.h"

#include <QLabel>

void AssistantMessage(const QString &message)
{
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

    AnimateForm(frmAssist::instance(), Balloon::Origin::Tray2, 0, 0, 7, -1);
}
