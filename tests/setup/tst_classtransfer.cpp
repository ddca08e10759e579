#include "SetupHelpers.h"
#include "TransferSample.h"

#include "mainwindow/frmError.h"
#include "platform/FileOps.h"
#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"
#include "setup/ClassTransfer.h"
#include "setup/ClassTransferCommands.h"
#include "store/CurrentSelection.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
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
    ClassTransfer::Reporter reporter()
    {
        return [this](const RuntimeError &e) {
            numbers << e.number();
            descriptions << e.description();
        };
    }
};

int insertRow(const QString &table, const Fields &fields)
{
    QStringList names, marks;
    QVariantList values;
    for (const auto &f : fields) {
        names << QStringLiteral("\"%1\"").arg(f.first);
        marks << QStringLiteral("?");
        values << f.second;
    }
    TestEnv::exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names.join(", "), marks.join(", ")), values);
    return TestEnv::scalar(QStringLiteral("SELECT max(ID) FROM %1").arg(table)).toInt();
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

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeTransferFile(const QByteArray &bytes)
{
    QFile f(transferFile());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

const QString ImportQuestion = QStringLiteral(
    "To import a class, you must have a floppy diskette\nwith the classes in drive A.\n\nAre you ready to proceed?");

// The stored form of a field of the newest class (or of one given).
QVariant newestClass(const QString &field)
{
    return TestEnv::scalar(QStringLiteral("SELECT \"%1\" FROM Classes ORDER BY ID DESC LIMIT 1").arg(field));
}
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

} // namespace

// Class > Export and Class > Import through the main window's selection.
class ClassTransferTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void exportsAndImportsAWholeClass()
    {
        TestEnv::createDatabase();
        const int fall = addSemester("Fall 2026");
        const int spring = addSemester("Spring 2027", "2027-01-10", "2027-05-20");
        const int original = insertSample(fall);
        frmMain *m = startProgram();
        clickNode(m, "O'Neill's Drama, Modern");

        trigger(m, "mnuClassExport");
        QVERIFY(!frmError::existing());
        const MessageBox::Shown done = TestEnv::shownLast();
        QCOMPARE(done.text, QString("Class was exported successfully!"));
        QCOMPARE(done.title, QString("Export done"));
        QCOMPARE(done.icon, MessageBox::Information);
        QCOMPARE(done.buttons, MessageBox::OkOnly);
        const QByteArray written = fileBytes(transferFile());
        const QByteArray want = TransferSample::golden();
        QVERIFY2(written == want, qPrintable(TransferSample::firstDifference(written, want)));
        // The export leaves the assignment list past its last row and the class where it was.
        QVERIFY(!m->datAssignments->hasCurrentRow());
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), original);
        // Exporting again writes the same file.
        trigger(m, "mnuClassExport");
        QCOMPARE(fileBytes(transferFile()), want);
        QVERIFY(QDir(TestEnv::driveA()).entryList(QDir::Files | QDir::Hidden) == QStringList{"class.tarvela"});

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
        const MessageBox::Shown asked = MessageBox::shown().first();
        QCOMPARE(asked.text, ImportQuestion);
        QCOMPARE(asked.title, QString("Importing classes"));
        QCOMPARE(asked.buttons, MessageBox::YesNo);
        QCOMPARE(asked.icon, MessageBox::Question);

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
        for (const char *f : {"ClassNotes", "CreditHours", "ClassClosed", "FinalLetterGrade", "AppliesToGPA"})
            QVERIFY2(classField(id, f).isNull(), f);

        auto db = TestEnv::open();
        auto rs = db->openRecordset("SELECT * FROM Assignments ORDER BY ID", Database::Snapshot);
        QCOMPARE(rs->RecordCount(), 3);
        const QVector<Fields> byDue = TransferSample::assignmentsByDueDate();
        const QStringList comments = {"Read pages 1-10  then summarise them", QString(), "Ære  øl og ål — naïve café €"};
        const QStringList titles = {"Sonnets  part 1", "\"Ghosts\" by Ibsen", "Final's Quiz"};
        for (int i = 0; i < 3; ++i, rs->MoveNext()) {
            QCOMPARE(rs->value("Class_ID").toInt(), id);
            QCOMPARE(rs->value("AssignmentType"), TransferSample::find(byDue[i], "AssignmentType").toString().isEmpty()
                                                       ? QVariant()
                                                       : TransferSample::typed("Assignments", "AssignmentType", TransferSample::find(byDue[i], "AssignmentType")));
            QCOMPARE(rs->value("DateDue"), TransferSample::typed("Assignments", "DateDue", TransferSample::find(byDue[i], "DateDue")));
            QCOMPARE(rs->value("MaxPointsPossible"), TransferSample::typed("Assignments", "MaxPointsPossible", TransferSample::find(byDue[i], "MaxPointsPossible")));
            QCOMPARE(rs->value("Comments").toString(), comments[i]);
            QCOMPARE(rs->value("Comments").isNull(), comments[i].isNull());
            QCOMPARE(rs->value("AssignmentTitle").toString(), titles[i]);
            for (const char *f : {"ActualPoints", "DateEntered", "DateGraded", "DocumentPath", "Completed"})
                QVERIFY2(rs->value(f).isNull(), f);
        }
        rs->Close();
        db->close();

        // The new class is current, and the tree shows it in its semester;
        // the grid shows its assignments under its own name.
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), id);
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "Spring 2027", "  O'Neill's Drama  Modern"}));
        DataGrid *grid = m->findChild<DataGrid *>("gridAssignments");
        QVERIFY(grid);
        QCOMPARE(grid->caption(), QString("O'Neill's Drama  Modern"));
        QStringList shownTitles;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (!grid->model()->isNewRow(r))
                shownTitles << grid->model()->index(r, 0).data().toString();
        QCOMPARE(shownTitles, titles);
        // Exported again from here, it gives the same file.
        clickNode(m, "O'Neill's Drama  Modern");
        trigger(m, "mnuClassExport");
        QCOMPARE(fileBytes(transferFile()), want);
    }

    void withoutACurrentClassExportDoesNothing()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        frmMain *m = startProgram();
        clickNode(m, "Fall 2026");
        QVERIFY(m->datClasses->noRows());
        MessageBox::clearShown();
        trigger(m, "mnuClassExport");
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(!frmError::existing());
        QVERIFY(!QFile::exists(transferFile()));
    }

    void aClassWithoutAssignments()
    {
        TestEnv::createDatabase();
        const int fall = addSemester("Fall 2026");
        addClass(fall, "Chess, Openings");
        frmMain *m = startProgram();
        clickNode(m, "Chess, Openings");
        trigger(m, "mnuClassExport");
        QByteArray want = "Chess  Openings\r\n";
        for (int i = 1; i < 26; ++i)
            want += "Null\r\n";
        QCOMPARE(fileBytes(transferFile()), want);

        Reports reports;
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QVERIFY(reports.numbers.isEmpty());
        QCOMPARE(count("Classes"), 2);
        QCOMPARE(newestClass("ClassName").toString(), QString("Chess  Openings"));
        QCOMPARE(newestClass("Semester_ID").toInt(), fall);
        QVERIFY(newestClass("TeacherName").isNull());
        QVERIFY(newestClass("StartDate").isNull());
        QVERIFY(newestClass("PointsPossible").isNull());
        QCOMPARE(count("Assignments"), 0);
    }

    void importingTwiceAddsTwoClasses()
    {
        TestEnv::createDatabase();
        const int fall = addSemester("Fall 2026");
        addClass(fall, "Placeholder");
        writeTransferFile(TransferSample::golden());
        frmMain *m = startProgram();
        clickNode(m, "Fall 2026");
        for (int i = 0; i < 2; ++i) {
            Reports reports;
            MessageBox::setNextAnswers({MessageBox::Yes});
            QVERIFY(ClassTransfer::importIntoCurrentSemester(reports.reporter()));
            QCOMPARE(reports.numbers, QVector<int>());
        }
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Classes WHERE ClassName = ?", {"O'Neill's Drama  Modern"}).toInt(), 2);
        QCOMPARE(TestEnv::scalar("SELECT count(DISTINCT Class_ID) FROM Assignments").toInt(), 2);
        QCOMPARE(count("Assignments"), 6);
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), newestClassId());
    }

    void answeringNoReadsAndWritesNothing()
    {
        TestEnv::createDatabase();
        addClass(addSemester("Fall 2026"), "Biology");
        writeTransferFile(TransferSample::golden());
        frmMain *m = startProgram();
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::No});
        trigger(m, "mnuClassImport");
        QCOMPARE(TestEnv::shownTexts(), QStringList{ImportQuestion});
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(count("Assignments"), 0);
        QVERIFY(!frmError::existing());
        // Nothing is read either: even a missing file gives no report.
        QFile::remove(transferFile());
        Reports reports;
        MessageBox::setNextAnswers({MessageBox::No});
        QVERIFY(!ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QVERIFY(reports.numbers.isEmpty());
    }

    void theWordNullInOtherLetterCaseIsText()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        QStringList lines = TransferSample::classLines();
        lines[0] = "Null Hypothesis";
        lines[1] = "Null";   // no value
        lines[2] = "null";   // text
        lines[3] = "  Null"; // no value: leading blanks are skipped
        lines[4] = "";       // no value
        lines << "NULL" << "Null" << "Null" << "Null" << "Null";
        writeTransferFile(ClassTransfer::encode(lines));
        startProgram();
        Reports reports;
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QVERIFY(reports.numbers.isEmpty());
        QCOMPARE(newestClass("ClassName").toString(), QString("Null Hypothesis"));
        QVERIFY(newestClass("TeacherName").isNull());
        QCOMPARE(newestClass("TeacherPhone").toString(), QString("null"));
        QVERIFY(newestClass("TeacherEMail").isNull());
        QVERIFY(newestClass("MondayFrom").isNull());
        QCOMPARE(newestClass("MondayTo").toString(), QString("10:15:00"));
        QCOMPARE(TestEnv::scalar("SELECT AssignmentType FROM Assignments").toString(), QString("NULL"));
        QVERIFY(TestEnv::scalar("SELECT AssignmentTitle FROM Assignments").isNull());
    }

    void aShortFileReportsEachMissingLineAndKeepsTheClass()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        writeTransferFile(ClassTransfer::encode(TransferSample::classLines().mid(0, 20)));
        frmMain *m = startProgram();
        Reports reports;
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QCOMPARE(reports.numbers, QVector<int>(6, ClassTransfer::InputPastEndOfFile));
        QVERIFY(reports.descriptions[0].contains("Line 21"));
        QVERIFY(reports.descriptions[0].contains("Input past end of file"));
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(newestClass("EndDate").toString(), QString("2026-12-18"));
        QVERIFY(newestClass("PointsPossible").isNull());
        QVERIFY(newestClass("Points_Grade_F").isNull());
        QCOMPARE(count("Assignments"), 0);
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  O'Neill's Drama  Modern"}));

        // Through the menu each report reaches the error window (the class
        // goes first, so that the tree has no second class of its name).
        TestEnv::exec("DELETE FROM Classes");
        MessageBox::setNextAnswers({MessageBox::Yes});
        trigger(m, "mnuClassImport");
        const QString report = errorReport();
        QVERIFY2(report.contains("Error number was  62"), qPrintable(report));
        QVERIFY(report.contains("Form was frmMain"));
        QVERIFY(report.contains("Routine was mnuClassImport_Click"));
        QVERIFY(report.contains("Description: Line 26 of class.tarvela (Points_Grade_F): Input past end of file"));
        QCOMPARE(count("Classes"), 1);
    }

    void anIncompleteLastBlockIsReportedAndNotAdded()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        QStringList lines = TransferSample::classLines();
        lines << "Homework" << "9/10/2026" << "10" << "Null" << "Whole";
        lines << "Quiz" << "11/5/2026" << "5";
        writeTransferFile(ClassTransfer::encode(lines));
        startProgram();
        Reports reports;
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QCOMPARE(reports.numbers, QVector<int>(2, ClassTransfer::InputPastEndOfFile));
        QCOMPARE(count("Assignments"), 1);
        QCOMPARE(TestEnv::scalar("SELECT AssignmentTitle FROM Assignments").toString(), QString("Whole"));
        QCOMPARE(TestEnv::scalar("SELECT Class_ID FROM Assignments").toInt(), newestClassId());
    }

    void aLineThatDoesNotConvertLeavesItsFieldUnset()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        QStringList lines = TransferSample::classLines();
        lines[18] = "someday";          // StartDate
        lines[3] = QString(51, 'e');    // TeacherEMail, 50 at most
        lines[20] = "40000";            // PointsPossible beyond 16 bits
        lines[21] = "36000.5";          // half to even
        lines[22] = "3000000000";       // beyond 32 bits
        lines << "Homework" << "31/12/2026" << "ten" << "Null" << QString(201, 't');
        writeTransferFile(ClassTransfer::encode(lines));
        startProgram();
        Reports reports;
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QCOMPARE(reports.numbers, (QVector<int>{Err::FieldTooSmall, Err::TypeMismatch, Err::Overflow, Err::TypeMismatch,
                                                Err::TypeMismatch, Err::FieldTooSmall}));
        QVERIFY(reports.descriptions[1].contains("someday"));
        QVERIFY(newestClass("TeacherEMail").isNull());
        QVERIFY(newestClass("StartDate").isNull());
        QCOMPARE(newestClass("EndDate").toString(), QString("2026-12-18"));
        QCOMPARE(newestClass("PointsPossible").toInt(), 40000);
        QCOMPARE(newestClass("Points_Grade_A").toInt(), 36000);
        QVERIFY(newestClass("Points_Grade_B").isNull());
        QCOMPARE(newestClass("Points_Grade_C").toInt(), 28000);
        QCOMPARE(newestClass("TeacherPhone").toString(), QString("555-0101"));
        // The assignment is added with what did read.
        QCOMPARE(count("Assignments"), 1);
        QCOMPARE(TestEnv::scalar("SELECT AssignmentType FROM Assignments").toString(), QString("Homework"));
        QVERIFY(TestEnv::scalar("SELECT DateDue FROM Assignments").isNull());
        QVERIFY(TestEnv::scalar("SELECT MaxPointsPossible FROM Assignments").isNull());
        QVERIFY(TestEnv::scalar("SELECT AssignmentTitle FROM Assignments").isNull());
    }

    void readsAFileOfAnOlderCopyInWindows1252()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        QByteArray bytes = ClassTransfer::encode(TransferSample::classLines());
        bytes.replace("O'Neill's Drama  Modern", "Fran\xe7" "ais \x96 Caf\xe9 \x80");
        bytes.replace("M\xc3\xbcller  J\xc3\xbcrgen", "M\xfcller  J\xfcrgen");
        bytes += "Essay\r\n10/1/2026\r\n20\r\n\x93Quoted\x94 comments\r\nT\xeate-\xe0-t\xeate\r\n";
        writeTransferFile(bytes);
        frmMain *m = startProgram();
        Reports reports;
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QVERIFY(reports.numbers.isEmpty());
        QCOMPARE(newestClass("ClassName").toString(), QString::fromUtf8("Français – Café €"));
        QCOMPARE(newestClass("TeacherName").toString(), QString::fromUtf8("Müller  Jürgen"));
        QCOMPARE(TestEnv::scalar("SELECT Comments FROM Assignments").toString(), QString::fromUtf8("“Quoted” comments"));
        QCOMPARE(TestEnv::scalar("SELECT AssignmentTitle FROM Assignments").toString(), QString::fromUtf8("Tête-à-tête"));
        QVERIFY(treeText(m).contains(QString::fromUtf8("  Français – Café €")));
    }

    void aMissingFileIsReportedAndAddsNothing()
    {
        TestEnv::createDatabase();
        addClass(addSemester("Fall 2026"), "Biology");
        frmMain *m = startProgram();
        Reports reports;
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(!ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QCOMPARE(reports.numbers, QVector<int>{Err::FileNotFound});
        QVERIFY(reports.descriptions[0].contains("class.tarvela"));
        QCOMPARE(count("Classes"), 1);

        // Nor does a file that cannot be read.
        writeTransferFile(TransferSample::golden());
        FileOps::denyReading(TestEnv::driveA());
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(!ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QCOMPARE(reports.numbers, (QVector<int>{Err::FileNotFound, Err::PathFileAccess}));
        QCOMPARE(count("Classes"), 1);
        FileOps::clearDenied();

        // Nor does a missing drive A: folder; the report reaches the error window.
        qputenv("TARVELA_DRIVE_A", (TestEnv::root() + "/no-disk").toUtf8());
        MessageBox::setNextAnswers({MessageBox::Yes});
        trigger(m, "mnuClassImport");
        const QString report = errorReport();
        QVERIFY2(report.contains("Error number was  53"), qPrintable(report));
        QVERIFY(report.contains("Routine was mnuClassImport_Click"));
        QCOMPARE(count("Classes"), 1);
    }

    void theFileIsFoundWhateverTheLetterCaseOfItsName()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        QFile f(QDir(TestEnv::driveA()).filePath("CLASS.TARVELA"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(TransferSample::golden());
        f.close();
        startProgram();
        Reports reports;
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QVERIFY(reports.numbers.isEmpty());
        QCOMPARE(count("Assignments"), 3);
    }

    void aFailedExportClaimsNoSuccessAndKeepsTheEarlierFile()
    {
        TestEnv::createDatabase();
        const int fall = addSemester("Fall 2026");
        insertSample(fall);
        frmMain *m = startProgram();
        clickNode(m, "O'Neill's Drama, Modern");
        trigger(m, "mnuClassExport");
        const QByteArray good = fileBytes(transferFile());
        QCOMPARE(good, TransferSample::golden());

        // A write-protected disk.
        TestEnv::exec("UPDATE Classes SET TeacherName = 'Someone else'");
        clickNode(m, "O'Neill's Drama, Modern");
        FileOps::denyChanges(TestEnv::driveA());
        MessageBox::clearShown();
        trigger(m, "mnuClassExport");
        QVERIFY(MessageBox::shown().isEmpty());
        const QString report = errorReport();
        QVERIFY2(report.contains("Error number was  75"), qPrintable(report));
        QVERIFY(report.contains("Form was frmMain"));
        QVERIFY(report.contains("Routine was mnuClassExport_Click"));
        QCOMPARE(fileBytes(transferFile()), good);
        QCOMPARE(QDir(TestEnv::driveA()).entryList(QDir::Files | QDir::Hidden), QStringList{"class.tarvela"});
        FileOps::clearDenied();

        // No disk at all, and a "folder" that is a file.
        Reports reports;
        qputenv("TARVELA_DRIVE_A", (TestEnv::root() + "/no-disk").toUtf8());
        QVERIFY(!ClassTransfer::exportCurrentClass(reports.reporter()));
        QFile plain(TestEnv::root() + "/plain-file");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        qputenv("TARVELA_DRIVE_A", plain.fileName().toUtf8());
        QVERIFY(!ClassTransfer::exportCurrentClass(reports.reporter()));
        QCOMPARE(reports.numbers, (QVector<int>{Err::PathFileAccess, Err::PathFileAccess}));
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(!QFile::exists(TestEnv::root() + "/no-disk"));

        // Back on a good disk the export works again.
        qputenv("TARVELA_DRIVE_A", TestEnv::driveA().toUtf8());
        QVERIFY(ClassTransfer::exportCurrentClass(reports.reporter()));
        QVERIFY(fileBytes(transferFile()).contains("\r\nSomeone else\r\n"));
        QCOMPARE(TestEnv::shownLast().text, QString("Class was exported successfully!"));
    }

    void exportTakesTheAssignmentsOfTheClassNowCurrent()
    {
        TestEnv::createDatabase();
        const int fall = addSemester("Fall 2026");
        const int art = addClass(fall, "Art");
        addAssignment(art, "Sketches", 10, 8);
        const int music = addClass(fall, "Music");
        addAssignment(music, "Scales", 20, 15, "2026-10-02");
        addAssignment(music, "Etude", 30, 25, "2026-09-15");
        frmMain *m = startProgram();
        clickNode(m, "Art");
        // Another window moves the class as the search window does; the list
        // still holds Art's rows.
        QVERIFY(CurrentSelection::get()->datClasses()->recordset().FindFirst("ClassName", "Music"));
        Reports reports;
        QVERIFY(ClassTransfer::exportCurrentClass(reports.reporter()));
        QVERIFY(reports.numbers.isEmpty());
        const QStringList lines = TextCodec::splitLines(QString::fromUtf8(fileBytes(transferFile())));
        QCOMPARE(lines.size(), 36);
        QCOMPARE(lines[0], QString("Music"));
        QCOMPARE(lines.mid(26), (QStringList{"Null", "9/15/2026", "30", "Null", "Etude", "Null", "10/2/2026", "20", "Null", "Scales"}));
    }

    void withoutACurrentSemesterNothingIsAdded()
    {
        TestEnv::createDatabase();
        addClass(addSemester("Fall 2026"), "Biology");
        writeTransferFile(TransferSample::golden());
        startProgram();
        Recordset &semesters = CurrentSelection::get()->datSemesters()->recordset();
        semesters.MoveLast();
        semesters.MoveNext(); // past the last row
        Reports reports;
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(!ClassTransfer::importIntoCurrentSemester(reports.reporter()));
        QCOMPARE(reports.numbers, QVector<int>{Err::NoCurrentRecord});
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(count("Assignments"), 0);
    }
};

TARVELA_TEST_CLASS(ClassTransferTest)
#include "tst_classtransfer.moc"
