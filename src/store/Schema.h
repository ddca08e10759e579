#pragma once
// The nine tables of the database file, every field in creation order, with
// its type and length. Creation, the type conversions of the store and the
// length checks all read this one definition.
#include <QHash>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <limits>

namespace Schema {

enum class Type { Boolean, Integer, Long, Double, DateTime, Text, Memo };

struct Field {
    QString name;
    Type type;
    int length = 0; // characters, for Text
    // The values a Double field takes; the store refuses others.
    double minimum = -std::numeric_limits<double>::infinity();
    double maximum = std::numeric_limits<double>::infinity();
};

struct Table {
    QString name;
    QVector<Field> fields; // the first field is the key
};

// The tables in creation order.
// A text in double quotes, those it holds doubled: a table or field name in
// a statement, or a phrase asked of the text index.
QString quoted(const QString &text);

const QVector<Table> &tables();
// A table by name, without regard to letter case; nullptr when unknown.
const Table *table(const QString &name);
// The most credit hours one class can carry.
constexpr double MaxCreditHours = 1000;

// A field of a table by name, without regard to letter case.
const Field *field(const QString &table, const QString &name);

// The declared type of a field in the database file.
QString declaredType(const Field &f);
// The CREATE TABLE statement of a table.
QString createStatement(const Table &t);

// An index the queries need. No part of the program reads indexes: they are
// the store's business, made with a new file and added to an existing
// writable file at open. `columns` is the indexed list, expressions included.
// The yes/no fields have an index of their Null values, which is empty but
// for rows another program wrote: the check at open for such rows costs
// nothing however many rows a table holds.
struct Index {
    QString name;
    QString table;
    QString columns;
    QString where = QString(); // the rows it takes; all when empty
};
const QVector<Index> &indexes();
// The CREATE INDEX statement of an index (made only when missing).
QString createIndexStatement(const Index &i);

// The condition that a date/time field holds a date as the store writes it,
// alone or with a time of day, every digit in place, the time a real one
// and the year from 1 on: the date is then the field's date whenever it is
// a real one. The due dates so written have an index by month and day
// ("substr(DateDue, 6, 5)"), those in any other form one of their own.
QString storedDateCondition(const QString &field);

// The index of every piece of three characters of a table's text fields,
// through which a search finds the few rows that can hold a text without
// reading every row. It holds only the keys of the rows (the
// texts stay in the table), and the engine keeps it in step with the table
// through three triggers, so that every program's writes reach it. Like the
// other indexes it is the store's business: made with a new file and for an
// existing writable file at open, and made afresh when a part is missing.
struct TextIndex {
    QString name;       // its virtual table; its triggers' names begin so
    QString table;      // the table indexed
    QString key;        // that table's key
    QStringList fields; // the fields indexed
};
// The titles and comments of the assignments.
const TextIndex &assignmentText();
// Its table and triggers: each name with the statement that makes it.
QList<QPair<QString, QString>> definitions(const TextIndex &i);
// Whether a file holds the whole index as these statements make it, given
// the file's tables, indexes and triggers (see Database::schemaObjects).
bool isWhole(const TextIndex &i, const QHash<QString, QString> &fileObjects);
// The statements that make it afresh, filled from the rows the table holds
// (whatever was left of it before goes first).
QStringList createStatements(const TextIndex &i);

// The seven assignment types a new file starts with, in order.
const QStringList &seedAssignmentTypes();

} // namespace Schema
