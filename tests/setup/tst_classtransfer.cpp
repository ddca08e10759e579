#include "SetupHelpers.h"
#include "TransferSample.h"

#include "mainwindow/frmError.h"
#include "platform/FileOps.h"
#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"
#include "setup/ClassTransfer.h"
#include "setup/ClassTransferCommands.h"
#include "setup/frmEditClass.h"
#include "store/CurrentSelection.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"

#include <QDir>
#include <QPlainTextEdit>

using namespace SetupHelpers;
using TransferSample::Fields;

namespace {

// Every run-time error a command reported, in order.
struct Reports {
    QVector<int> numbers;
    QStringList descriptions;
};

// Answers Yes to the question and imports drive A:'s file into the current
// semester; the test fails when the import's result is not `added`.
Reports importAnsweringYes(bool added = true)
{
    Reports r;
    MessageBox::setNextAnswers({MessageBox::Yes});
    const bool result = ClassTransfer::importIntoCurrentSemester([&r](const RuntimeError &e) {
        r.numbers << e.number();
        r.descriptions << e.description();
    });
    if (result != added)
        QTest::qFail(added ? "the import added no class" : "the import added a class", __FILE__, __LINE__);
    return r;
}

// The sample class with its assignments in a semester.
int insertSample(int semesterId)
{
    Fields cls = TransferSample::classRow();
    cls.prepend({"Semester_ID", semesterId});
    const int id = insertRow("Classes", cls);
    for (Fields a : TransferSample::assignmentRows()) {
        a.prepend({"Class_ID", id});
        insertRow("Assignments", a);
    }
    return id;
}

QString transferFile() { return QDir(TestEnv::driveA()).filePath("class.tarvela"); }

// A new database with one semester, the transfer file in drive A:, and the
// program started.
frmMain *startWithFile(const QByteArray &bytes)
{
    newFile();
    writeBytes(transferFile(), bytes);
    return startQuiet();
}

const QString ImportQuestion = QStringLiteral(
    "To import a class, you must have a floppy diskette\nwith the classes in drive A.\n\nAre you ready to proceed?");

int newestClassId() { return TestEnv::scalar("SELECT max(ID) FROM Classes").toInt(); }

QString errorReport()
{
    frmError *e = frmError::existing();
    if (!e)
        return QStringLiteral("<no error window>");
    settle();
    if (!QTest::qWaitForWindowActive(e))
        return QStringLiteral("<error window not active>");
    settle();
    return e->findChild<QPlainTextEdit *>("txtError")->toPlainText();
}

// The error window reports what a command of the main window raised.
void reported(int number, const QString &routine, const QString &description = QString())
{
    const QString report = errorReport();
    QVERIFY2(report.contains(QString("Error number was  %1").arg(number)), qPrintable(report));
    QVERIFY(report.contains("Form was frmMain"));
    QVERIFY(report.contains("Routine was " + routine));
    QVERIFY(report.contains("Description: " + description));
}

} // namespace

// Class > Export and Class > Import through the main window's selection.
class ClassTransferTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void exportsAndImportsAWholeClass()
    {
        const int fall = newFile();
        const int spring = addSemester("Spring 2027", "2027-01-10", "2027-05-20");
        const int original = insertSample(fall);
        frmMain *m = startQuiet();
        clickNode(m, "O'Neill's Drama, Modern");

        trigger(m, "mnuClassExport");
        QVERIFY(!frmError::existing());
        lastBox("Export done", "Class was exported successfully!", MessageBox::Information);
        const QByteArray want = TransferSample::golden();
        QCOMPARE(fileBytes(transferFile()), want);
        // The export leaves the assignment list past its last row and the class where it was.
        QVERIFY(!m->datAssignments->hasCurrentRow());
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), original);
        QCOMPARE(QDir(TestEnv::driveA()).entryList(QDir::Files | QDir::Hidden), QStringList{"class.tarvela"});

        // Another copy: the class is not there; import into the spring semester.
        TestEnv::exec("DELETE FROM Assignments");
        TestEnv::exec("DELETE FROM Classes");
        QVERIFY(activate(m));
        clickNode(m, "Spring 2027");
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::Yes});
        trigger(m, "mnuClassImport");
        QVERIFY2(!frmError::existing(), qPrintable(errorReport()));
        QCOMPARE(MessageBox::shown().size(), 1); // the question, and no message at the end
        lastBox("Importing classes", ImportQuestion, MessageBox::Question, MessageBox::YesNo);

        QCOMPARE(count("Classes"), 1);
        const int id = newestClassId();
        QVERIFY(id != original); // a fresh key
        QCOMPARE(classField(id, "Semester_ID").toInt(), spring);
        const Fields cls = TransferSample::classRow();
        for (const QString &f : ClassTransfer::classFields()) {
            QVariant want = TransferSample::find(cls, f);
            if (f == "ClassName")
                want = "O'Neill's Drama  Modern";
            else if (f == "TeacherName")
                want = "Müller  Jürgen";
            QCOMPARE(classField(id, f).toString(), want.toString());
        }
        for (const char *f : {"ClassNotes", "CreditHours", "FinalLetterGrade"})
            QVERIFY2(classField(id, f).isNull(), f);
        for (const char *f : {"ClassClosed", "AppliesToGPA"}) // yes/no fields: no
            QCOMPARE(classField(id, f).toString(), QString("0"));
        const QString assignments = "SELECT Class_ID, AssignmentType, DateDue, MaxPointsPossible, Comments, AssignmentTitle, "
                                    "ActualPoints, DateEntered, DateGraded, DocumentPath, Completed FROM Assignments ORDER BY ID";
        const QString unset = "<null>|<null>|<null>|<null>|0"; // Completed, a yes/no field: no
        QCOMPARE(rows(assignments),
                 (QStringList{QString("%1|Homework|2026-09-10|10|Read pages 1-10  then summarise them|Sonnets  part 1|").arg(id) + unset,
                              QString("%1|<null>|2026-10-01|<null>|<null>|\"Ghosts\" by Ibsen|").arg(id) + unset,
                              QString("%1|Quiz|2026-11-05|0|Ære  øl og ål — naïve café €|Final's Quiz|").arg(id) + unset}));

        // The new class is current, and the tree shows it in its semester;
        // the grid shows its assignments under its own name.
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), id);
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "Spring 2027", "  O'Neill's Drama  Modern"}));
        DataGrid *grid = find<DataGrid>(m, "gridAssignments");
        QCOMPARE(grid->caption(), QString("O'Neill's Drama  Modern"));
        QStringList shownTitles;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (!grid->model()->isNewRow(r))
                shownTitles << grid->model()->index(r, 0).data().toString();
        QCOMPARE(shownTitles, (QStringList{"Sonnets  part 1", "\"Ghosts\" by Ibsen", "Final's Quiz"}));
        // Exported again from here, it gives the same file, whatever the locale.
        clickNode(m, "O'Neill's Drama  Modern");
        for (const QLocale &locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Arabic, QLocale::Egypt)}) {
            QLocale::setDefault(locale);
            trigger(m, "mnuClassExport");
            QLocale::setDefault(QLocale::c());
            QCOMPARE(fileBytes(transferFile()), want);
        }

        // Imported a second time: a second class of that name, made current.
        const Reports reports = importAnsweringYes();
        QCOMPARE(reports.numbers, QVector<int>());
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Classes WHERE ClassName = ?", {"O'Neill's Drama  Modern"}).toInt(), 2);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {newestClassId()}).toInt(), 3);
        QCOMPARE(count("Assignments"), 6);
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), newestClassId());
    }

    void withoutACurrentClassExportAndEditDoNothing()
    {
        newFile();
        frmMain *m = startQuiet();
        clickNode(m, "Fall 2026");
        QVERIFY(m->datClasses->noRows());
        MessageBox::clearShown();
        trigger(m, "mnuClassExport");
        trigger(m, "mnuClassEdit");
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(!frmError::existing());
        QVERIFY(!frmEditClass::existing());
        QVERIFY(!QFile::exists(transferFile()));
    }

    void noReadsNothingAndYesFindsTheFileWhateverTheLetterCaseOfItsName()
    {
        addClass(newFile(), "Biology");
        const QString upperCase = QDir(TestEnv::driveA()).filePath("CLASS.TARVELA");
        writeBytes(upperCase, TransferSample::golden());
        frmMain *m = startQuiet();
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::No});
        trigger(m, "mnuClassImport");
        QCOMPARE(TestEnv::shownTexts(), QStringList{ImportQuestion});
        QCOMPARE(count("Classes"), 1);
        QVERIFY(!frmError::existing());

        QCOMPARE(importAnsweringYes().numbers, QVector<int>());
        QCOMPARE(count("Classes"), 2);
        QCOMPARE(count("Assignments"), 3);

        // Nothing is read after No: even a missing file gives no report.
        QVERIFY(QFile::remove(upperCase));
        MessageBox::setNextAnswers({MessageBox::No});
        QVERIFY(!ClassTransfer::importIntoCurrentSemester([](const RuntimeError &) { QFAIL("reported after No"); }));
    }

    void oddLinesAreStoredAsTheyRead()
    {
        QStringList lines = TransferSample::classLines();
        lines[0] = "Null, Hypothesis";  // made by hand: the whole line is the value
        lines[1] = "Null";              // TeacherName: no value
        lines[2] = "null";              // TeacherPhone: text
        lines[3] = QString(51, 'e');    // TeacherEMail, 50 at most
        lines[4] = "";                  // MondayFrom: no value
        lines[6] = "  Null";            // TuesdayFrom: no value, leading blanks are skipped
        lines[18] = "someday";          // StartDate
        lines[20] = "40000";            // PointsPossible beyond 16 bits
        lines[21] = "36000.5";          // half to even
        lines[22] = "3000000000";       // beyond 32 bits
        lines << "NULL" << "Null" << "Null" << "Null" << "Null";
        lines << "Homework" << "31/12/2026" << "ten" << "Null" << QString(201, 't');
        lines << "Quiz" << "not a date"; // an incomplete last block
        frmMain *m = startWithFile(ClassTransfer::encode(lines));
        const Reports reports = importAnsweringYes();
        const int end = ClassTransfer::InputPastEndOfFile;
        const QList<std::tuple<int, QString, int>> told = {
            {4, "TeacherEMail", Err::FieldTooSmall}, {19, "StartDate", Err::TypeMismatch},       {23, "Points_Grade_B", Err::Overflow},
            {33, "DateDue", Err::TypeMismatch},      {34, "MaxPointsPossible", Err::TypeMismatch}, {36, "AssignmentTitle", Err::FieldTooSmall},
            {38, "DateDue", Err::TypeMismatch},      {39, "MaxPointsPossible", end},               {40, "Comments", end},
            {41, "AssignmentTitle", end}};
        QCOMPARE(reports.numbers.size(), told.size());
        for (int i = 0; i < told.size(); ++i) {
            const auto &[line, field, number] = told[i];
            QCOMPARE(reports.numbers[i], number);
            QVERIFY2(reports.descriptions[i].startsWith(QString("Line %1 of class.tarvela (%2): ").arg(line).arg(field)),
                     qPrintable(reports.descriptions[i]));
        }
        QVERIFY(reports.descriptions[1].contains("someday"));
        QCOMPARE(rows("SELECT ClassName, TeacherName, TeacherPhone, TeacherEMail, MondayFrom, MondayTo, TuesdayFrom, StartDate, "
                      "EndDate, PointsPossible, Points_Grade_A, Points_Grade_B, Points_Grade_C FROM Classes"),
                 QStringList{"Null, Hypothesis|<null>|null|<null>|<null>|10:15:00|<null>|<null>|2026-12-18|40000|36000|<null>|28000"});
        // Each whole block is added with what did read.
        QCOMPARE(rows("SELECT AssignmentType, DateDue, MaxPointsPossible, AssignmentTitle FROM Assignments ORDER BY ID"),
                 (QStringList{"NULL|<null>|<null>|<null>", "Homework|<null>|<null>|<null>"}));

        // Through the menu each report reaches the error window (the class
        // goes first, so that the tree has no second class of its name).
        TestEnv::exec("DELETE FROM Assignments");
        TestEnv::exec("DELETE FROM Classes");
        MessageBox::setNextAnswers({MessageBox::Yes});
        trigger(m, "mnuClassImport");
        reported(62, "mnuClassImport_Click", "Line 41 of class.tarvela (AssignmentTitle): Input past end of file");
        QCOMPARE(count("Classes"), 1);
    }

    // A file that is not a class transfer file (which ones: tst_transferformat):
    // one message naming the file and what is wrong with it, and the database
    // as it was.
    void aFileThatIsNoClassTransferFileWritesNothing()
    {
        insertSample(newFile());
        writeBytes(transferFile(), "Biology");
        frmMain *m = startQuiet();
        clickNode(m, "O'Neill's Drama, Modern");
        const QString before = TestEnv::contents(TestEnv::databasePath());
        const QStringList tree = treeText(m);
        const int current = m->datClasses->recordset().value("ID").toInt();

        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::Yes});
        trigger(m, "mnuClassImport");
        const QString told = QString("The file %1 is not a class transfer file: it has 1 line, and a class alone takes 26.\n\n"
                                     "Nothing was imported.").arg(transferFile());
        QCOMPARE(TestEnv::shownTexts(), (QStringList{ImportQuestion, told}));
        lastBox("Importing classes", told, MessageBox::Exclamation);
        QVERIFY2(!frmError::existing(), qPrintable(errorReport()));
        QCOMPARE(TestEnv::contents(TestEnv::databasePath()), before);
        QCOMPARE(treeText(m), tree);
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), current);
    }

    // A write that fails part-way stores nothing and says so; once the cause
    // is gone, the same file comes in whole.
    void aFailedWriteImportsNothing_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("told"); // %db: the database file
        QTest::newRow("disk full part-way") << "full" << "The disk holding %db is full:";
        QTest::newRow("92nd assignment refused") << "assignment" << "the disk is full";
        QTest::newRow("class refused") << "class" << "the disk is full";
        QTest::newRow("file held by another program at the end") << "held" << "is locked by another program";
    }
    void aFailedWriteImportsNothing()
    {
        QFETCH(QString, cause);
        QFETCH(QString, told);
        told.replace("%db", TestEnv::databasePath());
        insertSample(newFile());
        QStringList lines = TransferSample::classLines();
        lines[0] = "Imported Seminar";
        for (int i = 0; i < 2000; ++i)
            lines << "Homework" << "10/1/2026" << "10" << QString("Read chapter %1 and answer every question at its end").arg(i)
                  << QString("Exercise %1").arg(i + 1);
        writeBytes(transferFile(), ClassTransfer::encode(lines));
        Database::setBusyTimeout(100); // the held file: the end does not wait long
        frmMain *m = startQuiet();
        clickNode(m, "O'Neill's Drama, Modern");
        const QString before = TestEnv::contents(TestEnv::databasePath());
        const QStringList tree = treeText(m);
        const int current = m->datClasses->recordset().value("ID").toInt();

        auto program = Database::open(TestEnv::databasePath()); // the program's own connection
        std::shared_ptr<Database> other;
        if (cause == "full") {
            const int pages = program->readRows("PRAGMA page_count").rows.value(0).value(0).toInt();
            program->execute(QString("PRAGMA max_page_count = %1").arg(pages + 8));
        } else if (cause == "held") {
            other = TestEnv::open();
            other->execute("BEGIN");
            other->readRows("SELECT count(*) FROM Classes");
        } else {
            TestEnv::exec(QString("CREATE TRIGGER refuse BEFORE INSERT ON %1 %2 BEGIN SELECT RAISE(ABORT, 'the disk is full'); END")
                              .arg(cause == "class" ? "Classes" : "Assignments",
                                   cause == "class" ? "" : "WHEN (SELECT count(*) FROM Assignments WHERE Class_ID = NEW.Class_ID) >= 91"));
        }
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::Yes});
        trigger(m, "mnuClassImport");
        QCOMPARE(MessageBox::shown().size(), 2);
        const MessageBox::Shown said = TestEnv::shownLast();
        QVERIFY2(said.text.startsWith("Nothing was imported: the class \"Imported Seminar\" and its assignments could not be stored.\n\n"),
                 qPrintable(said.text));
        QVERIFY2(said.text.contains(told), qPrintable(said.text));
        QCOMPARE(said.title, QString("Importing classes"));
        QCOMPARE(said.icon, MessageBox::Exclamation);
        QVERIFY2(!frmError::existing(), qPrintable(errorReport()));
        if (other) {
            other->execute("COMMIT");
            other->close();
        }
        QCOMPARE(TestEnv::contents(TestEnv::databasePath()), before);
        QCOMPARE(treeText(m), tree);
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), current);

        // The cause gone, the file comes in whole and its class is current.
        program->execute("PRAGMA max_page_count = 1073741823");
        TestEnv::exec("DROP TRIGGER IF EXISTS refuse");
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::Yes});
        trigger(m, "mnuClassImport");
        QCOMPARE(TestEnv::shownTexts(), QStringList{ImportQuestion});
        QVERIFY2(!frmError::existing(), qPrintable(errorReport()));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {newestClassId()}).toInt(), 2000);
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), newestClassId());
        QVERIFY(treeText(m).contains("  Imported Seminar"));
    }

    void aMissingFileOrSemesterIsReportedAndAddsNothing()
    {
        addClass(newFile(), "Biology");
        frmMain *m = startQuiet();
        Reports reports = importAnsweringYes(false);
        QCOMPARE(reports.numbers, QVector<int>{Err::FileNotFound});
        QVERIFY(reports.descriptions[0].contains("class.tarvela"));
        QCOMPARE(count("Classes"), 1);

        // Nor does a file that cannot be read.
        writeBytes(transferFile(), TransferSample::golden());
        FileOps::denyReading(TestEnv::driveA());
        QCOMPARE(importAnsweringYes(false).numbers, QVector<int>{Err::PathFileAccess});
        QCOMPARE(count("Classes"), 1);
        FileOps::clearDenied();

        // Nor does a missing drive A: folder; the report reaches the error window.
        qputenv("TARVELA_DRIVE_A", (TestEnv::root() + "/no-disk").toUtf8());
        MessageBox::setNextAnswers({MessageBox::Yes});
        trigger(m, "mnuClassImport");
        reported(53, "mnuClassImport_Click");
        QCOMPARE(count("Classes"), 1);

        // Nor does a good file without a current semester.
        qputenv("TARVELA_DRIVE_A", TestEnv::driveA().toUtf8());
        Recordset &semesters = CurrentSelection::get()->datSemesters()->recordset();
        semesters.MoveLast();
        semesters.MoveNext(); // past the last row
        QCOMPARE(importAnsweringYes(false).numbers, QVector<int>{Err::NoCurrentRecord});
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(count("Assignments"), 0);
    }

    void aFailedExportClaimsNoSuccessAndKeepsTheEarlierFile()
    {
        insertSample(newFile());
        frmMain *m = startQuiet();
        const QByteArray good = "an earlier export\r\n";
        writeBytes(transferFile(), good);

        // A write-protected disk.
        TestEnv::exec("UPDATE Classes SET TeacherName = 'Someone else'");
        clickNode(m, "O'Neill's Drama, Modern");
        FileOps::denyChanges(TestEnv::driveA());
        MessageBox::clearShown();
        trigger(m, "mnuClassExport");
        QVERIFY(MessageBox::shown().isEmpty());
        reported(75, "mnuClassExport_Click");
        QCOMPARE(fileBytes(transferFile()), good);
        QCOMPARE(QDir(TestEnv::driveA()).entryList(QDir::Files | QDir::Hidden), QStringList{"class.tarvela"});
        FileOps::clearDenied();

        // No disk at all, and a "folder" that is a file.
        QVector<int> numbers;
        const auto reporter = [&numbers](const RuntimeError &e) { numbers << e.number(); };
        qputenv("TARVELA_DRIVE_A", (TestEnv::root() + "/no-disk").toUtf8());
        QVERIFY(!ClassTransfer::exportCurrentClass(reporter));
        const QString plain = TestEnv::root() + "/plain-file";
        writeBytes(plain, QByteArray());
        qputenv("TARVELA_DRIVE_A", plain.toUtf8());
        QVERIFY(!ClassTransfer::exportCurrentClass(reporter));
        QCOMPARE(numbers, (QVector<int>{Err::PathFileAccess, Err::PathFileAccess}));
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(!QFile::exists(TestEnv::root() + "/no-disk"));

        // Back on a good disk the export works again.
        qputenv("TARVELA_DRIVE_A", TestEnv::driveA().toUtf8());
        QVERIFY(ClassTransfer::exportCurrentClass(reporter));
        QVERIFY(fileBytes(transferFile()).contains("\r\nSomeone else\r\n"));
        QCOMPARE(TestEnv::shownLast().text, QString("Class was exported successfully!"));
    }

    void exportTakesTheClassNowCurrentWithItsAssignmentsIfAny()
    {
        const int fall = newFile();
        const int art = addClass(fall, "Art");
        addAssignment(art, "Sketches", 10, 8);
        const int music = addClass(fall, "Music");
        addAssignment(music, "Scales", 20, 15, "2026-10-02");
        addAssignment(music, "Etude", 30, 25, "2026-09-15");
        frmMain *m = startQuiet();
        clickNode(m, "Art");
        // Another window moves the class as the search window does; the list
        // still holds Art's rows.
        QVERIFY(CurrentSelection::get()->datClasses()->recordset().FindFirst("ClassName", "Music"));
        QVERIFY(ClassTransfer::exportCurrentClass([](const RuntimeError &e) { QFAIL(qPrintable(e.description())); }));
        const QStringList lines = TextCodec::splitLines(QString::fromUtf8(fileBytes(transferFile())));
        QCOMPARE(lines.size(), 36);
        QCOMPARE(lines[0], QString("Music"));
        QCOMPARE(lines.mid(26), (QStringList{"Null", "9/15/2026", "30", "Null", "Etude", "Null", "10/2/2026", "20", "Null", "Scales"}));

        // A class without assignments or values goes out and comes in as its name.
        const int chess = addClass(fall, "Chess, Openings");
        QVERIFY(activate(m));
        clickNode(m, "Chess, Openings");
        trigger(m, "mnuClassExport");
        QCOMPARE(fileBytes(transferFile()), "Chess  Openings\r\n" + QByteArray("Null\r\n").repeated(25));
        QCOMPARE(importAnsweringYes().numbers, QVector<int>());
        QVERIFY(newestClassId() > chess);
        QCOMPARE(rows("SELECT ClassName, Semester_ID, TeacherName, StartDate, PointsPossible FROM Classes WHERE ID = ?", {newestClassId()}),
                 QStringList{QString("Chess  Openings|%1|<null>|<null>|<null>").arg(fall)});
        QCOMPARE(count("Assignments"), 3);
    }
};

TARVELA_TEST_CLASS(ClassTransferTest)
#include "tst_classtransfer.moc"
