#pragma once
// The bound data control of a window: a database file and a record source
// (a table name or a "SELECT * FROM ..." text with bound parameters). Refresh
// opens the record source on its first row. Controls bound to its fields show
// the current row; what the user changed in them is stored into the row when
// the code saves the row, and before the source moves, finds, appends,
// re-reads or closes, and when its window closes.
#include "store/Database.h"
#include "store/Recordset.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QVariantHash>
#include <QVector>
#include <functional>
#include <memory>

class QWidget;

class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(QObject *parent = nullptr, const QString &name = QString());
    ~DataSource() override;

    void setDatabaseName(const QString &path);
    QString databaseName() const { return m_databaseName; }
    // A table name or an SQL text; "?" placeholders take `params` in order.
    void setRecordSource(const QString &source, const QVariantList &params = {});
    QString recordSource() const { return m_recordSource; }
    QVariantList recordSourceParams() const { return m_params; }
    void setRecordsetType(Database::RecordsetType type) { m_type = type; }

    // Opens (or re-reads) the record source; the first row becomes current.
    // While nothing was written to the file since rows of the same source
    // were read (the rows held now, or those held before them), those rows
    // serve: a new read would give them again.
    void Refresh();
    // True when the record source was changed since the rows were last read.
    bool recordSourceChanged() const { return !m_rs || m_readSource != m_recordSource || m_readParams != m_params; }
    bool isOpen() const { return m_rs != nullptr; }
    // The open recordset; run-time error 91 before the first Refresh.
    Recordset &recordset() const;
    Recordset *recordsetOrNull() const { return m_rs.get(); }
    // The rows held are what the record source selects from the file now:
    // it was read from this file, not changed since, and nothing was
    // written to the file since but through its own recordset.
    bool holdsStoredRows(const QString &path) const;
    // Hands `read` the rows the record source selects as the file holds
    // them: the rows held while they are those, else the record source read
    // anew from the file.
    void readStoredRows(const QString &path, const std::function<void(const Recordset &)> &read) const;
    // No rows (at its start and its end at once); also true when not open.
    bool noRows() const;
    // A row is current (neither at its start nor at its end).
    bool hasCurrentRow() const;

    // Binds a control to a field: text boxes, labels, check boxes, combo
    // boxes, memo boxes and any control with a user property.
    void bind(QWidget *control, const QString &field);
    // Other savers of pending input (a bound grid's new row).
    void addSaver(QObject *owner, std::function<void()> save);

    // Stores what the user changed in the bound controls into the current row.
    void saveBoundControls();
    // Stores the current row with what its bound controls hold and the
    // given field values, as the code's Edit and Update do. A failure leaves
    // the row as it was and is raised to the caller.
    void saveRow(const QVariantHash &values = {});
    // Shows the current row in the bound controls again.
    void showCurrentRow();
    // Stores pending input and closes the recordset and the connection.
    void close();
    // Closes without storing anything: what was typed is dropped.
    void discard();

Q_SIGNALS:
    // A row became current, or the source was (re-)read.
    void Reposition();
    // The source was (re-)read: every row may have changed.
    void refreshed();
    // A row was written, added or deleted through the recordset.
    void rowsChanged();

private:
    struct Binding {
        QPointer<QWidget> control;
        QString field;
        QVariant shown; // what the control was given: QString or bool
    };
    struct Saver {
        QPointer<QObject> owner;
        std::function<void()> save;
    };

    void installHooks();
    // Rows read from the current record source that a new read would give again.
    bool canServe(const Recordset &rs) const;
    // close(), for a closing window: a failure names the fields whose typed
    // values were not stored.
    void closeNamingWhatIsLost();
    void display(Binding &b, const QVariant &value);
    QVariant controlValue(const Binding &b) const;
    bool isDirty(const Binding &b) const;
    void writeDirtyControls();
    void clearControls();

    QString m_databaseName;
    QString m_recordSource;
    QVariantList m_params;
    QString m_readSource;
    QVariantList m_readParams;
    Database::RecordsetType m_type = Database::Dynaset;
    std::shared_ptr<Database> m_db;
    QString m_openDatabaseName;
    std::unique_ptr<Recordset> m_rs;
    std::unique_ptr<Recordset> m_spare; // the rows held before the last Refresh, parked
    QVector<Binding> m_bindings;
    QVector<Saver> m_savers;
    bool m_saving = false;
};
