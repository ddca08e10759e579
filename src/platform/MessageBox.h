#pragma once
// Message boxes with the buttons, icons and answers the program uses.
// In test mode no dialog is shown: answers come from a queue filled in
// advance, and every box shown is recorded.
#include <QList>
#include <QString>

class QWidget;

class MessageBox
{
public:
    enum Buttons { OkOnly, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
    enum Icon { NoIcon, Critical, Question, Exclamation, Information };
    enum Answer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

    struct Shown {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
        Answer answer;
    };

    // Shows the box; an empty title shows the program's title.
    static Answer show(const QString &text, Buttons buttons = OkOnly, Icon icon = NoIcon,
                       const QString &title = QString());

    // Test support.
    static void setNextAnswers(const QList<Answer> &answers);
    static const QList<Shown> &shown();
    static void clearShown();

    static QString programTitle() { return QStringLiteral("Tarvela Desk"); }
};
