#include "TestEnv.h"

#include "platform/Form.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
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

namespace {
class BoundWindow : public Form
{
public:
    BoundWindow()
    {
        source = new DataSource(this, "Data1");
        title = new QLineEdit(this);
        points = new QLineEdit(this);
        done = new QCheckBox(this);
        comments = new QPlainTextEdit(this);
        due = new QLabel(this);
    }
    DataSource *source;
    QLineEdit *title;
    QLineEdit *points;
    QCheckBox *done;
    QPlainTextEdit *comments;
    QLabel *due;
};

// A window with a grid over the assignments, shown, as a user sees it.
struct GridWindow {
    QPointer<BoundWindow> w = new BoundWindow;
    DataGrid *grid = new DataGrid(w);
    ~GridWindow()
    {
        if (w)
            delete w.data();
    }
    DataGridModel *model() const { return grid->model(); }
    bool open()
    {
        w->source->setDatabaseName(TestEnv::databasePath());
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

int expectError(const std::function<void()> &f) { return TestEnv::errorNumber(f); }
} // namespace

// The recordset and the bound data source: positions, finds, edits, the
// saving of bound controls, and the values the file keeps.
class RecordsetTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void emptyResultIsAtStartAndEnd()
    {
        TestEnv::createDatabase();
        auto db = TestEnv::open();
        auto rs = db->openRecordset("SELECT * FROM Classes WHERE ClassName = ?", Database::Dynaset, {"none"});
        QVERIFY(rs->isBOF());
        QVERIFY(rs->isEOF());
        QVERIFY(!rs->hasCurrentRow());
        QCOMPARE(expectError([&] { rs->MoveFirst(); }), Err::NoCurrentRecord);
        QCOMPARE(expectError([&] { rs->value("ClassName"); }), Err::NoCurrentRecord);
        QCOMPARE(expectError([&] { rs->value("NoSuchField"); }), Err::ItemNotFound);
        QCOMPARE(expectError([&] { rs->setValue("ClassName", "x"); }), Err::UpdateWithoutEdit);
    }

    void movesFindsAndDeletesLikeTheEngine()
    {
        TestEnv::createDatabase();
        for (const char *t : {"Fall", "Winter", "Spring"})
            TestEnv::exec("INSERT INTO Semesters (Title) VALUES (?)", {QString(t)});
        auto db = TestEnv::open();
        auto rs = db->openRecordset("Semesters");
        QCOMPARE(rs->value("title").toString(), QString("Fall"));
        QVERIFY(rs->FindFirst("Title", "WINTER"));
        QCOMPARE(rs->value("Title").toString(), QString("Winter"));
        QVERIFY(!rs->FindFirst("Title", "Summer"));
        QVERIFY(rs->NoMatch());
        QCOMPARE(rs->value("Title").toString(), QString("Winter")); // a miss keeps the row
        // Deleting every row from the first on, moving to the next each time.
        rs->MoveFirst();
        while (!rs->isEOF()) {
            rs->Delete();
            QCOMPARE(expectError([&] { rs->value("Title"); }), Err::NoCurrentRecord);
            rs->MoveNext();
        }
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Semesters").toInt(), 0);
        QCOMPARE(expectError([&] { rs->MoveNext(); }), Err::NoCurrentRecord);
    }

    void snapshotRefusesChanges()
    {
        TestEnv::createDatabase();
        auto db = TestEnv::open();
        auto rs = db->openRecordset("AssignmentTypes", Database::Snapshot);
        QCOMPARE(expectError([&] { rs->Edit(); }), Err::ReadOnly);
        QCOMPARE(expectError([&] { rs->AddNew(); }), Err::ReadOnly);
    }

    void valuesRoundTripAndAreChecked()
    {
        TestEnv::createDatabase();
        auto db = TestEnv::open();
        auto rs = db->openRecordset("Assignments");
        rs->AddNew();
        const QString title = QString::fromUtf8("Women's \"Studies\" — Été 1");
        rs->setValue("AssignmentTitle", title);
        rs->setValue("DateDue", "12/9/26");
        rs->setValue("MaxPointsPossible", " 100 ");
        rs->setValue("Completed", true);
        rs->Update();
        rs->MoveLast();
        QCOMPARE(rs->value("AssignmentTitle").toString(), title);
        QCOMPARE(rs->value("DateDue").toDate(), QDate(2026, 12, 9));
        QCOMPARE(rs->value("MaxPointsPossible").toInt(), 100);
        QCOMPARE(rs->value("Completed").toBool(), true);
        QVERIFY(rs->value("ActualPoints").isNull());
        QVERIFY(rs->value("Comments").isNull());
        QCOMPARE(TestEnv::scalar("SELECT DateDue FROM Assignments").toString(), QString("2026-12-09"));

        rs->Edit();
        QCOMPARE(expectError([&] { rs->setValue("DateDue", "next week"); }), Err::TypeMismatch);
        QCOMPARE(expectError([&] { rs->setValue("ActualPoints", "ten"); }), Err::TypeMismatch);
        QCOMPARE(expectError([&] { rs->setValue("ActualPoints", "99999999999"); }), Err::Overflow);
        // Too long is refused, never cut.
        QCOMPARE(expectError([&] { rs->setValue("AssignmentTitle", QString(201, 'x')); }), Err::FieldTooSmall);
        rs->setValue("AssignmentTitle", QString(200, 'x'));
        rs->setValue("DateDue", "3:00 PM");
        rs->Update();
        QCOMPARE(rs->value("AssignmentTitle").toString().size(), 200);
        QCOMPARE(rs->value("DateDue").toTime(), QTime(15, 0));
        // The file itself refuses an over-long text written past the store.
        QVERIFY(expectError([&] { db->execute("UPDATE Assignments SET AssignmentTitle = ?", {QString(201, 'y')}); }) != 0);
    }

    void boundControlsShowAndSaveBeforeMoving()
    {
        TestEnv::createDatabase();
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, ActualPoints, DateDue) VALUES ('First', 5, '2026-10-01')");
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, ActualPoints) VALUES ('Second', 7)");
        auto *w = new BoundWindow;
        DataSource *s = w->source;
        QSignalSpy reposition(s, &DataSource::Reposition);
        s->setDatabaseName(TestEnv::databasePath());
        s->setRecordSource("Assignments");
        s->bind(w->title, "AssignmentTitle");
        s->bind(w->points, "ActualPoints");
        s->bind(w->done, "Completed");
        s->bind(w->comments, "Comments");
        s->bind(w->due, "DateDue");
        s->Refresh();
        QCOMPARE(reposition.count(), 1);
        QCOMPARE(w->title->text(), QString("First"));
        QCOMPARE(w->due->text(), QString("10/1/2026"));
        QVERIFY(!w->done->isChecked());

        // What the user typed is stored when the source moves on.
        w->title->setText("First, revised");
        w->comments->setPlainText("it's late");
        w->done->setChecked(true);
        s->recordset().MoveNext();
        QCOMPARE(reposition.count(), 2);
        QCOMPARE(w->title->text(), QString("Second"));
        QCOMPARE(TestEnv::scalar("SELECT AssignmentTitle FROM Assignments WHERE ID = 1").toString(), QString("First, revised"));
        QCOMPARE(TestEnv::scalar("SELECT Comments FROM Assignments WHERE ID = 1").toString(), QString("it's late"));
        QCOMPARE(TestEnv::scalar("SELECT Completed FROM Assignments WHERE ID = 1").toInt(), 1);
        // Untouched rows are not written: emptying a box stores Null.
        w->points->setText("");
        QVERIFY(s->recordset().FindFirst("AssignmentTitle", "first, REVISED"));
        QVERIFY(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE ID = 2").isNull());
        QCOMPARE(w->points->text(), QString("5"));

        // The code's own Edit/Update takes the bound boxes along.
        w->points->setText("9");
        s->recordset().Edit();
        s->recordset().setValue("DateDue", "11/5/2026");
        s->recordset().Update();
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE ID = 1").toInt(), 9);
        QCOMPARE(w->due->text(), QString("11/5/2026"));

        // A box holding what the field cannot take: the save refuses and the
        // window stays open with the entry kept.
        w->points->setText("lots");
        QVERIFY(!w->close());
        QVERIFY(w->isVisible() || !w->isUnloaded());
        QCOMPARE(w->points->text(), QString("lots"));
        QVERIFY(TestEnv::shownTexts().last().contains("Type mismatch"));
        QVERIFY(TestEnv::shownTexts().last().contains("Keep the window open to correct the entry?"));
        QCOMPARE(TestEnv::shownLast().buttons, MessageBox::YesNo);
        // A fraction typed for a whole-number field is refused as well, not rounded.
        w->points->setText("3.5");
        QVERIFY(!w->close());
        QVERIFY(TestEnv::shownTexts().last().contains("ActualPoints takes whole numbers only"));
        QCOMPARE(w->points->text(), QString("3.5"));
        w->points->setText("12");
        QVERIFY(w->close());
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE ID = 1").toInt(), 12);
    }

    void aWindowWhoseSaveFailsClosesAfterSayingWhatIsLost()
    {
        TestEnv::createDatabase();
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, ActualPoints) VALUES ('First', 5)");
        auto *w = new BoundWindow;
        DataSource *s = w->source;
        s->setDatabaseName(TestEnv::databasePath());
        s->setRecordSource("Assignments");
        s->bind(w->title, "AssignmentTitle");
        s->bind(w->points, "ActualPoints");
        s->Refresh();
        // The file refuses every change (as a replaced or full file would).
        TestEnv::exec("CREATE TRIGGER refuse BEFORE UPDATE ON Assignments BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
        w->title->setText("First, revised");
        w->points->setText("9");
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(!w->close()); // Yes: it stays open with what was typed
        QCOMPARE(MessageBox::shown().size(), 1);
        const QString told = TestEnv::shownLast().text;
        QVERIFY2(told.contains("the disk is full"), qPrintable(told));
        QVERIFY2(told.contains("Not stored: AssignmentTitle \"First, revised\", ActualPoints \"9\""), qPrintable(told));
        QCOMPARE(w->title->text(), QString("First, revised"));
        QCOMPARE(w->points->text(), QString("9"));
        // No: the window closes at once, and is not asked about twice.
        QPointer<BoundWindow> alive(w);
        MessageBox::setNextAnswers({MessageBox::No});
        QVERIFY(w->close());
        QCOMPARE(MessageBox::shown().size(), 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
        QCOMPARE(TestEnv::scalar("SELECT AssignmentTitle FROM Assignments").toString(), QString("First"));
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments").toInt(), 5);
    }

    void appendingClearsTheBoxesAndKeepsThePosition()
    {
        TestEnv::createDatabase();
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle) VALUES ('Only')");
        auto *w = new BoundWindow;
        DataSource *s = w->source;
        s->setDatabaseName(TestEnv::databasePath());
        s->setRecordSource("Assignments");
        s->bind(w->title, "AssignmentTitle");
        s->Refresh();
        Recordset &rs = s->recordset();
        rs.AddNew();
        QCOMPARE(w->title->text(), QString());
        rs.setValue("Class_ID", 4);
        rs.Update();
        QCOMPARE(rs.value("AssignmentTitle").toString(), QString("Only"));
        rs.MoveLast();
        QCOMPARE(rs.value("Class_ID").toInt(), 4);
        QCOMPARE(w->title->text(), QString());
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 2);
        delete w;
    }

    void rowsAreReadAsTheEngineHoldsThem()
    {
        TestEnv::createDatabase();
        auto db = Database::open(TestEnv::databasePath());
        db->execute("CREATE TEMP TABLE kinds (n, r, t, b, e)");
        db->execute("INSERT INTO kinds VALUES (5000000000, 2.5, 'Caf\u00e9 \"quoted\"', x'00ff', NULL)");
        const Database::Rows read = db->readRows("SELECT n, r, t, b, e, n AS \"a.b\", t || '!' FROM kinds");
        QCOMPARE(read.columns, (QStringList{"n", "r", "t", "b", "e", "a.b", "t || '!'"}));
        QCOMPARE(read.rows.size(), 1);
        const QVector<QVariant> &row = read.rows.first();
        QCOMPARE(row[0].typeId(), int(QMetaType::LongLong));
        QCOMPARE(row[0].toLongLong(), 5000000000LL);
        QCOMPARE(row[1].typeId(), int(QMetaType::Double));
        QCOMPARE(row[2], QVariant(QString::fromUtf8("Caf\u00e9 \"quoted\"")));
        QCOMPARE(row[3], QVariant(QByteArray("\x00\xff", 2)));
        QVERIFY(row[4].isNull());
        QCOMPARE(row[6].toString(), QString::fromUtf8("Caf\u00e9 \"quoted\"!"));
        // Parameters are bound as the driver binds them: an empty text is
        // Null, a date or a time is text, a yes/no is a number.
        const Database::Rows bound = db->readRows("SELECT typeof(?), typeof(?), ?, typeof(?), ?, typeof(?), ?",
                                                  {QString(), QString(""), QDate(2026, 3, 1), true, QTime(13, 5),
                                                   qlonglong(7), QDateTime(QDate(2026, 3, 1), QTime(8, 0))});
        QCOMPARE(bound.rows.first()[0].toString(), QString("null"));
        QCOMPARE(bound.rows.first()[1].toString(), QString("text"));
        QCOMPARE(bound.rows.first()[2].toString(), QString("2026-03-01"));
        QCOMPARE(bound.rows.first()[3].toString(), QString("integer"));
        QCOMPARE(bound.rows.first()[4].toString(), QString("13:05:00.000"));
        QCOMPARE(bound.rows.first()[5].toString(), QString("integer"));
        QCOMPARE(bound.rows.first()[6].toString(), QString("2026-03-01T08:00:00.000"));
        // Failures are raised as every other statement's.
        QString byRows, byRun;
        const int rowsNumber = TestEnv::errorNumber([&] { db->readRows("SELECT * FROM NoSuchTable"); }, &byRows);
        const int runNumber = TestEnv::errorNumber([&] { db->run("SELECT * FROM NoSuchTable"); }, &byRun);
        QCOMPARE(rowsNumber, runNumber);
        QVERIFY(rowsNumber != 0);
        QCOMPARE(byRows, byRun);
        QVERIFY2(byRows.contains("no such table"), qPrintable(byRows));
        QCOMPARE(expectError([&] { db->readRows("SELECT ?", {}); }), Err::SqlSyntax);
    }

    void heldRowsStandForTheFileUntilSomethingElseWrites()
    {
        TestEnv::createDatabase();
        const int cls = TestEnv::addClass(TestEnv::addSemester("Fall"), "Biology");
        TestEnv::addAssignment(cls, "Lab 1", 10, 5);
        TestEnv::addAssignment(cls, "Lab 2", 10, 6);
        auto db = Database::open(TestEnv::databasePath());
        auto rs = db->openRecordset("SELECT * FROM Assignments ORDER BY ID");
        QVERIFY(rs->holdsStoredRows());
        QVERIFY(rs->unchangedSinceRead());
        // Its own writes: what it holds is still what the file holds, but a
        // new read could give the rows otherwise.
        rs->Edit();
        rs->setValue("ActualPoints", 7);
        rs->Update();
        QVERIFY(rs->holdsStoredRows());
        QVERIFY(!rs->unchangedSinceRead());
        rs->AddNew();
        rs->setValue("AssignmentTitle", "Lab 3");
        rs->Update();
        rs->MoveFirst();
        rs->Delete();
        QVERIFY(rs->holdsStoredRows());
        // Another handle on the same connection writes.
        auto other = Database::open(TestEnv::databasePath());
        other->execute("UPDATE Assignments SET ActualPoints = 1 WHERE AssignmentTitle = 'Lab 2'");
        QVERIFY(!rs->holdsStoredRows());
        rs->MoveFirst();
        rs->Edit();
        rs->setValue("ActualPoints", 2);
        rs->Update();
        QVERIFY(!rs->holdsStoredRows()); // its own write does not make it whole again
        // Another program writes.
        auto fresh = db->openRecordset("SELECT * FROM Assignments ORDER BY ID");
        QVERIFY(fresh->holdsStoredRows());
        TestEnv::exec("UPDATE Assignments SET MaxPointsPossible = 20");
        QVERIFY(!fresh->holdsStoredRows());
        QVERIFY(!fresh->unchangedSinceRead());
        // The connection opened again (a compaction): nothing read before counts.
        auto before = db->openRecordset("SELECT * FROM Assignments ORDER BY ID");
        QVERIFY(before->unchangedSinceRead());
        QVERIFY(Database::closeConnection(TestEnv::databasePath()));
        QVERIFY(!before->unchangedSinceRead());
        QVERIFY(!before->holdsStoredRows());
    }

    void aRefreshShowsWhatAFreshReadShows()
    {
        TestEnv::createDatabase();
        const int bio = TestEnv::addClass(TestEnv::addSemester("Fall"), "Biology");
        TestEnv::addAssignment(bio, "Lab 1", 10, 5, "2026-10-01");
        TestEnv::addAssignment(bio, "Lab 2", 10, 6, "2026-10-02");
        auto *w = new BoundWindow;
        DataSource *src = w->source;
        src->bind(w->title, "AssignmentTitle");
        src->setDatabaseName(TestEnv::databasePath());
        const QString byDue = "SELECT * FROM Assignments WHERE Class_ID = ? ORDER BY DateDue";
        auto titles = [&] {
            QStringList out;
            for (int i = 0; i < src->recordset().RecordCount(); ++i)
                out << src->recordset().valueAt(i, "AssignmentTitle").toString();
            return out;
        };
        src->setRecordSource(byDue, {bio});
        src->Refresh();
        QCOMPARE(titles(), (QStringList{"Lab 1", "Lab 2"}));
        // Read again with nothing changed: on the first row again, as a new read stands.
        src->recordset().MoveLast();
        QSignalSpy repositions(src, &DataSource::Reposition);
        src->Refresh();
        QCOMPARE(repositions.size(), 1);
        QCOMPARE(src->recordset().position(), 0);
        QCOMPARE(w->title->text(), QString("Lab 1"));
        QCOMPARE(titles(), (QStringList{"Lab 1", "Lab 2"}));
        // Its own edit moves a row in the order: a refresh sorts it anew.
        src->saveRow({{"DateDue", "2026-10-09"}});
        QCOMPARE(titles(), (QStringList{"Lab 1", "Lab 2"}));
        src->Refresh();
        QCOMPARE(titles(), (QStringList{"Lab 2", "Lab 1"}));
        // Another source and back, while another program adds a row.
        src->setRecordSource("SELECT * FROM Assignments WHERE ID = ?", {1});
        src->Refresh();
        QCOMPARE(titles(), QStringList{"Lab 1"});
        src->setRecordSource(byDue, {bio});
        src->Refresh();
        QCOMPARE(titles(), (QStringList{"Lab 2", "Lab 1"}));
        src->setRecordSource("SELECT * FROM Assignments WHERE ID = ?", {1});
        src->Refresh();
        TestEnv::addAssignment(bio, "Lab 0", 10, 4, "2026-09-30");
        src->setRecordSource(byDue, {bio});
        src->Refresh();
        QCOMPARE(titles(), (QStringList{"Lab 0", "Lab 2", "Lab 1"}));
        // Typed into a bound box and not yet stored: stored before the rows are taken again.
        w->title->setText("Lab Zero");
        src->Refresh();
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE AssignmentTitle = 'Lab Zero'").toInt(), 1);
        QCOMPARE(w->title->text(), QString("Lab Zero"));
        delete w;
    }

    void keptRowsAreReadAgainOnlyAfterAWrite()
    {
        TestEnv::createDatabase();
        TestEnv::addSemester("Fall");
        TestEnv::addSemester("Spring");
        KeptRows kept;
        auto titles = [](Recordset &rs) {
            QStringList out;
            for (; !rs.isEOF(); rs.MoveNext())
                out << rs.value("Title").toString();
            return out;
        };
        Recordset *first = &kept.read(TestEnv::databasePath(), "SELECT * FROM Semesters");
        QCOMPARE(titles(*first), (QStringList{"Fall", "Spring"}));
        // Nothing written: the same rows, from their first row again.
        Recordset *second = &kept.read(TestEnv::databasePath(), "SELECT * FROM Semesters");
        QCOMPARE(second, first);
        QCOMPARE(second->position(), 0);
        QCOMPARE(titles(*second), (QStringList{"Fall", "Spring"}));
        // Another query: read.
        QCOMPARE(kept.read(TestEnv::databasePath(), "SELECT * FROM Semesters WHERE Title = ?", Database::Snapshot, {"Fall"}).RecordCount(), 1);
        QCOMPARE(kept.read(TestEnv::databasePath(), "SELECT * FROM Semesters").RecordCount(), 2);
        // Written by another program, or through the program's own connection: read again.
        TestEnv::addSemester("Summer");
        QCOMPARE(titles(kept.read(TestEnv::databasePath(), "SELECT * FROM Semesters")), (QStringList{"Fall", "Spring", "Summer"}));
        Database::open(TestEnv::databasePath())->execute("DELETE FROM Semesters WHERE Title = 'Fall'");
        QCOMPARE(titles(kept.read(TestEnv::databasePath(), "SELECT * FROM Semesters")), (QStringList{"Spring", "Summer"}));
        // Another file put in its place: its rows.
        const QString other = TestEnv::root() + "/other";
        QVERIFY(QDir().mkpath(other));
        QVERIFY(QFile::copy(TestEnv::databasePath(), other + "/tarvela.mdb"));
        {
            auto db = Database::openSeparate(other + "/tarvela.mdb");
            db->execute("UPDATE Semesters SET Title = 'Winter' WHERE Title = 'Summer'");
            db->close();
        }
        QVERIFY(QFile::remove(TestEnv::databasePath()));
        QVERIFY(QFile::rename(other + "/tarvela.mdb", TestEnv::databasePath()));
        QCOMPARE(titles(kept.read(TestEnv::databasePath(), "SELECT * FROM Semesters")), (QStringList{"Spring", "Winter"}));
    }

    void refreshWithoutSourceOrFileFails()
    {
        auto *w = new BoundWindow;
        QCOMPARE(expectError([&] { w->source->recordset(); }), Err::ObjectVariableNotSet);
        w->source->setDatabaseName(TestEnv::databasePath());
        w->source->setRecordSource("Semesters");
        QCOMPARE(expectError([&] { w->source->Refresh(); }), Err::CannotOpen);
        QVERIFY(!QFile::exists(TestEnv::databasePath())); // opening never makes a file
        delete w;
    }

    void notADatabaseIsToldAsSuch()
    {
        QFile f(TestEnv::databasePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'z'));
        f.close();
        QCOMPARE(expectError([&] { Database::open(TestEnv::databasePath()); }), Err::NotADatabase);
    }

    void gridAppendsTheTypedRowWhenLeft()
    {
        TestEnv::createDatabase();
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, ActualPoints) VALUES ('Old', 1)");
        auto *w = new BoundWindow;
        auto *grid = new DataGrid(w);
        w->source->setDatabaseName(TestEnv::databasePath());
        w->source->setRecordSource("Assignments");
        grid->setDataSource(w->source, {{"Title", "AssignmentTitle"}, {"Due", "DateDue"}, {"Points", "ActualPoints"}});
        w->source->Refresh();
        QSignalSpy inserted(grid, &DataGrid::AfterInsert);
        QSignalSpy updated(grid, &DataGrid::AfterUpdate);
        DataGridModel *model = grid->model();
        QCOMPARE(model->rowCount(), 2);
        QVERIFY(model->setData(model->index(1, 0), "New one", Qt::EditRole));
        QVERIFY(!model->setData(model->index(1, 1), "someday", Qt::EditRole)); // refused at once
        QVERIFY(model->setData(model->index(1, 1), "10/3/2026", Qt::EditRole));
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 1);
        QVERIFY(model->commitPendingRow());
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(updated.count(), 1);
        QCOMPARE(TestEnv::scalar("SELECT DateDue FROM Assignments WHERE AssignmentTitle = 'New one'").toString(), QString("2026-10-03"));
        QCOMPARE(model->rowCount(), 3);
        // Editing a stored row writes it at once.
        QVERIFY(model->setData(model->index(0, 2), "4", Qt::EditRole));
        QCOMPARE(updated.count(), 2);
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE AssignmentTitle = 'Old'").toInt(), 4);
        // A row typed and not yet left is stored when the source is re-read.
        QVERIFY(model->setData(model->index(2, 0), "Pending", Qt::EditRole));
        w->source->Refresh();
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE AssignmentTitle = 'Pending'").toInt(), 1);
        delete w;
    }

    void anOpenCellEditorIsStoredWhenTheWindowCloses()
    {
        TestEnv::createDatabase();
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, ActualPoints) VALUES ('Old', 1)");
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, ActualPoints) VALUES ('Other', 2)");
        GridWindow g;
        QVERIFY(g.open());
        // A stored row: the text typed, no Enter, the window closed.
        QVERIFY(g.typeWithoutEnter(0, 2, "4"));
        QVERIFY(g.w->close());
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE AssignmentTitle = 'Old'").toInt(), 4);
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE AssignmentTitle = 'Other'").toInt(), 2);
        QVERIFY(TestEnv::shownTexts().isEmpty());

        // The new row: its last cell still being typed when the window closes.
        GridWindow h;
        QVERIFY(h.open());
        QVERIFY(h.model()->setData(h.model()->index(2, 0), "New one", Qt::EditRole));
        QVERIFY(h.typeWithoutEnter(2, 2, "7"));
        QVERIFY(h.w->close());
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE AssignmentTitle = 'New one'").toInt(), 7);
        // An editor opened on the new row with nothing typed makes no row.
        GridWindow k;
        QVERIFY(k.open());
        QVERIFY(k.typeWithoutEnter(3, 0, QString()));
        QVERIFY(k.w->close());
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 3);
    }

    void anOpenCellEditorIsStoredBeforeTheSourceMoves()
    {
        TestEnv::createDatabase();
        for (const char *t : {"One", "Two", "Three"})
            TestEnv::exec("INSERT INTO Assignments (AssignmentTitle) VALUES (?)", {QString(t)});
        GridWindow g;
        QVERIFY(g.open());
        g.grid->view()->setCurrentIndex(g.model()->index(1, 0));
        QTRY_COMPARE(g.w->source->recordset().position(), 1);
        QVERIFY(g.typeWithoutEnter(1, 2, "8"));
        // The code walks the rows from where the source stands.
        Recordset &rs = g.w->source->recordset();
        rs.MoveNext();
        QCOMPARE(rs.value("AssignmentTitle").toString(), QString("Three"));
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE AssignmentTitle = 'Two'").toInt(), 8);
        QVERIFY(!g.editor());
    }

    void aFractionTypedIntoTheGridIsRefusedAndKept()
    {
        TestEnv::createDatabase();
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, ActualPoints) VALUES ('Old', 1)");
        GridWindow g;
        QVERIFY(g.open());
        QSignalSpy updated(g.grid, &DataGrid::AfterUpdate);
        QVERIFY(g.typeWithoutEnter(0, 2, "3.5"));
        QPointer<QWidget> typedInto = g.editor();
        QTest::keyClick(typedInto, Qt::Key_Return);
        QTRY_COMPARE(MessageBox::shown().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("ActualPoints takes whole numbers only: \"3.5\" has a fraction"));
        QTRY_VERIFY(!typedInto && g.editor()); // open again with what was typed
        QCOMPARE(DataGridDelegate::editorText(g.editor()), QString("3.5"));
        QCOMPARE(g.grid->view()->currentIndex(), g.model()->index(0, 2));
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments").toInt(), 1);
        QCOMPARE(updated.count(), 0);
        // A whole number then goes in.
        DataGridDelegate::setEditorText(g.editor(), "4");
        QTest::keyClick(g.editor(), Qt::Key_Return);
        QTRY_COMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments").toInt(), 4);
        QCOMPARE(updated.count(), 1);
        // In the new row a refused cell does not end the row.
        QVERIFY(g.model()->setData(g.model()->index(1, 0), "Quiz", Qt::EditRole));
        QVERIFY(g.typeWithoutEnter(1, 2, "9.75"));
        typedInto = g.editor();
        QTest::keyClick(typedInto, Qt::Key_Return);
        QTRY_COMPARE(MessageBox::shown().size(), 2);
        QTRY_VERIFY(!typedInto && g.editor());
        QCOMPARE(DataGridDelegate::editorText(g.editor()), QString("9.75"));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 1);
        QVERIFY(g.model()->hasPendingRow());
    }

    void aGridEditThatCannotBeStoredAtCloseIsNamed()
    {
        TestEnv::createDatabase();
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, ActualPoints) VALUES ('Old', 1)");
        GridWindow g;
        QVERIFY(g.open());
        TestEnv::exec("CREATE TRIGGER refuse BEFORE UPDATE ON Assignments BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
        QVERIFY(g.typeWithoutEnter(0, 2, "6"));
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(!g.w->close());
        QVERIFY(TestEnv::shownLast().text.contains("the disk is full"));
        QVERIFY(TestEnv::shownLast().text.contains("Not stored: Points \"6\""));
        QVERIFY(g.editor()); // still there to be corrected
        QCOMPARE(DataGridDelegate::editorText(g.editor()), QString("6"));
        MessageBox::setNextAnswers({MessageBox::No});
        QVERIFY(g.w->close());
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments").toInt(), 1);
    }
};

TARVELA_TEST_CLASS(RecordsetTest)
#include "tst_recordset.moc"
