#pragma once
// The class transfer file "class.tarvela": one class and its assignments,
// one value per line, every line ended by CR LF. Lines 1 to 26 hold the
// class, then come five lines for each assignment until the file ends. There
// is no header, no field name and no count: writer and reader agree on the
// layout line by line. Written as UTF-8; a file that is not valid UTF-8 is
// read as Windows-1252, as older copies wrote it. A file that is not text,
// that is shorter than the class's lines or that names no class is not a
// transfer file at all: nothing of it is taken.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantHash>
#include <QVector>

// One field value as one line of the file: "Null" for no value or an empty
// text; otherwise the value's ordinary text (dates "M/d/yyyy", times
// "h:mm:ss AM/PM", whole numbers in digits) with every comma and every line
// break turned into one blank, so that a line never holds a comma, never
// breaks and is never empty.
QString TransferText(const QVariant &value);

namespace ClassTransfer {

// "class.tarvela"
QString fileName();

// The fields of lines 1 to 26 (table Classes) and of the five lines of an
// assignment (table Assignments), in the order of the file.
const QStringList &classFields();
const QStringList &assignmentFields();
constexpr int ClassLines = 26;
constexpr int AssignmentLines = 5;

// The run-time error of a line the file lacks.
constexpr int InputPastEndOfFile = 62;

// What is written: the class's values in the order of classFields() and, in
// the order they are to be read back, each assignment's values in the order
// of assignmentFields(). A missing value counts as Null.
struct Content {
    QVariantList classValues;
    QVector<QVariantList> assignments;
};
QStringList lines(const Content &content);
// The bytes of the file: UTF-8, CR LF after every line, the last one too.
QByteArray encode(const QStringList &lines);

// The line-to-value rule for one line of a field of table `table`: leading
// blanks are skipped; nothing left, or exactly "Null", is no value (an
// invalid QVariant: the field stays unset); anything else is converted as the
// store converts it into that field (a text within its length, a date or
// time, a 32-bit whole number with halves rounded to even). Raises the
// store's run-time error when it does not convert.
QVariant lineValue(const QString &line, const QString &table, const QString &field);

// A line that could not be taken: its number in the file (1 is the first),
// the field it was read for, and the run-time error it gave.
struct Problem {
    int line = 0;
    QString field;
    int number = 0;
    QString description;
};

// One row as read: the fields the file sets, converted for their field, and
// what went wrong in its lines, in line order. An incomplete row (the file
// ended inside it) lists one problem for each missing line.
struct Row {
    QVariantHash values;
    QVector<Problem> problems;
    bool complete = true;
};

struct ReadFile {
    // Why the bytes are not a class transfer file, as the end of a sentence
    // ("it is empty"); empty when they are one. Nothing else is read then.
    QString notATransferFile;
    Row classRow;
    // Every assignment block, an incomplete last one included.
    QVector<Row> assignments;
};
// Reads the bytes of a transfer file. Never fails: bytes that are not text
// (NUL bytes, control characters), fewer lines than the class takes, or a
// first line without a class name make no transfer file; in one, what does
// not read is a problem of its row. Empty lines after the last assignment are
// no block.
ReadFile read(const QByteArray &bytes);

} // namespace ClassTransfer
