#pragma once
// The quiz builder: the tree of quizzes, the questions of the current quiz
// in a grid where new ones are typed into the empty last row, and the
// commands that add, delete, export and import quizzes. After every rebuild
// of the tree a real quiz is current (the one current before, a new one
// after adding or importing, else the first), shown selected in the tree
// and named in the grid's caption; typed questions, Export and Delete act
// on it.
#include "platform/Form.h"

#include <QVariant>

class DataGrid;
class DataSource;
class QFrame;
class QLabel;
class QPushButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

class frmQuizBuilder : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmQuizBuilder)
public:
    frmQuizBuilder();

    DataSource *datQuizzes;
    DataSource *datQuizItems;

    // Rebuilds the tree from the database and makes `current` (a quiz's
    // ID) the current quiz; without it (or when it is gone) the quiz that
    // was current stays so, else the first.
    void RefreshQuizTree(const QVariant &current = QVariant());

    // The key of the current quiz, Null when there is none.
    QVariant currentQuizId() const { return m_shownQuizId; }

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool &cancel) override;

private Q_SLOTS:
    void treeQuizzes_NodeClick(QTreeWidgetItem *node);
    void datQuizzes_Reposition();
    void datQuizItems_Reposition();
    void gridQuestions_AfterInsert();
    void cmdAddQuiz_Click();
    void SSCommand1_Click();
    void cmdExportQuiz_Click();
    void cmdImportQuiz_Click();
    void SSCommand2_Click();

private:
    // Stores a question still being typed into the grid's new row.
    void storeTypedQuestion();
    void storeCompleteNewRow();
    void selectNodeOf(const QVariant &id);

    QSplitter *SSSplitter1; // the quizzes beside their questions
    QTreeWidget *treeQuizzes;
    DataGrid *gridQuestions;
    QFrame *SSPanel2; // "Current Quiz:" and "Question:"
    QLabel *lblCurrentQuiz;
    QLabel *lblCurrentQuestion;
    QPushButton *cmdAddQuiz;
    QPushButton *SSCommand1; // "Delete Quiz"
    QPushButton *cmdExportQuiz;
    QPushButton *cmdImportQuiz;
    QPushButton *SSCommand2; // "Exit Quizzes"

    // The quiz whose questions datQuizItems holds: new rows join it.
    QVariant m_shownQuizId;
    bool m_rebuilding = false;
};
