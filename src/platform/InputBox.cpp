#include "InputBox.h"

#include "MessageBox.h"
#include "Platform.h"

#include <QApplication>
#include <QInputDialog>

namespace {
QStringList g_answers;
QList<InputBox::Shown> g_shown;
}

QString InputBox::ask(const QString &prompt, const QString &title, const QString &defaultText)
{
    const QString shownTitle = title.isEmpty() ? MessageBox::programTitle() : title;
    g_shown.append(Shown{prompt, shownTitle, defaultText});
    if (Platform::testMode())
        return g_answers.isEmpty() ? QString() : g_answers.takeFirst();
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), shownTitle, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

void InputBox::setNextAnswers(const QStringList &answers) { g_answers = answers; }
const QList<InputBox::Shown> &InputBox::shown() { return g_shown; }
void InputBox::clear()
{
    g_answers.clear();
    g_shown.clear();
}
