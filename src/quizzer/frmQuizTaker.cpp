#include "frmQuizTaker.h"

#include "QuizzerErrors.h"
#include "platform/Trap.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "store/CurrentSelection.h"
#include "bound/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Values.h"
#include "store/modTransport.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using namespace QuizzerErrors;
using Trap::guarded;
using Trap::tell;

namespace {
QLabel *caption(QWidget *parent, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return l;
}

// A stored text: a long one wraps and never widens the window.
QLabel *field(QWidget *parent, const char *name) { return wrappedLabel(parent, name); }
} // namespace

frmQuizTaker::frmQuizTaker()
{
    setObjectName(QStringLiteral("frmQuizTaker"));
    setWindowTitle(QStringLiteral("Tarvela QuizTaker"));

    datQuizItems = new DataSource(this, QStringLiteral("datQuizItems"));
    datQuizItems->setRecordsetType(Database::Snapshot);

    lblCurrentQuiz = field(this, "lblCurrentQuiz");
    lblLastTaken = field(this, "lblLastTaken");
    lblLastScore = field(this, "lblLastScore");
    lblQuestion = field(this, "lblQuestion");
    lblQuestion->setMinimumHeight(48);
    lblQuestion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont big = lblQuestion->font();
    big.setPointSizeF(big.pointSizeF() * 1.25);
    lblQuestion->setFont(big);
    txtAnswer = new QLineEdit(this);
    txtAnswer->setObjectName(QStringLiteral("txtAnswer"));
    txtAnswer->installEventFilter(this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(caption(this, QStringLiteral("Current Quiz:")), 0, 0);
    grid->addWidget(lblCurrentQuiz, 0, 1, 1, 3);
    grid->addWidget(caption(this, QStringLiteral("Last taken:")), 1, 0);
    grid->addWidget(lblLastTaken, 1, 1);
    grid->addWidget(caption(this, QStringLiteral("Last score:")), 1, 2);
    grid->addWidget(lblLastScore, 1, 3);
    grid->addWidget(caption(this, QStringLiteral("Question:")), 2, 0);
    grid->addWidget(lblQuestion, 2, 1, 1, 3);
    grid->addWidget(txtAnswer, 3, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(2, 1);
    resize(480, 220);

    datQuizItems->bind(lblQuestion, QStringLiteral("Question"));
}

void frmQuizTaker::Form_Load()
{
    m_score = QuizScore();
    datQuizItems->setDatabaseName(DatabasePath);
    datQuizItems->setRecordSource(QStringLiteral("QuizItems"));
    txtAnswer->clear();
}

void frmQuizTaker::Form_Unload(bool &)
{
    if (CurrentSelection *main = CurrentSelection::get())
        main->showMainWindow();
}

void frmQuizTaker::StartQuiz(const QString &title)
{
    frmQuizTaker *taker = nullptr;
    try {
        auto db = Database::open(DatabasePath);
        auto quiz = db->openRecordset(QStringLiteral("SELECT * FROM Quizzes WHERE SAMETEXT(Title, ?)"), Database::Snapshot, {title});
        if (quiz->isEmpty()) {
            db->close();
            MessageBox::show(QStringLiteral("The quiz \"%1\" is no longer in the database.").arg(title), MessageBox::OkOnly,
                             MessageBox::Information, QStringLiteral("No quizzes."));
            backToMainWindow(nullptr);
            return;
        }
        taker = instance();
        taker->Show();
        taker->lblCurrentQuiz->setText(quiz->value(QStringLiteral("Title")).toString());
        taker->lblLastTaken->setText(Values::displayText(quiz->value(QStringLiteral("LastTaken"))));
        taker->lblLastScore->setText(Values::displayText(quiz->value(QStringLiteral("LastScore"))));
        taker->datQuizItems->setRecordSource(QStringLiteral("SELECT * FROM QuizItems WHERE QUIZ_ID = ?"), {quiz->value(QStringLiteral("ID"))});
        taker->datQuizItems->Refresh();
        quiz->Close();
        db->close();
        if (taker->datQuizItems->noRows()) {
            MessageBox::show(QStringLiteral("The quiz \"%1\" has no questions yet.\nUse the QuizBuilder to add some.").arg(title),
                             MessageBox::OkOnly, MessageBox::Information, QStringLiteral("No questions."));
            taker->Unload();
            return;
        }
        taker->txtAnswer->setFocus();
    } catch (const RuntimeError &e) {
        tell(e);
        backToMainWindow(taker);
    }
}

bool frmQuizTaker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtAnswer && event->type() == QEvent::KeyPress)
        return txtAnswer_KeyDown(static_cast<QKeyEvent *>(event));
    return Form::eventFilter(watched, event);
}

bool frmQuizTaker::txtAnswer_KeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        guarded([&] { checkAnswer(); });
        return true;
    case Qt::Key_Escape:
        Unload();
        return true;
    default:
        return false;
    }
}

void frmQuizTaker::checkAnswer()
{
    Recordset &rs = datQuizItems->recordset();
    if (!rs.hasCurrentRow()) {
        Unload();
        return;
    }
    m_score.answer(txtAnswer->text(), rs.value(QStringLiteral("Answer")));
    rs.MoveNext();
    if (rs.isEOF()) {
        MessageBox::show(m_score.message(), MessageBox::OkOnly, MessageBox::NoIcon, QString());
        Unload();
        return;
    }
    txtAnswer->clear();
    txtAnswer->setFocus();
}
