#pragma once
// A one-line input box. Cancel answers "" like an empty entry.
// In test mode the answers come from a queue.
#include <QList>
#include <QString>

class InputBox
{
public:
    struct Shown {
        QString prompt;
        QString title;
        QString defaultText;
    };
    static QString ask(const QString &prompt, const QString &title = QString(), const QString &defaultText = QString());

    static void setNextAnswers(const QStringList &answers);
    static const QList<Shown> &shown();
    static void clear();
};
