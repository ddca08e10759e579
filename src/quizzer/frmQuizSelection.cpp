#include "frmQuizSelection.h"

#include "QuizzerErrors.h"
#include "platform/Trap.h"
#include "frmQuizTaker.h"
#include "platform/MessageBox.h"
#include "store/CurrentSelection.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/modTransport.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace QuizzerErrors;
using Trap::guarded;
using Trap::tell;

frmQuizSelection::frmQuizSelection()
{
    setObjectName(QStringLiteral("frmQuizSelection"));
    setWindowTitle(QStringLiteral("Tarvela Quizzes"));

    Label1 = new QLabel(QStringLiteral("Select the quiz you'd like to take from the list below and click on the start button to begin."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    lstQuizzes = new QListWidget(this);
    lstQuizzes->setObjectName(QStringLiteral("lstQuizzes"));
    lstQuizzes->setSelectionMode(QAbstractItemView::SingleSelection);
    lstQuizzes->setSortingEnabled(false);
    cmdStart = new QPushButton(QStringLiteral("&Start"), this);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Start is the default button: Enter on a focused button presses that
    // button; anywhere else it presses Start.
    setDefaultButton(cmdStart);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdStart);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(lstQuizzes, 1);
    layout->addLayout(buttons);
    resize(380, 320);

    connect(cmdStart, &QPushButton::clicked, this, &frmQuizSelection::cmdStart_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmQuizSelection::cmdCancel_Click);
}

void frmQuizSelection::Form_Load() { lstQuizzes->clear(); }

void frmQuizSelection::Form_Unload(bool &)
{
    if (m_starting)
        return;
    if (CurrentSelection *main = CurrentSelection::get())
        main->showMainWindow();
}

void frmQuizSelection::TakeAQuiz()
{
    if (CurrentSelection *main = CurrentSelection::get())
        main->hideMainWindow();
    frmQuizSelection *w = nullptr;
    try {
        w = instance();
        w->Show();
        w->fillList();
    } catch (const RuntimeError &e) {
        tell(e);
        backToMainWindow(w);
    }
}

void frmQuizSelection::fillList()
{
    auto db = Database::open(DatabasePath);
    auto rs = db->openRecordset(QStringLiteral("Quizzes"), Database::Snapshot);
    if (rs->isEmpty()) {
        rs->Close();
        db->close();
        MessageBox::show(QStringLiteral("There are no quizzes in the database yet.\nUse the QuizBuilder to create or import some."),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("No quizzes."));
        Unload();
        return;
    }
    for (; !rs->isEOF(); rs->MoveNext()) {
        const QString title = rs->value(QStringLiteral("Title")).toString();
        if (!title.isEmpty())
            lstQuizzes->addItem(title);
    }
    rs->Close();
    db->close();
}


void frmQuizSelection::cmdCancel_Click() { Unload(); }

void frmQuizSelection::cmdStart_Click()
{
    const QList<QListWidgetItem *> chosen = lstQuizzes->selectedItems();
    if (chosen.isEmpty()) {
        MessageBox::show(QStringLiteral("You have to select a quiz (with your mouse) \nbefore clicking on start."), MessageBox::OkOnly,
                         MessageBox::Information, QStringLiteral("No quiz selected"));
        return;
    }
    const QString title = chosen.first()->text();
    m_starting = true;
    if (!Unload()) {
        m_starting = false;
        return;
    }
    frmQuizTaker::StartQuiz(title);
}
