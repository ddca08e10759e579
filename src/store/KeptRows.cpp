#include "KeptRows.h"

Recordset &KeptRows::read(const QString &path, const QString &sql, Database::RecordsetType type, const QVariantList &params)
{
    // Opening the file also finds it moved or replaced: rows of another
    // file are never used again.
    const std::shared_ptr<Database> db = Database::open(path);
    if (m_rs && m_path == path && m_rs->database()->path() == db->path() && m_rs->answers(sql, type, params)) {
        m_rs->reopen();
        return *m_rs;
    }
    m_rs.reset();
    m_rs = db->openRecordset(sql, type, params);
    m_path = path;
    return *m_rs;
}
