#include "ClassTransfer.h"

#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"
#include "store/Schema.h"
#include "store/Values.h"

QString TransferText(const QVariant &value)
{
    QString text = Values::displayText(value);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar &c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n') || TextCodec::isBinaryControl(c))
            c = QLatin1Char(' ');
    }
    return text.isEmpty() ? QStringLiteral("Null") : text;
}

namespace ClassTransfer {

namespace {

const QString ClassesTable = QStringLiteral("Classes");
const QString AssignmentsTable = QStringLiteral("Assignments");

Problem problemAt(int line, const QString &field, int number, const QString &description)
{
    return Problem{line, field, number,
                   QStringLiteral("Line %1 of %2 (%3): %4").arg(line).arg(fileName(), field, description)};
}

// Reads `count` lines from `first` (0-based) for the fields of `table`.
Row readRow(const QStringList &all, int first, const QString &table, const QStringList &fields)
{
    Row row;
    for (int i = 0; i < fields.size(); ++i) {
        const int index = first + i;
        const QString &field = fields[i];
        if (index >= all.size()) {
            row.complete = false;
            row.problems << problemAt(index + 1, field, InputPastEndOfFile, QStringLiteral("Input past end of file"));
            continue;
        }
        try {
            const QVariant v = lineValue(all[index], table, field);
            if (v.isValid())
                row.values.insert(field, v);
        } catch (const RuntimeError &e) {
            row.problems << problemAt(index + 1, field, e.number(), e.description());
        }
    }
    return row;
}

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

} // namespace

QString fileName() { return QStringLiteral("class.tarvela"); }

const QStringList &classFields()
{
    static const QStringList fields = {
        QStringLiteral("ClassName"),     QStringLiteral("TeacherName"),    QStringLiteral("TeacherPhone"),
        QStringLiteral("TeacherEMail"),  QStringLiteral("MondayFrom"),     QStringLiteral("MondayTo"),
        QStringLiteral("TuesdayFrom"),   QStringLiteral("TuesdayTo"),      QStringLiteral("WednesdayFrom"),
        QStringLiteral("WednesdayTo"),   QStringLiteral("ThursdayFrom"),   QStringLiteral("ThursdayTo"),
        QStringLiteral("FridayFrom"),    QStringLiteral("FridayTo"),       QStringLiteral("SaturdayFrom"),
        QStringLiteral("SaturdayTo"),    QStringLiteral("SundayFrom"),     QStringLiteral("SundayTo"),
        QStringLiteral("StartDate"),     QStringLiteral("EndDate"),        QStringLiteral("PointsPossible"),
        QStringLiteral("Points_Grade_A"), QStringLiteral("Points_Grade_B"), QStringLiteral("Points_Grade_C"),
        QStringLiteral("Points_Grade_D"), QStringLiteral("Points_Grade_F"),
    };
    return fields;
}

const QStringList &assignmentFields()
{
    static const QStringList fields = {QStringLiteral("AssignmentType"), QStringLiteral("DateDue"),
                                       QStringLiteral("MaxPointsPossible"), QStringLiteral("Comments"),
                                       QStringLiteral("AssignmentTitle")};
    return fields;
}

QStringList lines(const Content &content)
{
    QStringList out;
    out.reserve(ClassLines + AssignmentLines * content.assignments.size());
    for (int i = 0; i < ClassLines; ++i)
        out << TransferText(content.classValues.value(i));
    for (const QVariantList &a : content.assignments)
        for (int i = 0; i < AssignmentLines; ++i)
            out << TransferText(a.value(i));
    return out;
}

QByteArray encode(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

QVariant lineValue(const QString &line, const QString &table, const QString &field)
{
    qsizetype i = 0;
    while (i < line.size() && isBlank(line.at(i)))
        ++i;
    const QString text = line.mid(i);
    if (text.isEmpty() || text == QLatin1String("Null"))
        return QVariant();
    const Schema::Field *f = Schema::field(table, field);
    if (!f)
        throw RuntimeError(Err::ItemNotFound, QStringLiteral("Item not found in this collection (%1).").arg(field));
    return Values::fromStorage(f, Values::toStorage(f, text));
}

ReadFile read(const QByteArray &bytes)
{
    ReadFile file;
    file.notATransferFile = TextCodec::whyNotText(bytes);
    if (!file.notATransferFile.isEmpty())
        return file;
    QStringList all = TextCodec::splitLines(TextCodec::decodeUtf8OrAnsi(bytes));
    // Empty lines at the end (an editor's last line break) start no
    // assignment. The writer never writes an empty line; a line of blanks
    // may be a value, and stays.
    while (all.size() > ClassLines && all.last().isEmpty())
        all.removeLast();
    if (all.isEmpty()) {
        file.notATransferFile = QStringLiteral("it is empty");
        return file;
    }
    if (all.size() < ClassLines) {
        file.notATransferFile = QStringLiteral("it has %1 %2, and a class alone takes %3")
                                    .arg(all.size())
                                    .arg(all.size() == 1 ? QStringLiteral("line") : QStringLiteral("lines"))
                                    .arg(ClassLines);
        return file;
    }

    Row classRow = readRow(all, 0, ClassesTable, classFields());
    if (!classRow.values.contains(classFields().first())) {
        const Schema::Field *name = Schema::field(ClassesTable, classFields().first());
        const bool tooLong = !classRow.problems.isEmpty() && classRow.problems.first().line == 1;
        qsizetype blanks = 0;
        while (blanks < all.first().size() && isBlank(all.first().at(blanks)))
            ++blanks;
        const qsizetype length = TextCodec::characterCount(all.first().mid(blanks));
        file.notATransferFile = tooLong
            ? QStringLiteral("its first line is too long for a class name: %1 characters, at most %2").arg(length).arg(name->length)
            : QStringLiteral("its first line holds no class name");
        return file;
    }
    file.classRow = classRow;
    for (int first = ClassLines; first < all.size(); first += AssignmentLines)
        file.assignments << readRow(all, first, AssignmentsTable, assignmentFields());
    return file;
}

} // namespace ClassTransfer
