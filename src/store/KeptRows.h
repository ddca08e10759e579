#pragma once
// The rows of one query kept between uses, for work that reads the same
// rows again and again (the tree at every return to the main window): they
// are read again only when something was written to the file since they
// were read, so every use sees what a new read would give.
#include "Database.h"
#include "Recordset.h"

#include <memory>

class KeptRows
{
public:
    // The rows of `sql` in the database file at `path`, on their first row.
    // Raises as Database::open and openRecordset do.
    Recordset &read(const QString &path, const QString &sql, Database::RecordsetType type = Database::Snapshot,
                    const QVariantList &params = {});
    // Forgets the rows.
    void clear() { m_rs.reset(); }

private:
    QString m_path;
    std::unique_ptr<Recordset> m_rs;
};
