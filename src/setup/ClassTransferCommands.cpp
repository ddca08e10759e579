#include "ClassTransferCommands.h"

#include "ClassTransfer.h"

#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "store/CurrentSelection.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"
#include "store/modTransport.h"

#include <QDir>

namespace ClassTransfer {

namespace {

const QString ImportTitle = QStringLiteral("Importing classes");

// Runs one statement; a run-time error goes to the reporter. True when the
// statement ran through.
class Steps
{
public:
    explicit Steps(const Reporter &report) : m_report(report) {}

    template <class F> bool run(F &&f)
    {
        try {
            f();
            return true;
        } catch (const RuntimeError &e) {
            report(e);
            return false;
        }
    }
    void report(const RuntimeError &e)
    {
        m_failed = true;
        if (m_report)
            m_report(e);
    }
    // What the file's lines of a row gave as errors.
    void report(const Row &row)
    {
        for (const Problem &p : row.problems)
            report(RuntimeError(p.number, p.description));
    }
    bool failed() const { return m_failed; }

private:
    const Reporter &m_report;
    bool m_failed = false;
};

QVariantList rowValues(const Recordset &rs, const QStringList &fields)
{
    QVariantList values;
    for (const QString &f : fields)
        values << rs.value(f);
    return values;
}

// Stores the row's values into the row being added, one field at a time:
// a value the store refuses is reported and its field stays unset.
void setValues(Steps &steps, Recordset &rs, const Row &row, const QStringList &fields)
{
    for (const QString &f : fields) {
        const auto it = row.values.constFind(f);
        if (it != row.values.constEnd())
            steps.run([&] { rs.setValue(f, it.value()); });
    }
}

// The assignment list must hold the current class's rows: after a move of
// the class it may still hold those of the class current before.
void followCurrentClass(Steps &steps, DataSource *work)
{
    steps.run([&] {
        if (work->recordSourceChanged())
            work->Refresh();
    });
}

// Adds the class to the semester, and each whole assignment block to the
// class, in one transaction: all of it is stored or, when a write fails
// (raised to the caller), none of it. A value the store refuses is reported
// and its field stays unset. Returns the new class's key.
QVariant store(Steps &steps, const QVariant &semesterId, const ReadFile &file)
{
    auto db = Database::open(DatabasePath); // closed when it goes
    QVariant classId;
    db->inTransaction([&] {
        auto classes = db->openRecordset(QStringLiteral("SELECT * FROM Classes WHERE Semester_ID = ?"), Database::Dynaset, {semesterId});
        classes->AddNew();
        classes->setValue(QStringLiteral("Semester_ID"), semesterId);
        setValues(steps, *classes, file.classRow, classFields());
        classes->Update();
        classId = classes->valueAt(classes->RecordCount() - 1, QStringLiteral("ID"));
        classes->Close();

        auto work = db->openRecordset(QStringLiteral("SELECT * FROM Assignments WHERE Class_ID = ?"), Database::Dynaset, {classId});
        for (const Row &block : file.assignments) {
            if (!block.complete)
                continue;
            work->AddNew();
            work->setValue(QStringLiteral("Class_ID"), classId);
            setValues(steps, *work, block, assignmentFields());
            work->Update();
        }
        work->Close();
    });
    return classId;
}

} // namespace

QString exportPath() { return QDir(Platform::driveAFolder()).filePath(fileName()); }
QString importPath() { return Platform::findFileNoCase(Platform::driveAFolder(), fileName()); }

bool exportCurrentClass(const Reporter &report)
{
    CurrentSelection *sel = CurrentSelection::get();
    if (!sel || !sel->datClasses()->hasCurrentRow())
        return false;
    Steps steps(report);
    Content content;
    steps.run([&] { content.classValues = rowValues(sel->datClasses()->recordset(), classFields()); });

    DataSource *work = sel->datAssignments();
    followCurrentClass(steps, work);
    if (!steps.failed() && !work->noRows()) {
        steps.run([&] { work->recordset().MoveFirst(); });
        while (!steps.failed() && work->hasCurrentRow()) {
            steps.run([&] {
                Recordset &rs = work->recordset();
                content.assignments << rowValues(rs, assignmentFields());
                rs.MoveNext();
            });
        }
    }
    // A value that could not be read would leave the file short of a line:
    // nothing is written then, and an earlier file stays.
    if (steps.failed())
        return false;
    if (!steps.run([&] { FileOps::writeFile(exportPath(), encode(lines(content))); }))
        return false;
    MessageBox::show(QStringLiteral("Class was exported successfully!"), MessageBox::OkOnly, MessageBox::Information,
                     QStringLiteral("Export done"));
    return true;
}

bool importIntoCurrentSemester(const Reporter &report)
{
    const MessageBox::Answer answer = MessageBox::show(
        QStringLiteral("To import a class, you must have a floppy diskette\nwith the classes in drive A.\n\nAre you ready to proceed?"),
        MessageBox::YesNo, MessageBox::Question, ImportTitle);
    if (answer != MessageBox::Yes)
        return false;
    CurrentSelection *sel = CurrentSelection::get();
    if (!sel)
        return false;
    Steps steps(report);

    const QString path = importPath();
    QByteArray bytes;
    if (!steps.run([&] { bytes = FileOps::readFile(path); }))
        return false;
    const ReadFile file = read(bytes);
    if (!file.notATransferFile.isEmpty()) {
        MessageBox::show(QStringLiteral("The file %1 is not a class transfer file: %2.\n\nNothing was imported.")
                             .arg(QDir::toNativeSeparators(path), file.notATransferFile),
                         MessageBox::OkOnly, MessageBox::Exclamation, ImportTitle);
        return false;
    }

    // Without a semester to put it in, a class would be out of every list.
    QVariant semesterId;
    if (!steps.run([&] { semesterId = sel->datSemesters()->recordset().value(QStringLiteral("ID")); }))
        return false;

    // What did not read, line by line; those fields stay unset.
    steps.report(file.classRow);
    for (const Row &block : file.assignments)
        steps.report(block);

    QVariant classId;
    try {
        classId = store(steps, semesterId, file);
    } catch (const RuntimeError &e) {
        MessageBox::show(QStringLiteral("Nothing was imported: the class \"%1\" and its assignments could not be stored.\n\n")
                                 .arg(file.classRow.values.value(classFields().first()).toString())
                             + e.description(),
                         MessageBox::OkOnly, MessageBox::Exclamation, ImportTitle);
        return false;
    }

    // The new class becomes the current one; its reposition sets the
    // assignment list's query to it.
    DataSource *classes = sel->datClasses();
    steps.run([&] {
        classes->Refresh();
        if (!classes->recordset().FindFirst(QStringLiteral("ID"), classId)) {
            classes->setRecordSource(QStringLiteral("SELECT * From Classes"));
            classes->Refresh();
            classes->recordset().FindFirst(QStringLiteral("ID"), classId);
        }
    });
    followCurrentClass(steps, sel->datAssignments());
    // The grid shows the new class's assignments: it names that class.
    steps.run([&] { sel->setAssignmentsCaption(classes->recordset().value(QStringLiteral("ClassName")).toString()); });
    steps.run([&] { sel->RefreshTree(); });
    return true;
}

} // namespace ClassTransfer
