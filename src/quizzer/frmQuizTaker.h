#pragma once
// The quiz taker: the questions of one quiz, one at a time. Enter checks
// the typed answer and moves on; after the last one the score is shown.
// Esc ends the quiz without a score. Nothing is written to the database.
// Closing it in any way brings the main window back.
#include "QuizScore.h"
#include "platform/Form.h"

class DataSource;
class QKeyEvent;
class QLabel;
class QLineEdit;

class frmQuizTaker : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmQuizTaker)
public:
    frmQuizTaker();

    DataSource *datQuizItems;

    // Opens the taker on the first quiz of that title (the main window is
    // hidden). A quiz that is gone or has no questions is told and the
    // main window comes back.
    static void StartQuiz(const QString &title);

    const QuizScore &score() const { return m_score; }

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Returns true when the key was taken.
    bool txtAnswer_KeyDown(QKeyEvent *event);
    void checkAnswer();

    QLabel *lblCurrentQuiz;
    QLabel *lblQuestion;
    QLabel *lblLastTaken;
    QLabel *lblLastScore;
    QLineEdit *txtAnswer;
    QuizScore m_score;
};
