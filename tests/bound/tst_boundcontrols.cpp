#include "TestEnv.h"

#include "platform/Form.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/Database.h"
#include "store/KeptRows.h"
#include "store/Recordset.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>

using namespace TestEnv;

namespace {

// A window with boxes a data source binds to the assignments' fields.
class BoundWindow : public Form
{
public:
    DataSource *source = new DataSource(this, "Data1");
    QLineEdit *title = new QLineEdit(this);
    QLineEdit *points = new QLineEdit(this);
    QCheckBox *done = new QCheckBox(this);
    QPlainTextEdit *comments = new QPlainTextEdit(this);
    QLabel *due = new QLabel(this);

    // Binds the title and points (and the other boxes when `all`) and reads
    // the rows.
    void read(bool all = false)
    {
        source->setDatabaseName(databasePath());
        source->setRecordSource("Assignments");
        source->bind(title, "AssignmentTitle");
        source->bind(points, "ActualPoints");
        if (all) {
            source->bind(done, "Completed");
            source->bind(comments, "Comments");
            source->bind(due, "DateDue");
        }
        source->Refresh();
    }
};

// A window with a grid over the assignments, shown, as a user sees it.
struct GridWindow {
    QPointer<BoundWindow> w = new BoundWindow;
    DataGrid *grid = new DataGrid(w);
    ~GridWindow() { delete w.data(); }
    DataGridModel *model() const { return grid->model(); }
    bool open()
    {
        w->source->setDatabaseName(databasePath());
        w->source->setRecordSource("Assignments");
        grid->setDataSource(w->source, {{"Title", "AssignmentTitle"}, {"Due", "DateDue"}, {"Points", "ActualPoints"}});
        w->resize(500, 300);
        w->show();
        w->source->Refresh();
        return QTest::qWaitForWindowExposed(w);
    }
    QWidget *editor() const { return grid->view()->indexWidget(grid->view()->currentIndex()); }
    // Opens a cell's editor and types into it; no Enter.
    bool typeWithoutEnter(int row, int column, const QString &text)
    {
        QTableView *v = grid->view();
        const QModelIndex cell = model()->index(row, column);
        v->setCurrentIndex(cell);
        v->edit(cell);
        auto *line = qobject_cast<QLineEdit *>(v->indexWidget(cell));
        if (!line)
            return false;
        line->clear();
        QTest::keyClicks(line, text);
        return line->text() == text;
    }
};

// Assignments of these titles (and points), straight into a new file.
void assignments(const QStringList &titles, const QVariantList &points = {})
{
    createDatabase();
    for (int i = 0; i < titles.size(); ++i)
        exec("INSERT INTO Assignments (AssignmentTitle, ActualPoints) VALUES (?, ?)", {titles[i], points.value(i)});
}

QVariant assignmentField(const QString &field, const QString &title)
{
    return scalar(QString("SELECT %1 FROM Assignments WHERE AssignmentTitle = ?").arg(field), {title});
}

// From now on the file refuses every change (as a replaced or full file would).
void refuseUpdates()
{
    exec("CREATE TRIGGER refuse BEFORE UPDATE ON Assignments BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
}

} // namespace

// The bound data source and the grid over it: the saving of bound controls,
// rows typed into the grid, and what a failed save tells.
class BoundControlsTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void boundControlsShowAndSaveBeforeMoving()
    {
        assignments({"First", "Second"}, {5, 7});
        exec("UPDATE Assignments SET DateDue = '2026-10-01' WHERE ID = 1");
        auto *w = new BoundWindow;
        DataSource *s = w->source;
        QSignalSpy reposition(s, &DataSource::Reposition);
        w->read(true);
        QCOMPARE(reposition.count(), 1);
        QCOMPARE(w->title->text() + " " + w->due->text(), QString("First 10/1/2026"));
        QVERIFY(!w->done->isChecked());

        // What the user typed is stored when the source moves on.
        w->title->setText("First, revised");
        w->comments->setPlainText("it's late");
        w->done->setChecked(true);
        s->recordset().MoveNext();
        QCOMPARE(reposition.count(), 2);
        QCOMPARE(w->title->text(), QString("Second"));
        QCOMPARE(scalar("SELECT AssignmentTitle || '|' || Comments || '|' || Completed FROM Assignments WHERE ID = 1").toString(),
                 QString("First, revised|it's late|1"));
        // Untouched rows are not written: emptying a box stores Null.
        w->points->setText("");
        QVERIFY(s->recordset().FindFirst("AssignmentTitle", "first, REVISED"));
        QVERIFY(scalar("SELECT ActualPoints FROM Assignments WHERE ID = 2").isNull());
        QCOMPARE(w->points->text(), QString("5"));

        // The code's own Edit/Update takes the bound boxes along.
        w->points->setText("9");
        s->recordset().Edit();
        s->recordset().setValue("DateDue", "11/5/2026");
        s->recordset().Update();
        QCOMPARE(scalar("SELECT ActualPoints FROM Assignments WHERE ID = 1").toInt(), 9);
        QCOMPARE(w->due->text(), QString("11/5/2026"));

        // A box holding what the field cannot take, or a fraction for a whole
        // number: the save refuses and the window stays open with the entry kept.
        for (const char *typed : {"lots", "3.5"}) {
            w->points->setText(typed);
            QVERIFY(!w->close());
            QCOMPARE(w->points->text(), QString(typed));
        }
        const QStringList told = shownTexts();
        QCOMPARE(told.size(), 2);
        QVERIFY(told[0].contains("Type mismatch") && told[0].contains("Keep the window open to correct the entry?"));
        QVERIFY(told[1].contains("ActualPoints takes whole numbers only"));
        QCOMPARE(shownLast().buttons, MessageBox::YesNo);
        w->points->setText("12");
        QVERIFY(w->close());
        QCOMPARE(scalar("SELECT ActualPoints FROM Assignments WHERE ID = 1").toInt(), 12);
    }

    void aWindowWhoseSaveFailsClosesAfterSayingWhatIsLost()
    {
        assignments({"First"}, {5});
        auto *w = new BoundWindow;
        w->read();
        refuseUpdates();
        w->title->setText("First, revised");
        w->points->setText("9");
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(!w->close()); // Yes: it stays open with what was typed
        QCOMPARE(MessageBox::shown().size(), 1);
        const QString told = shownLast().text;
        QVERIFY2(told.contains("the disk is full"), qPrintable(told));
        QVERIFY2(told.contains("Not stored: AssignmentTitle \"First, revised\", ActualPoints \"9\""), qPrintable(told));
        QCOMPARE(w->title->text() + " " + w->points->text(), QString("First, revised 9"));
        // No: the window closes at once, and is not asked about twice.
        QPointer<BoundWindow> alive(w);
        MessageBox::setNextAnswers({MessageBox::No});
        QVERIFY(w->close());
        QCOMPARE(MessageBox::shown().size(), 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
        QCOMPARE(scalar("SELECT AssignmentTitle || ' ' || ActualPoints FROM Assignments").toString(), QString("First 5"));
    }

    void appendingClearsTheBoxesAndKeepsThePosition()
    {
        assignments({"Only"});
        BoundWindow w;
        w.read();
        Recordset &rs = w.source->recordset();
        rs.AddNew();
        QCOMPARE(w.title->text(), QString());
        rs.setValue("Class_ID", 4);
        rs.Update();
        QCOMPARE(rs.value("AssignmentTitle").toString(), QString("Only"));
        rs.MoveLast();
        QCOMPARE(rs.value("Class_ID").toInt(), 4);
        QCOMPARE(w.title->text(), QString());
        QCOMPARE(scalar("SELECT count(*) FROM Assignments").toInt(), 2);
    }

    void aRefreshShowsWhatAFreshReadShows()
    {
        createDatabase();
        const int bio = addClass(addSemester("Fall"), "Biology");
        addAssignment(bio, "Lab 1", 10, 5, "2026-10-01");
        addAssignment(bio, "Lab 2", 10, 6, "2026-10-02");
        BoundWindow w;
        DataSource *src = w.source;
        src->bind(w.title, "AssignmentTitle");
        src->setDatabaseName(databasePath());
        const QString byDue = "SELECT * FROM Assignments WHERE Class_ID = ? ORDER BY DateDue";
        const auto readFrom = [&](const QString &source, const QVariantList &params) {
            src->setRecordSource(source, params);
            src->Refresh();
            return titlesOf(src->recordset());
        };
        QCOMPARE(readFrom(byDue, {bio}), (QStringList{"Lab 1", "Lab 2"}));
        // Read again with nothing changed: on the first row again, as a new read stands.
        src->recordset().MoveLast();
        QSignalSpy repositions(src, &DataSource::Reposition);
        src->Refresh();
        QCOMPARE(repositions.size(), 1);
        QCOMPARE(src->recordset().position(), 0);
        QCOMPARE(w.title->text(), QString("Lab 1"));
        QCOMPARE(titlesOf(src->recordset()), (QStringList{"Lab 1", "Lab 2"}));
        // Its own edit moves a row in the order: a refresh sorts it anew.
        src->saveRow({{"DateDue", "2026-10-09"}});
        QCOMPARE(titlesOf(src->recordset()), (QStringList{"Lab 1", "Lab 2"}));
        src->Refresh();
        QCOMPARE(titlesOf(src->recordset()), (QStringList{"Lab 2", "Lab 1"}));
        // Another source and back, while another program adds a row.
        const QString one = "SELECT * FROM Assignments WHERE ID = ?";
        QCOMPARE(readFrom(one, {1}), QStringList{"Lab 1"});
        QCOMPARE(readFrom(byDue, {bio}), (QStringList{"Lab 2", "Lab 1"}));
        readFrom(one, {1});
        addAssignment(bio, "Lab 0", 10, 4, "2026-09-30");
        QCOMPARE(readFrom(byDue, {bio}), (QStringList{"Lab 0", "Lab 2", "Lab 1"}));
        // Typed into a bound box and not yet stored: stored before the rows are taken again.
        w.title->setText("Lab Zero");
        src->Refresh();
        QCOMPARE(assignmentField("count(*)", "Lab Zero").toInt(), 1);
        QCOMPARE(w.title->text(), QString("Lab Zero"));
    }

    void refreshWithoutSourceOrFileFails()
    {
        BoundWindow w;
        QCOMPARE(errorNumber([&] { w.source->recordset(); }), Err::ObjectVariableNotSet);
        QCOMPARE(errorNumber([&] { w.read(); }), Err::CannotOpen);
        QVERIFY(!QFile::exists(databasePath())); // opening never makes a file
    }

    void gridAppendsTheTypedRowWhenLeft()
    {
        assignments({"Old"}, {1});
        GridWindow g;
        QVERIFY(g.open());
        QSignalSpy inserted(g.grid, &DataGrid::AfterInsert);
        QSignalSpy updated(g.grid, &DataGrid::AfterUpdate);
        DataGridModel *model = g.model();
        QCOMPARE(model->rowCount(), 2);
        QVERIFY(model->setData(model->index(1, 0), "New one", Qt::EditRole));
        QVERIFY(!model->setData(model->index(1, 1), "someday", Qt::EditRole)); // refused at once
        QVERIFY(model->setData(model->index(1, 1), "10/3/2026", Qt::EditRole));
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(scalar("SELECT count(*) FROM Assignments").toInt(), 1);
        QVERIFY(model->commitPendingRow());
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(updated.count(), 1);
        QCOMPARE(assignmentField("DateDue", "New one").toString(), QString("2026-10-03"));
        QCOMPARE(model->rowCount(), 3);
        // Editing a stored row writes it at once.
        QVERIFY(model->setData(model->index(0, 2), "4", Qt::EditRole));
        QCOMPARE(updated.count(), 2);
        QCOMPARE(assignmentField("ActualPoints", "Old").toInt(), 4);
        // A row typed and not yet left is stored when the source is re-read.
        QVERIFY(model->setData(model->index(2, 0), "Pending", Qt::EditRole));
        g.w->source->Refresh();
        QCOMPARE(assignmentField("count(*)", "Pending").toInt(), 1);
    }

    void anOpenCellEditorIsStoredBeforeTheSourceMovesAndAtClose()
    {
        assignments({"Old", "Other", "Third"}, {1, 2, 3});
        GridWindow g;
        QVERIFY(g.open());
        // The code walks the rows from where the source stands: the text
        // typed (no Enter) is stored first.
        g.grid->view()->setCurrentIndex(g.model()->index(1, 0));
        QTRY_COMPARE(g.w->source->recordset().position(), 1);
        QVERIFY(g.typeWithoutEnter(1, 2, "8"));
        Recordset &rs = g.w->source->recordset();
        rs.MoveNext();
        QCOMPARE(rs.value("AssignmentTitle").toString(), QString("Third"));
        QCOMPARE(assignmentField("ActualPoints", "Other").toInt(), 8);
        QVERIFY(!g.editor());
        // A stored row: the text typed, no Enter, the window closed.
        QVERIFY(g.typeWithoutEnter(0, 2, "4"));
        QVERIFY(g.w->close());
        QCOMPARE(scalar("SELECT group_concat(ActualPoints) FROM (SELECT ActualPoints FROM Assignments ORDER BY ID)").toString(),
                 QString("4,8,3"));
        QVERIFY(shownTexts().isEmpty());
        // The new row: its last cell still being typed when the window closes.
        GridWindow h;
        QVERIFY(h.open());
        QVERIFY(h.model()->setData(h.model()->index(3, 0), "New one", Qt::EditRole));
        QVERIFY(h.typeWithoutEnter(3, 2, "7"));
        QVERIFY(h.w->close());
        QCOMPARE(assignmentField("ActualPoints", "New one").toInt(), 7);
        // An editor opened on the new row with nothing typed makes no row.
        GridWindow k;
        QVERIFY(k.open());
        QVERIFY(k.typeWithoutEnter(4, 0, QString()));
        QVERIFY(k.w->close());
        QCOMPARE(scalar("SELECT count(*) FROM Assignments").toInt(), 4);
    }

    void aFractionTypedIntoTheGridIsRefusedAndKept()
    {
        assignments({"Old"}, {1});
        GridWindow g;
        QVERIFY(g.open());
        QSignalSpy updated(g.grid, &DataGrid::AfterUpdate);
        // Typed, Enter: told, and the editor open again with what was typed.
        const auto typeAndEnter = [&](int row, const QString &text, int told) {
            QVERIFY(g.typeWithoutEnter(row, 2, text));
            QPointer<QWidget> typedInto = g.editor();
            QTest::keyClick(typedInto, Qt::Key_Return);
            QTRY_COMPARE(MessageBox::shown().size(), told);
            QTRY_VERIFY(!typedInto && g.editor());
            QCOMPARE(DataGridDelegate::editorText(g.editor()), text);
        };
        typeAndEnter(0, "3.5", 1);
        QVERIFY(shownLast().text.contains("ActualPoints takes whole numbers only: \"3.5\" has a fraction"));
        QCOMPARE(g.grid->view()->currentIndex(), g.model()->index(0, 2));
        QCOMPARE(scalar("SELECT ActualPoints FROM Assignments").toInt(), 1);
        QCOMPARE(updated.count(), 0);
        // A whole number then goes in.
        DataGridDelegate::setEditorText(g.editor(), "4");
        QTest::keyClick(g.editor(), Qt::Key_Return);
        QTRY_COMPARE(scalar("SELECT ActualPoints FROM Assignments").toInt(), 4);
        QCOMPARE(updated.count(), 1);
        // In the new row a refused cell does not end the row.
        QVERIFY(g.model()->setData(g.model()->index(1, 0), "Quiz", Qt::EditRole));
        typeAndEnter(1, "9.75", 2);
        QCOMPARE(scalar("SELECT count(*) FROM Assignments").toInt(), 1);
        QVERIFY(g.model()->hasPendingRow());
    }

    void aGridEditThatCannotBeStoredAtCloseIsNamed()
    {
        assignments({"Old"}, {1});
        GridWindow g;
        QVERIFY(g.open());
        refuseUpdates();
        QVERIFY(g.typeWithoutEnter(0, 2, "6"));
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(!g.w->close());
        QVERIFY(shownLast().text.contains("the disk is full"));
        QVERIFY(shownLast().text.contains("Not stored: Points \"6\""));
        QVERIFY(g.editor()); // still there to be corrected
        QCOMPARE(DataGridDelegate::editorText(g.editor()), QString("6"));
        MessageBox::setNextAnswers({MessageBox::No});
        QVERIFY(g.w->close());
        QCOMPARE(scalar("SELECT ActualPoints FROM Assignments").toInt(), 1);
    }
};

TARVELA_TEST_CLASS(BoundControlsTest)
#include "tst_boundcontrols.moc"
