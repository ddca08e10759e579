#pragma once
// The quiz transfer file "quiz.out" on drive A: one value per line, lines
// ended by CR LF: the quiz's title, the date of the export ("mm/dd/yyyy"),
// then a question line and an answer line for each question. A value is
// written between double quotes, inner double quotes unchanged; a line break
// or a control character no text holds inside a value is written as one
// blank; a value without text (an empty cell) is written as #NULL# without
// quotes.
//
// Written as UTF-8; read as UTF-8, or as Windows-1252 when the file is not
// valid UTF-8. The reader takes a line ended by CR LF, LF or CR, strips only
// the outermost pair of double quotes and reads an unquoted #NULL# as empty.
#include <QByteArray>
#include <QDate>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace QuizTransfer {

// The file's name in drive A: and its path there, as written; for
// reading, an existing file of that name in other letter case counts too.
QString fileName();
QString filePath();
QString importPath();

// ---- writing
// The line of one value (without its line end).
QString encodeValue(const QVariant &value);
// The whole file: title, date and question/answer pairs.
QByteArray encode(const QVariant &title, const QDate &date, const QVector<QPair<QVariant, QVariant>> &pairs);
// Writes the file through a temporary name; run-time error 75 when it cannot.
void write(const QString &path, const QByteArray &bytes);

// ---- reading
struct Quiz {
    QString title;
    QString date; // as written; the program does not use it
    // The pairs whose question and answer both hold text, in file order.
    QVector<QPair<QString, QString>> pairs;
    // Pairs left out because the question or the answer was empty.
    int emptyPairs = 0;
    // The file ended after a question without its answer.
    bool danglingQuestion = false;
};

// The text of the file's bytes: UTF-8, else Windows-1252.
QString decodeText(const QByteArray &bytes);
// The text of Windows-1252 bytes.
QString fromWindows1252(const QByteArray &bytes);
// The lines of a text; a line end after the last line adds no empty line.
QStringList splitLines(const QString &text);
// The value of one line.
QString decodeValue(const QString &line);
// Reads a file's bytes; false when it holds no line at all (no title).
bool decode(const QByteArray &bytes, Quiz &quiz);
// Reads the file; run-time error 53 when it is missing, 75 when it cannot
// be read, 3000 when it is not text (NUL bytes, control characters) or holds
// no quiz.
Quiz read(const QString &path);

} // namespace QuizTransfer
