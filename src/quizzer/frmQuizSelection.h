#pragma once
// The quiz selection: the titles of the quizzes to choose one from. Cancel
// and the close box bring the main window back; Start closes the window and
// opens the quiz taker on the chosen quiz.
#include "platform/Form.h"

class QLabel;
class QListWidget;
class QPushButton;

class frmQuizSelection : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmQuizSelection)
public:
    frmQuizSelection();

    // The main window's Take a Quiz: hides the main window and lists the
    // quizzes; with none in the database it says so and goes back.
    static void TakeAQuiz();

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;

private Q_SLOTS:
    void cmdStart_Click();
    void cmdCancel_Click();

private:
    void fillList();

    QLabel *Label1; // the instruction above the list of quizzes
    QListWidget *lstQuizzes;
    QPushButton *cmdStart;
    QPushButton *cmdCancel;
    // Closing to start a quiz leaves the main window hidden.
    bool m_starting = false;
};
