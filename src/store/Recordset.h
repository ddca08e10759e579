#pragma once
// A recordset: the rows of a table or of a "SELECT * FROM <table> ..." text,
// read when it is opened, with a current row. A dynaset writes its changes
// through to the file at once; a snapshot is a read-only copy.
//
// Position: before the first row (BOF), on a row, or after the last (EOF).
// An empty recordset is at BOF and EOF at once. After Delete the current row
// is gone until the next move; MoveNext then goes to the row that followed it.
#include "Database.h"
#include "Schema.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

class Recordset
{
public:
    ~Recordset();

    bool isBOF() const;
    bool isEOF() const;
    // No rows at all: at its start and its end at once.
    bool isEmpty() const { return m_rows.isEmpty(); }
    bool hasCurrentRow() const;
    int RecordCount() const { return static_cast<int>(m_rows.size()); }

    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    // Moves to row `index` (0-based); used by the bound grid.
    void moveTo(int index);
    int position() const { return m_pos; }

    // Finds the first row whose field equals the value (texts compared
    // without regard to letter case). Returns false, and sets NoMatch, when
    // no row matches; the position is then unchanged.
    bool FindFirst(const QString &field, const QVariant &value);
    bool NoMatch() const { return m_noMatch; }

    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    void Delete();
    void Close();
    bool isEditing() const { return m_mode != Mode::None; }
    bool isAdding() const { return m_mode == Mode::AddNew; }
    bool isUpdatable() const;

    // Field access by name, without regard to letter case. Reading without a
    // current row raises 3021; an unknown field raises 3265.
    QVariant value(const QString &field) const;
    QVariant operator[](const QString &field) const { return value(field); }
    // Sets a field of the row being edited or added (error 3020 otherwise),
    // converted and checked as the field's type demands.
    void setValue(const QString &field, const QVariant &value);
    // The value of row `index` (for the bound grid), Null past the end.
    QVariant valueAt(int index, const QString &field) const;
    // The same by the field's position (fieldIndex), for walks over many rows.
    QVariant valueAt(int index, int column) const;
    // The position of a field; an unknown field raises 3265.
    int fieldIndex(const QString &field) const { return requireColumn(field); }

    // The rows held are the rows the file holds: nothing was written since
    // they were read but through this recordset, row by row as it holds
    // them. (A row it wrote stays held even when its new values no longer
    // meet the record source's condition.)
    bool holdsStoredRows() const;
    // Nothing at all was written to the file since the rows were read: a
    // new read of the same source would give the same rows in the same
    // order.
    bool unchangedSinceRead() const;
    // A new read of `source` (of this type, with these parameters) on the
    // same connection would give the rows held now: the same query, and
    // nothing written since they were read.
    bool answers(const QString &source, Database::RecordsetType type, const QVariantList &params) const
    {
        return m_source == source && m_type == type && m_params == params && unchangedSinceRead();
    }
    // Put aside by a data source that may take it up again: closed to its
    // users, its rows kept.
    void park();
    // Taken up again, standing as a new read stands: on its first row,
    // nothing being edited.
    void reopen();

    bool hasField(const QString &field) const { return column(field) >= 0; }
    const Schema::Field *fieldDef(const QString &field) const;
    QString tableName() const { return m_table; }
    QString source() const { return m_source; }
    QVariantList params() const { return m_params; }
    Database::RecordsetType type() const { return m_type; }
    std::shared_ptr<Database> database() const { return m_db; }

    // Hooks for the bound data source.
    std::function<void()> beforeLeave;  // before the current row is left
    std::function<void()> beforeUpdate; // Update is about to write the row
    std::function<void()> afterArrive;  // a row became current
    std::function<void()> afterAddNew;  // an empty row is being added
    std::function<void()> afterWrite;   // a row was written, added or deleted

private:
    friend class Database;
    Recordset(std::shared_ptr<Database> db, const QString &source, Database::RecordsetType type, const QVariantList &params);

    enum class Mode { None, Edit, AddNew };

    int column(const QString &field) const;
    int requireColumn(const QString &field) const;
    void requireCurrent() const;
    void leave();
    void arrive();
    QVector<QVariant> readRow(const QVariant &key);
    // After this recordset's own statement, which began when the file stood
    // at `before`: the held rows still stand for the file when nothing else
    // was written since they were.
    void followOwnWrite(const Database::ChangeMark &before);
    // The value of a row's column, converted from its stored form.
    QVariant cell(int row, int column) const;
    void requireOpen() const;

    std::shared_ptr<Database> m_db;
    QString m_source;
    QString m_sql;
    QVariantList m_params;
    Database::RecordsetType m_type;
    QString m_table;
    const Schema::Table *m_tableDef = nullptr;
    QStringList m_columns;
    QVector<const Schema::Field *> m_fieldDefs;
    int m_keyColumn = -1;
    QVector<QVector<QVariant>> m_rows; // as stored in the file
    int m_pos = -1;
    bool m_currentDeleted = false;
    bool m_noMatch = false;
    bool m_closed = false;
    Mode m_mode = Mode::None;
    QHash<int, QVariant> m_buffer; // column -> stored form
    Database::ChangeMark m_readMark; // the file as it was when the rows were read
    Database::ChangeMark m_heldMark; // the same, after this recordset's own writes
    int m_posBeforeAdd = -1;
};
