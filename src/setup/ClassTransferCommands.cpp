#include "ClassTransferCommands.h"

#include "ClassTransfer.h"

#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "store/CurrentSelection.h"
#include "store/DataSource.h"
#include "store/Recordset.h"

#include <QDir>

namespace ClassTransfer {

namespace {

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
        MessageBox::YesNo, MessageBox::Question, QStringLiteral("Importing classes"));
    if (answer != MessageBox::Yes)
        return false;
    CurrentSelection *sel = CurrentSelection::get();
    if (!sel)
        return false;
    Steps steps(report);

    QByteArray bytes;
    if (!steps.run([&] { bytes = FileOps::readFile(importPath()); }))
        return false;
    const ReadFile file = read(bytes);

    // Without a semester to put it in, a class would be out of every list.
    QVariant semesterId;
    if (!steps.run([&] { semesterId = sel->datSemesters()->recordset().value(QStringLiteral("ID")); }))
        return false;

    Recordset *classes = nullptr;
    if (!steps.run([&] {
            classes = &sel->datClasses()->recordset();
            classes->AddNew();
            classes->setValue(QStringLiteral("Semester_ID"), semesterId);
        })) {
        if (classes && classes->isAdding())
            classes->CancelUpdate();
        return false;
    }
    steps.report(file.classRow);
    setValues(steps, *classes, file.classRow, classFields());
    if (!steps.run([&] { classes->Update(); })) {
        classes->CancelUpdate();
        return false;
    }

    // The new class is the last row; its reposition sets the assignment
    // list's query to it.
    QVariant classId;
    if (steps.run([&] {
            classes->MoveLast();
            classId = classes->value(QStringLiteral("ID"));
        })) {
        DataSource *work = sel->datAssignments();
        followCurrentClass(steps, work);
        // The grid shows the new class's assignments: it names that class.
        steps.run([&] { sel->setAssignmentsCaption(classes->value(QStringLiteral("ClassName")).toString()); });
        for (const Row &block : file.assignments) {
            steps.report(block);
            if (!block.complete)
                continue;
            Recordset *rs = nullptr;
            if (!steps.run([&] {
                    rs = &work->recordset();
                    rs->AddNew();
                    rs->setValue(QStringLiteral("Class_ID"), classId);
                })) {
                if (rs && rs->isAdding())
                    rs->CancelUpdate();
                continue;
            }
            setValues(steps, *rs, block, assignmentFields());
            if (!steps.run([&] { rs->Update(); }))
                rs->CancelUpdate();
        }
    }
    steps.run([&] { sel->RefreshTree(); });
    return true;
}

} // namespace ClassTransfer
