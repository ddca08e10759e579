#pragma once
// Creates a new, empty database file with the full schema and the seven
// assignment types, and compacts the file through a temporary copy.
// Progress is told through StatusText, and what the user must know (why a
// file could not be made or compacted, and what to do) through Notice: the
// window that asked shows it.
#include <QObject>
#include <QString>

class clsTarvelaDB : public QObject
{
    Q_OBJECT
public:
    explicit clsTarvelaDB(QObject *parent = nullptr) : QObject(parent) {}

    // Compacts folder/tarvela.mdb through folder/tarvelac.mdb. Every failure
    // ends in its own notice; returns true only when the compacted copy took
    // the place of the database file.
    bool Compact_Tarvela_DB(const QString &folder);

    // Makes folder/tarvela.mdb. Returns true when the file holds the whole
    // schema; on failure nothing half-made is left and lastError() tells why.
    // An old file that cannot be deleted gives its own notice.
    bool Create_Tarvela_DB(const QString &folder);
    QString lastError() const { return m_lastError; }

    static QString databaseFileName() { return QStringLiteral("tarvela.mdb"); }
    static QString compactFileName() { return QStringLiteral("tarvelac.mdb"); }

    enum class NoticeKind { Information, Critical };

Q_SIGNALS:
    void StatusText(const QString &text);
    void Notice(const QString &text, const QString &title, clsTarvelaDB::NoticeKind kind);

private:
    QString m_lastError;
};
