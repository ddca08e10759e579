#include "TestEnv.h"

#include "platform/Form.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
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
        w->points->setText("12");
        QVERIFY(w->close());
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE ID = 1").toInt(), 12);
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
};

TARVELA_TEST_CLASS(RecordsetTest)
#include "tst_recordset.moc"
