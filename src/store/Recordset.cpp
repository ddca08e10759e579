#include "Recordset.h"

#include "Schema.h"
#include "Values.h"
#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

RuntimeError noCurrentRecord() { return RuntimeError(Err::NoCurrentRecord, QStringLiteral("No current record.")); }

using Schema::quoted;

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)
        return TextCodec::caseFolded(a.toString()) == TextCodec::caseFolded(b.toString());
    bool okA = false, okB = false;
    const double da = a.toDouble(&okA), db = b.toDouble(&okB);
    if (okA && okB && a.typeId() != QMetaType::QDate && a.typeId() != QMetaType::QDateTime && a.typeId() != QMetaType::QTime)
        return da == db;
    return a == b;
}

} // namespace

Recordset::Recordset(std::shared_ptr<Database> db, const QString &source, Database::RecordsetType type, const QVariantList &params)
    : m_db(std::move(db)), m_source(source), m_params(params), m_type(type)
{
    static const QRegularExpression bareName(QStringLiteral("^\\s*\"?([A-Za-z_][A-Za-z0-9_]*)\"?\\s*$"));
    static const QRegularExpression fromTable(QStringLiteral("\\bFROM\\s+\"?([A-Za-z_][A-Za-z0-9_]*)\"?"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch bare = bareName.match(source);
    if (bare.hasMatch()) {
        m_table = bare.captured(1);
        m_sql = QStringLiteral("SELECT * FROM ") + quoted(m_table);
    } else {
        m_sql = source;
        const QRegularExpressionMatch m = fromTable.match(source);
        if (m.hasMatch())
            m_table = m.captured(1);
    }
    m_tableDef = Schema::table(m_table);
    if (m_tableDef)
        m_table = m_tableDef->name;

    // Rows are kept as the file holds them; a value is converted when it
    // is read.
    Database::Rows read = m_db->readRows(m_sql, m_params);
    m_columns = read.columns;
    for (const QString &name : std::as_const(m_columns)) {
        const Schema::Field *def = m_tableDef ? Schema::field(m_table, name) : nullptr;
        if (m_tableDef && def == &m_tableDef->fields.first())
            m_keyColumn = static_cast<int>(m_fieldDefs.size());
        m_fieldDefs << def;
    }
    m_rows = std::move(read.rows);
    m_pos = m_rows.isEmpty() ? -1 : 0;
    m_readMark = m_db->changeMark();
    m_heldMark = m_readMark;
}

Recordset::~Recordset() = default;

void Recordset::requireOpen() const
{
    if (m_closed)
        throw RuntimeError(3420, QStringLiteral("Object invalid or no longer set."));
}

bool Recordset::isBOF() const { return m_rows.isEmpty() || m_pos < 0; }
bool Recordset::isEOF() const { return m_rows.isEmpty() || m_pos >= m_rows.size(); }

bool Recordset::hasCurrentRow() const
{
    return !m_closed && !m_currentDeleted && m_pos >= 0 && m_pos < m_rows.size();
}

bool Recordset::isUpdatable() const
{
    return m_type != Database::Snapshot && m_tableDef && m_keyColumn >= 0;
}

int Recordset::column(const QString &field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Recordset::requireColumn(const QString &field) const
{
    requireOpen();
    const int c = column(field);
    if (c < 0)
        throw RuntimeError(Err::ItemNotFound, QStringLiteral("Item not found in this collection (field %1).").arg(field));
    return c;
}

const Schema::Field *Recordset::fieldDef(const QString &field) const
{
    const int c = column(field);
    return c < 0 ? nullptr : m_fieldDefs[c];
}

void Recordset::requireCurrent() const
{
    requireOpen();
    if (!hasCurrentRow())
        throw noCurrentRecord();
}

void Recordset::leave()
{
    requireOpen();
    if (beforeLeave)
        beforeLeave();
    if (m_mode != Mode::None) {
        m_mode = Mode::None;
        m_buffer.clear();
    }
}

void Recordset::arrive()
{
    if (afterArrive && hasCurrentRow())
        afterArrive();
}

void Recordset::MoveFirst()
{
    leave();
    if (m_rows.isEmpty())
        throw noCurrentRecord();
    m_currentDeleted = false;
    m_pos = 0;
    arrive();
}

void Recordset::MoveLast()
{
    leave();
    if (m_rows.isEmpty())
        throw noCurrentRecord();
    m_currentDeleted = false;
    m_pos = static_cast<int>(m_rows.size()) - 1;
    arrive();
}

void Recordset::MoveNext()
{
    leave();
    if (m_rows.isEmpty() && !m_currentDeleted)
        throw noCurrentRecord();
    if (m_currentDeleted) {
        m_currentDeleted = false;
    } else {
        if (m_pos >= m_rows.size())
            throw noCurrentRecord();
        ++m_pos;
    }
    if (m_pos > m_rows.size())
        m_pos = static_cast<int>(m_rows.size());
    arrive();
}

void Recordset::MovePrevious()
{
    leave();
    if (m_rows.isEmpty())
        throw noCurrentRecord();
    if (m_pos < 0)
        throw noCurrentRecord();
    m_currentDeleted = false;
    --m_pos;
    arrive();
}

void Recordset::moveTo(int index)
{
    leave();
    if (index < 0 || index >= m_rows.size())
        throw noCurrentRecord();
    m_currentDeleted = false;
    m_pos = index;
    arrive();
}

bool Recordset::FindFirst(const QString &field, const QVariant &value)
{
    const int c = requireColumn(field);
    leave();
    for (int i = 0; i < m_rows.size(); ++i) {
        if (sameValue(cell(i, c), value)) {
            m_noMatch = false;
            m_currentDeleted = false;
            m_pos = i;
            arrive();
            return true;
        }
    }
    m_noMatch = true;
    return false;
}

void Recordset::AddNew()
{
    requireOpen();
    if (!isUpdatable())
        throw RuntimeError(Err::ReadOnly, QStringLiteral("Can't update. Database or object is read-only."));
    leave();
    m_mode = Mode::AddNew;
    m_buffer.clear();
    if (afterAddNew)
        afterAddNew();
}

void Recordset::Edit()
{
    requireCurrent();
    if (!isUpdatable())
        throw RuntimeError(Err::ReadOnly, QStringLiteral("Can't update. Database or object is read-only."));
    m_mode = Mode::Edit;
    m_buffer.clear();
}

void Recordset::CancelUpdate()
{
    m_mode = Mode::None;
    m_buffer.clear();
}

void Recordset::setValue(const QString &field, const QVariant &value)
{
    const int c = requireColumn(field);
    if (m_mode == Mode::None)
        throw RuntimeError(Err::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    if (c == m_keyColumn)
        throw RuntimeError(3164, QStringLiteral("Field %1 can't be updated: the database assigns it.").arg(m_columns[c]));
    m_buffer[c] = Values::toStorage(m_fieldDefs[c], value);
}

QVector<QVariant> Recordset::readRow(const QVariant &key)
{
    const Database::Rows read =
        m_db->readRows(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(quoted(m_table), quoted(m_columns[m_keyColumn])), {key});
    QVector<QVariant> row(m_columns.size());
    if (!read.rows.isEmpty()) {
        const QVector<QVariant> &found = read.rows.first();
        for (int i = 0; i < m_columns.size(); ++i) {
            for (int at = 0; at < read.columns.size(); ++at) {
                if (read.columns.at(at).compare(m_columns[i], Qt::CaseInsensitive) == 0) {
                    row[i] = found.at(at);
                    break;
                }
            }
        }
    }
    return row;
}

void Recordset::Update()
{
    requireOpen();
    if (m_mode == Mode::None)
        throw RuntimeError(Err::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    if (beforeUpdate)
        beforeUpdate();
    if (m_mode == Mode::Edit) {
        if (!hasCurrentRow())
            throw noCurrentRecord();
        if (!m_buffer.isEmpty()) {
            QStringList sets;
            QVariantList values;
            for (auto it = m_buffer.cbegin(); it != m_buffer.cend(); ++it) {
                sets << quoted(m_columns[it.key()]) + QStringLiteral(" = ?");
                values << it.value();
            }
            const QVariant key = m_rows[m_pos][m_keyColumn];
            values << key;
            const Database::ChangeMark before = m_db->changeMark();
            m_db->run(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                          .arg(quoted(m_table), sets.join(QStringLiteral(", ")), quoted(m_columns[m_keyColumn])),
                      values);
            m_rows[m_pos] = readRow(key);
            followOwnWrite(before);
        }
    } else {
        QStringList cols, marks;
        QVariantList values;
        for (auto it = m_buffer.cbegin(); it != m_buffer.cend(); ++it) {
            cols << quoted(m_columns[it.key()]);
            marks << QStringLiteral("?");
            values << it.value();
        }
        // A yes/no field the row was not given holds no.
        if (m_tableDef) {
            for (const Schema::Field &f : m_tableDef->fields) {
                if (f.type == Schema::Type::Boolean && !m_buffer.contains(column(f.name))) {
                    cols << quoted(f.name);
                    marks << QStringLiteral("?");
                    values << Values::toStorage(&f, QVariant());
                }
            }
        }
        const Database::ChangeMark before = m_db->changeMark();
        QSqlQuery q = cols.isEmpty()
            ? m_db->run(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table)))
            : m_db->run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quoted(m_table), cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                        values);
        const QVariant key = q.lastInsertId();
        const bool hadCurrent = hasCurrentRow();
        m_rows.push_back(readRow(key));
        followOwnWrite(before);
        if (!hadCurrent) {
            m_pos = static_cast<int>(m_rows.size()) - 1;
            m_currentDeleted = false;
        }
    }
    m_mode = Mode::None;
    m_buffer.clear();
    if (afterWrite)
        afterWrite();
}

void Recordset::Delete()
{
    requireCurrent();
    if (!isUpdatable())
        throw RuntimeError(Err::ReadOnly, QStringLiteral("Can't update. Database or object is read-only."));
    m_mode = Mode::None;
    m_buffer.clear();
    const QVariant key = m_rows[m_pos][m_keyColumn];
    const Database::ChangeMark before = m_db->changeMark();
    m_db->run(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quoted(m_table), quoted(m_columns[m_keyColumn])), {key});
    m_rows.removeAt(m_pos);
    followOwnWrite(before);
    m_currentDeleted = true;
    if (afterWrite)
        afterWrite();
}

void Recordset::Close()
{
    if (m_closed)
        return;
    m_mode = Mode::None;
    m_buffer.clear();
    m_rows.clear();
    m_pos = -1;
    m_closed = true;
}

QVariant Recordset::value(const QString &field) const
{
    const int c = requireColumn(field);
    if (m_mode != Mode::None && m_buffer.contains(c))
        return Values::fromStorage(m_fieldDefs[c], m_buffer.value(c));
    if (m_mode == Mode::AddNew)
        return QVariant();
    requireCurrent();
    return cell(m_pos, c);
}

QVariant Recordset::valueAt(int index, const QString &field) const
{
    const int c = requireColumn(field);
    if (index < 0 || index >= m_rows.size())
        return QVariant();
    return cell(index, c);
}

QVariant Recordset::valueAt(int index, int column) const
{
    requireOpen();
    if (column < 0 || column >= m_columns.size())
        throw RuntimeError(Err::ItemNotFound, QStringLiteral("Item not found in this collection (field %1).").arg(column));
    if (index < 0 || index >= m_rows.size())
        return QVariant();
    return cell(index, column);
}

void Recordset::followOwnWrite(const Database::ChangeMark &before)
{
    // What the statement changed (the rows the triggers it set off changed
    // included) is known to the held rows.
    m_heldMark = before == m_heldMark ? m_db->changeMark() : Database::ChangeMark();
}

bool Recordset::holdsStoredRows() const
{
    if (m_closed || !m_heldMark.valid || !m_db->isOpen())
        return false;
    return m_db->changeMark() == m_heldMark;
}

bool Recordset::unchangedSinceRead() const
{
    if (!m_readMark.valid || !m_db->isOpen())
        return false;
    return m_db->changeMark() == m_readMark;
}

void Recordset::park()
{
    beforeLeave = nullptr;
    beforeUpdate = nullptr;
    afterArrive = nullptr;
    afterAddNew = nullptr;
    afterWrite = nullptr;
    m_mode = Mode::None;
    m_buffer.clear();
    m_closed = true;
}

void Recordset::reopen()
{
    m_closed = false;
    m_mode = Mode::None;
    m_buffer.clear();
    m_pos = m_rows.isEmpty() ? -1 : 0;
    m_currentDeleted = false;
    m_noMatch = false;
}

QVariant Recordset::cell(int row, int column) const
{
    return Values::fromStorage(m_fieldDefs[column], m_rows[row][column]);
}
