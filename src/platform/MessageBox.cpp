#include "MessageBox.h"

#include "Platform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
QList<MessageBox::Answer> g_answers;
QList<MessageBox::Shown> g_shown;

MessageBox::Answer defaultAnswer(MessageBox::Buttons b)
{
    switch (b) {
    case MessageBox::OkOnly:
    case MessageBox::OkCancel: return MessageBox::Ok;
    case MessageBox::AbortRetryIgnore: return MessageBox::Abort;
    case MessageBox::YesNoCancel:
    case MessageBox::YesNo: return MessageBox::Yes;
    case MessageBox::RetryCancel: return MessageBox::Retry;
    }
    return MessageBox::Ok;
}

QList<QPair<MessageBox::Answer, QMessageBox::StandardButton>> buttonsOf(MessageBox::Buttons b)
{
    using MB = MessageBox;
    switch (b) {
    case MB::OkOnly: return {{MB::Ok, QMessageBox::Ok}};
    case MB::OkCancel: return {{MB::Ok, QMessageBox::Ok}, {MB::Cancel, QMessageBox::Cancel}};
    case MB::AbortRetryIgnore: return {{MB::Abort, QMessageBox::Abort}, {MB::Retry, QMessageBox::Retry}, {MB::Ignore, QMessageBox::Ignore}};
    case MB::YesNoCancel: return {{MB::Yes, QMessageBox::Yes}, {MB::No, QMessageBox::No}, {MB::Cancel, QMessageBox::Cancel}};
    case MB::YesNo: return {{MB::Yes, QMessageBox::Yes}, {MB::No, QMessageBox::No}};
    case MB::RetryCancel: return {{MB::Retry, QMessageBox::Retry}, {MB::Cancel, QMessageBox::Cancel}};
    }
    return {{MB::Ok, QMessageBox::Ok}};
}
} // namespace

MessageBox::Answer MessageBox::show(const QString &text, Buttons buttons, Icon icon, const QString &title)
{
    const QString shownTitle = title.isEmpty() ? programTitle() : title;
    Answer answer = defaultAnswer(buttons);

    if (Platform::testMode()) {
        if (!g_answers.isEmpty())
            answer = g_answers.takeFirst();
    } else {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(shownTitle);
        box.setText(text);
        box.setTextFormat(Qt::PlainText);
        switch (icon) {
        case NoIcon: box.setIcon(QMessageBox::NoIcon); break;
        case Critical: box.setIcon(QMessageBox::Critical); break;
        case Question: box.setIcon(QMessageBox::Question); break;
        case Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Information: box.setIcon(QMessageBox::Information); break;
        }
        const auto list = buttonsOf(buttons);
        for (const auto &pair : list)
            box.addButton(pair.second);
        box.setDefaultButton(list.first().second);
        const int result = box.exec();
        answer = list.size() > 1 && (buttons == OkCancel || buttons == YesNoCancel || buttons == RetryCancel) ? Cancel : list.first().first;
        for (const auto &pair : list)
            if (result == pair.second)
                answer = pair.first;
    }
    g_shown.append(Shown{text, shownTitle, buttons, icon, answer});
    return answer;
}

void MessageBox::setNextAnswers(const QList<Answer> &answers) { g_answers = answers; }
const QList<MessageBox::Shown> &MessageBox::shown() { return g_shown; }
void MessageBox::clearShown()
{
    g_shown.clear();
    g_answers.clear();
}
