#pragma once
// The nine tables of the database file, every field in creation order, with
// its type and length. Creation, the type conversions of the store and the
// length checks all read this one definition.
#include <QString>
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
    QString where = QString(); // the rows it holds, when not all of them
};
const QVector<Index> &indexes();
// The CREATE INDEX statement of an index (made only when missing).
QString createIndexStatement(const Index &i);

// The seven assignment types a new file starts with, in order.
const QStringList &seedAssignmentTypes();

} // namespace Schema
