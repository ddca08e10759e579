#include "frmQuizBuilder.h"

#include "QuizTransfer.h"
#include "QuizzerErrors.h"
#include "platform/Trap.h"
#include "platform/Artwork.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/InputBox.h"
#include "platform/RuntimeError.h"
#include "platform/UserName.h"
#include "platform/WaitCursor.h"
#include "store/CurrentSelection.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/modTransport.h"
#include "platform/CellText.h"
#include "platform/Controls.h"

#include <QAbstractItemDelegate>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QTimer>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace QuizzerErrors;
using Trap::guarded;
using Trap::tell;

namespace {

constexpr int KeyRole = Qt::UserRole;
constexpr int QuizImage = 2;

const QString ExportTitle = QStringLiteral("Exporting quiz");
const QString ImportTitle = QStringLiteral("Importing quiz");

QString keyOf(const QVariant &id) { return QStringLiteral("Q") + QString::number(id.toLongLong()); }

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QString &tip)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    return b;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption = QString())
{
    auto *l = new QLabel(caption, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    return l;
}

// Appends a row with the given fields and returns its key; on failure
// nothing is stored and the error goes to the caller.
QVariant appendRow(Recordset &rs, const QList<QPair<QString, QVariant>> &fields)
{
    try {
        rs.AddNew();
        for (const auto &f : fields)
            rs.setValue(f.first, f.second);
        rs.Update();
    } catch (const RuntimeError &) {
        rs.CancelUpdate();
        throw;
    }
    return rs.valueAt(rs.RecordCount() - 1, QStringLiteral("ID"));
}

// Asks whether the diskette is ready.
bool ready(const QString &text, const QString &title)
{
    return MessageBox::show(text, MessageBox::YesNo, MessageBox::Question, title) == MessageBox::Yes;
}

// Ends the hourglass and shows the message.
void say(WaitCursor &hourglass, const QString &text, MessageBox::Icon icon, const QString &title)
{
    hourglass.set(false);
    MessageBox::show(text, MessageBox::OkOnly, icon, title);
}

} // namespace

frmQuizBuilder::frmQuizBuilder()
{
    setObjectName(QStringLiteral("frmQuizBuilder"));
    setWindowTitle(QStringLiteral("Tarvela QuizBuilder"));

    datQuizzes = new DataSource(this, QStringLiteral("datQuizzes"));
    datQuizItems = new DataSource(this, QStringLiteral("datQuizItems"));

    SSSplitter1 = new QSplitter(Qt::Horizontal, this);
    SSSplitter1->setObjectName(QStringLiteral("SSSplitter1"));
    SSSplitter1->setChildrenCollapsible(false);
    treeQuizzes = new QTreeWidget(SSSplitter1);
    keepCellsOnActivation(treeQuizzes);
    treeQuizzes->setItemDelegate(new CellTextDelegate(treeQuizzes));
    treeQuizzes->setObjectName(QStringLiteral("treeQuizzes"));
    treeQuizzes->setHeaderHidden(true);
    treeQuizzes->setRootIsDecorated(false);
    gridQuestions = new DataGrid(SSSplitter1);
    gridQuestions->setObjectName(QStringLiteral("gridQuestions"));
    gridQuestions->setDataSource(datQuizItems, {{QStringLiteral("Question"), QStringLiteral("Question")},
                                                {QStringLiteral("Answer"), QStringLiteral("Answer")}});
    gridQuestions->setAllowAddNew(false);
    gridQuestions->view()->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    SSSplitter1->addWidget(treeQuizzes);
    SSSplitter1->addWidget(gridQuestions);
    SSSplitter1->setStretchFactor(0, 1);
    SSSplitter1->setStretchFactor(1, 3);
    SSSplitter1->setSizes({170, 510});

    SSPanel2 = new QFrame(this);
    SSPanel2->setObjectName(QStringLiteral("SSPanel2"));
    SSPanel2->setFrameShape(QFrame::StyledPanel);
    SSPanel2->setFrameShadow(QFrame::Sunken);
    // A long title or question wraps in the panel; it never widens the window.
    lblCurrentQuiz = wrappedLabel(SSPanel2, "lblCurrentQuiz");
    lblCurrentQuestion = wrappedLabel(SSPanel2, "lblCurrentQuestion");
    auto *panel = new QGridLayout(SSPanel2);
    panel->addWidget(label(SSPanel2, nullptr, QStringLiteral("Current Quiz:")), 0, 0, Qt::AlignTop);
    panel->addWidget(lblCurrentQuiz, 0, 1);
    panel->addWidget(label(SSPanel2, nullptr, QStringLiteral("Question:")), 1, 0, Qt::AlignTop);
    panel->addWidget(lblCurrentQuestion, 1, 1);
    panel->setColumnStretch(1, 1);

    cmdAddQuiz = button(this, "cmdAddQuiz", QStringLiteral("Add Quiz"), QStringLiteral("Add a quiz"));
    SSCommand1 = button(this, "SSCommand1", QStringLiteral("Delete Quiz"), QStringLiteral("Delete a quiz"));
    cmdExportQuiz = button(this, "cmdExportQuiz", QStringLiteral("Export Quiz"), QStringLiteral("Export a quiz"));
    cmdImportQuiz = button(this, "cmdImportQuiz", QStringLiteral("Import Quiz"), QStringLiteral("Import a quiz"));
    SSCommand2 = button(this, "SSCommand2", QStringLiteral("Exit Quizzes"), QStringLiteral("Exit QuizBuilder"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {cmdAddQuiz, SSCommand1, cmdExportQuiz, cmdImportQuiz})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(SSCommand2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSSplitter1, 1);
    layout->addWidget(SSPanel2);
    layout->addLayout(buttons);
    resize(700, 460);

    datQuizzes->bind(lblCurrentQuiz, QStringLiteral("Title"));
    datQuizItems->bind(lblCurrentQuestion, QStringLiteral("Question"));

    connect(treeQuizzes, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node, int) { treeQuizzes_NodeClick(node); });
    connect(datQuizzes, &DataSource::Reposition, this, [this] {
        if (!m_rebuilding)
            datQuizzes_Reposition();
    });
    connect(datQuizItems, &DataSource::Reposition, this, &frmQuizBuilder::datQuizItems_Reposition);
    connect(gridQuestions, &DataGrid::AfterInsert, this, &frmQuizBuilder::gridQuestions_AfterInsert);
    // A new row with both its question and its answer is stored at once,
    // and the next empty row takes the next question.
    connect(gridQuestions->model(), &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &topLeft) {
        if (gridQuestions->model()->isNewRow(topLeft.row()))
            QTimer::singleShot(0, this, &frmQuizBuilder::storeCompleteNewRow);
    });
    connect(cmdAddQuiz, &QPushButton::clicked, this, &frmQuizBuilder::cmdAddQuiz_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &frmQuizBuilder::SSCommand1_Click);
    connect(cmdExportQuiz, &QPushButton::clicked, this, &frmQuizBuilder::cmdExportQuiz_Click);
    connect(cmdImportQuiz, &QPushButton::clicked, this, &frmQuizBuilder::cmdImportQuiz_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &frmQuizBuilder::SSCommand2_Click);
}

void frmQuizBuilder::Form_Load()
{
    datQuizzes->setDatabaseName(DatabasePath);
    datQuizzes->setRecordSource(QStringLiteral("Quizzes"));
    datQuizItems->setDatabaseName(DatabasePath);
    datQuizItems->setRecordSource(QStringLiteral("QuizItems"));
    // The window comes up showing the quizzes its activation will list: it
    // is not drawn empty first. A failure here is told by the activation.
    Trap::skip([&] { RefreshQuizTree(); });
}

void frmQuizBuilder::Form_Activate()
{
    guarded([&] { RefreshQuizTree(); });
}

void frmQuizBuilder::Form_Unload(bool &)
{
    if (CurrentSelection *main = CurrentSelection::get())
        main->showMainWindow();
}

void frmQuizBuilder::storeTypedQuestion()
{
    // A question typed into the new row (or a cell still being edited)
    // belongs to the quiz shown; it is stored before any other quiz becomes
    // current.
    gridQuestions->storeEdits();
    datQuizItems->saveBoundControls();
}

void frmQuizBuilder::storeCompleteNewRow()
{
    DataGridModel *model = gridQuestions->model();
    const int row = model->rowCount() - 1;
    if (!model->hasPendingRow() || !model->isNewRow(row))
        return;
    for (int column = 0; column < model->columnCount(); ++column)
        if (model->index(row, column).data().toString().isEmpty())
            return;
    QTableView *view = gridQuestions->view();
    if (view->indexWidget(view->currentIndex()))
        return; // still being typed
    guarded([&] {
        if (model->commitPendingRow())
            view->setCurrentIndex(model->index(model->rowCount() - 1, 0));
    });
}

void frmQuizBuilder::RefreshQuizTree(const QVariant &current)
{
    QVariant wanted = current;
    if (!wanted.isValid() || wanted.isNull())
        wanted = m_shownQuizId;
    storeTypedQuestion();
    {
        QScopedValueRollback<bool> rebuilding(m_rebuilding, true);
        QList<QTreeWidgetItem *> made;
        const auto putIn = qScopeGuard([&] { putRebuiltNodes(treeQuizzes, made, {KeyRole}); });
        datQuizzes->setRecordSource(QStringLiteral("SELECT * FROM QUIZZES"));
        datQuizzes->Refresh();
        Recordset &rs = datQuizzes->recordset();
        for (int i = 0; i < rs.RecordCount(); ++i) {
            auto *node = new QTreeWidgetItem;
            node->setText(0, rs.valueAt(i, QStringLiteral("Title")).toString());
            node->setData(0, KeyRole, keyOf(rs.valueAt(i, QStringLiteral("ID"))));
            node->setIcon(0, Artwork::treeIcon(QuizImage));
            made << node;
        }
        if (!rs.isEmpty() && !(wanted.isValid() && !wanted.isNull() && rs.FindFirst(QStringLiteral("ID"), wanted)))
            rs.MoveFirst();
    }
    datQuizzes_Reposition();
}

void frmQuizBuilder::selectNodeOf(const QVariant &id)
{
    const QString key = id.isNull() || !id.isValid() ? QString() : keyOf(id);
    for (int i = 0; i < treeQuizzes->topLevelItemCount(); ++i) {
        QTreeWidgetItem *node = treeQuizzes->topLevelItem(i);
        if (!key.isEmpty() && node->data(0, KeyRole).toString() == key) {
            treeQuizzes->setCurrentItem(node);
            return;
        }
    }
    treeQuizzes->setCurrentItem(nullptr);
    treeQuizzes->clearSelection();
}

void frmQuizBuilder::treeQuizzes_NodeClick(QTreeWidgetItem *node)
{
    if (!node || node->text(0).isEmpty())
        return;
    const QString title = node->text(0);
    guarded([&] {
        storeTypedQuestion();
        // The first quiz of that title (in table order) becomes current.
        datQuizzes->setRecordSource(QStringLiteral("SELECT * FROM Quizzes WHERE SAMETEXT(Title, ?)"), {title});
        datQuizzes->Refresh();
    });
}

void frmQuizBuilder::datQuizzes_Reposition()
{
    QVariant id;
    QString title;
    Trap::skip([&] {
        if (datQuizzes->hasCurrentRow()) {
            const Recordset &rs = datQuizzes->recordset();
            id = rs.value(QStringLiteral("ID"));
            title = rs.value(QStringLiteral("Title")).toString();
        }
    });
    // Re-reading stores a question still typed for the quiz shown so far.
    Trap::skip([&] {
        datQuizItems->setRecordSource(QStringLiteral("SELECT * FROM QuizItems WHERE Quiz_ID = ?"), {id});
        datQuizItems->Refresh();
    });
    m_shownQuizId = id;
    // Without a quiz a typed question would belong to none.
    gridQuestions->setAllowAddNew(!id.isNull() && id.isValid());
    gridQuestions->setCaption(title);
    selectNodeOf(id);
    SSPanel2->update();
}

void frmQuizBuilder::datQuizItems_Reposition() { SSPanel2->update(); }

void frmQuizBuilder::gridQuestions_AfterInsert()
{
    Trap::skip([&] {
        Recordset &rs = datQuizItems->recordset();
        rs.MoveLast();
        datQuizItems->saveRow({{QStringLiteral("Quiz_ID"), m_shownQuizId}});
    });
}

void frmQuizBuilder::cmdAddQuiz_Click()
{
    guarded([&] {
        const QString title = InputBox::ask(QStringLiteral("Enter the title for this new quiz."), QStringLiteral("Name quiz"), QString());
        if (title.trimmed().isEmpty())
            return;
        storeTypedQuestion();
        QVariant id;
        try {
            id = appendRow(datQuizzes->recordset(), {{QStringLiteral("Title"), title}, {QStringLiteral("LastUser"), UserName::text()}});
        } catch (const RuntimeError &e) {
            datQuizzes->showCurrentRow(); // the quiz shown before stays current
            MessageBox::show(QStringLiteral("The quiz was not added.\n") + e.description(), MessageBox::OkOnly, MessageBox::Exclamation,
                             QStringLiteral("Name quiz"));
            return;
        }
        RefreshQuizTree(id);
    });
}

void frmQuizBuilder::SSCommand1_Click()
{
    guarded([&] {
        storeTypedQuestion();
        // Its questions stay in the table.
        if (datQuizzes->hasCurrentRow())
            datQuizzes->recordset().Delete();
        RefreshQuizTree();
    });
}

void frmQuizBuilder::cmdExportQuiz_Click()
{
    guarded([&] {
        if (!ready(QStringLiteral("To export a quiz, you must have a floppy diskette\nwith drive A.\n\nAre you ready to proceed?"), ExportTitle))
            return;
        WaitCursor hourglass;
        storeTypedQuestion();
        if (!datQuizzes->hasCurrentRow())
            return say(hourglass, QStringLiteral("There is no quiz to export.\nAdd a quiz or import one first."), MessageBox::Exclamation,
                       ExportTitle);
        const QVariant title = datQuizzes->recordset().value(QStringLiteral("Title"));
        QVector<QPair<QVariant, QVariant>> pairs;
        if (datQuizItems->isOpen()) {
            const Recordset &items = datQuizItems->recordset();
            for (int i = 0; i < items.RecordCount(); ++i)
                pairs.append({items.valueAt(i, QStringLiteral("Question")), items.valueAt(i, QStringLiteral("Answer"))});
        }
        if (pairs.isEmpty())
            return say(hourglass,
                       QStringLiteral("The quiz \"%1\" has no questions, so nothing was exported.\nType its questions into the grid first.")
                           .arg(title.toString()),
                       MessageBox::Exclamation, ExportTitle);
        const QString path = QuizTransfer::filePath();
        try {
            QuizTransfer::write(path, QuizTransfer::encode(title, Clock::today(), pairs));
        } catch (const RuntimeError &e) {
            return say(hourglass, QStringLiteral("The quiz was not exported: the file a:\\quiz.out could not be written.\n") + e.description(),
                       MessageBox::Critical, ExportTitle);
        }
        say(hourglass, QStringLiteral("Quiz was exported as a:\\quiz.out!"), MessageBox::Information, QStringLiteral("Export done"));
    });
}

void frmQuizBuilder::cmdImportQuiz_Click()
{
    guarded([&] {
        if (!ready(QStringLiteral("To import a quiz, you must have a floppy diskette\nwith the quiz in drive A.\n\nAre you ready to proceed?"), ImportTitle))
            return;
        WaitCursor hourglass;
        storeTypedQuestion();
        QuizTransfer::Quiz quiz;
        try {
            quiz = QuizTransfer::read(QuizTransfer::importPath());
        } catch (const RuntimeError &e) {
            return say(hourglass, e.description() + QStringLiteral("\nNo quiz was imported."), MessageBox::Exclamation, ImportTitle);
        }
        // The quiz and its questions in one transaction: a write that fails
        // (a full disk, the file held by another program) leaves no quiz.
        QVariant quizId;
        int refused = 0;
        QString firstReason;
        try {
            auto db = Database::open(DatabasePath); // closed when it goes
            db->inTransaction([&] {
                auto quizzes = db->openRecordset(QStringLiteral("SELECT * FROM Quizzes WHERE ID IS NULL"), Database::Dynaset);
                quizId = appendRow(*quizzes, {{QStringLiteral("Title"), quiz.title}});
                quizzes->Close();
                auto items = db->openRecordset(QStringLiteral("SELECT * FROM QuizItems WHERE Quiz_ID = ?"), Database::Dynaset, {quizId});
                for (const auto &pair : std::as_const(quiz.pairs)) {
                    try {
                        appendRow(*items, {{QStringLiteral("Quiz_ID"), quizId}, {QStringLiteral("Question"), pair.first},
                                           {QStringLiteral("Answer"), pair.second}});
                    } catch (const RuntimeError &e) {
                        if (refused++ == 0)
                            firstReason = e.description();
                    }
                }
                items->Close();
            });
        } catch (const RuntimeError &e) {
            RefreshQuizTree();
            return say(hourglass, QStringLiteral("No quiz was imported.\n") + e.description(), MessageBox::Exclamation, ImportTitle);
        }
        RefreshQuizTree(quizId);
        if (refused > 0)
            say(hourglass,
                QStringLiteral("%1 of the %2 questions of the quiz could not be imported.\n%3").arg(refused).arg(quiz.pairs.size()).arg(firstReason),
                MessageBox::Exclamation, ImportTitle);
    });
}

void frmQuizBuilder::SSCommand2_Click() { Unload(); }
