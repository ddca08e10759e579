#include "DataSource.h"

#include "store/Values.h"
#include "platform/Form.h"
#include "platform/RuntimeError.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTextEdit>

DataSource::DataSource(QObject *parent, const QString &name) : QObject(parent)
{
    setObjectName(name);
    // The window's closing stores what its bound controls hold; what cannot
    // be stored is named, and dropped only when the user closes all the same.
    if (auto *w = qobject_cast<QWidget *>(parent)) {
        if (auto *form = qobject_cast<Form *>(w->window()))
            form->addUnloadHook(this, [this] { closeNamingWhatIsLost(); }, [this] { discard(); });
    }
}

DataSource::~DataSource()
{
    if (m_rs)
        m_rs->Close();
    m_rs.reset();
    m_spare.reset();
    if (m_db)
        m_db->close();
}

void DataSource::setDatabaseName(const QString &path) { m_databaseName = path; }

void DataSource::setRecordSource(const QString &source, const QVariantList &params)
{
    m_recordSource = source;
    m_params = params;
}

Recordset &DataSource::recordset() const
{
    if (!m_rs)
        throw RuntimeError(Err::ObjectVariableNotSet, QStringLiteral("Object variable or With block variable not set"));
    return *m_rs;
}

bool DataSource::holdsStoredRows(const QString &path) const
{
    return m_rs && !recordSourceChanged() && m_openDatabaseName == path && m_rs->holdsStoredRows();
}

void DataSource::readStoredRows(const QString &path, const std::function<void(const Recordset &)> &read) const
{
    if (holdsStoredRows(path)) {
        read(*m_rs);
        return;
    }
    auto db = Database::open(path);
    auto rows = db->openRecordset(m_recordSource, Database::Snapshot, m_params);
    read(*rows);
    rows->Close();
    db->close();
}

bool DataSource::noRows() const { return !m_rs || m_rs->isEmpty(); }

bool DataSource::hasCurrentRow() const { return m_rs && m_rs->hasCurrentRow(); }

void DataSource::Refresh()
{
    std::unique_ptr<Recordset> previous;
    if (m_rs) {
        saveBoundControls();
        m_rs->park();
        previous = std::move(m_rs);
    }
    if (m_recordSource.trimmed().isEmpty())
        throw RuntimeError(3078, QStringLiteral("The data source %1 has no record source.").arg(objectName()));
    if (!m_db || !m_db->isOpen() || m_openDatabaseName != m_databaseName) {
        previous.reset();
        m_spare.reset();
        if (m_db)
            m_db->close();
        m_db.reset();
        m_db = Database::open(m_databaseName);
        m_openDatabaseName = m_databaseName;
    }
    std::unique_ptr<Recordset> next;
    if (previous && canServe(*previous))
        next = std::move(previous);
    else if (m_spare && canServe(*m_spare))
        next = std::move(m_spare);
    if (next)
        next->reopen();
    else
        next = m_db->openRecordset(m_recordSource, m_type, m_params);
    if (previous && previous->unchangedSinceRead())
        m_spare = std::move(previous);
    m_rs = std::move(next);
    m_readSource = m_recordSource;
    m_readParams = m_params;
    installHooks();
    showCurrentRow();
    Q_EMIT refreshed();
    Q_EMIT Reposition();
}

bool DataSource::canServe(const Recordset &rs) const
{
    return rs.database() == m_db && rs.answers(m_recordSource, m_type, m_params);
}

void DataSource::installHooks()
{
    m_rs->beforeLeave = [this] { saveBoundControls(); };
    m_rs->beforeUpdate = [this] { writeDirtyControls(); };
    m_rs->afterArrive = [this] {
        showCurrentRow();
        Q_EMIT Reposition();
    };
    m_rs->afterAddNew = [this] { clearControls(); };
    m_rs->afterWrite = [this] {
        if (m_rs && m_rs->hasCurrentRow())
            showCurrentRow();
        Q_EMIT rowsChanged();
    };
}

void DataSource::bind(QWidget *control, const QString &field)
{
    m_bindings.push_back(Binding{control, field, QVariant()});
    Binding &b = m_bindings.back();
    if (m_rs && m_rs->hasCurrentRow() && m_rs->hasField(field))
        display(b, m_rs->value(field));
    else
        display(b, QVariant());
}

void DataSource::addSaver(QObject *owner, std::function<void()> save) { m_savers.push_back(Saver{owner, std::move(save)}); }

void DataSource::display(Binding &b, const QVariant &value)
{
    QWidget *w = b.control;
    if (!w)
        return;
    const QString text = Values::displayText(value);
    if (auto *button = qobject_cast<QAbstractButton *>(w); button && button->isCheckable()) {
        button->setChecked(Values::isTrue(value));
        b.shown = button->isChecked();
        return;
    }
    if (auto *label = qobject_cast<QLabel *>(w))
        label->setText(text);
    else if (auto *line = qobject_cast<QLineEdit *>(w))
        line->setText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
        plain->setPlainText(text);
    else if (auto *rich = qobject_cast<QTextEdit *>(w))
        rich->setPlainText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    } else {
        const QMetaProperty user = w->metaObject()->userProperty();
        if (user.isValid())
            user.write(w, text);
    }
    b.shown = controlValue(b);
}

QVariant DataSource::controlValue(const Binding &b) const
{
    QWidget *w = b.control;
    if (!w)
        return b.shown;
    if (auto *button = qobject_cast<QAbstractButton *>(w); button && button->isCheckable())
        return button->isChecked();
    if (qobject_cast<QLabel *>(w))
        return b.shown;
    if (auto *line = qobject_cast<QLineEdit *>(w))
        return line->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
        return plain->toPlainText();
    if (auto *rich = qobject_cast<QTextEdit *>(w))
        return rich->toPlainText();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    const QMetaProperty user = w->metaObject()->userProperty();
    return user.isValid() ? user.read(w) : b.shown;
}

bool DataSource::isDirty(const Binding &b) const
{
    if (!b.control)
        return false;
    return controlValue(b) != b.shown;
}

void DataSource::writeDirtyControls()
{
    if (!m_rs)
        return;
    for (const Binding &b : m_bindings) {
        if (!isDirty(b))
            continue;
        QVariant v = controlValue(b);
        if (v.typeId() == QMetaType::QString && v.toString().isEmpty())
            v = QVariant();
        Values::typedToStorage(m_rs->fieldDef(b.field), v); // typed: a fraction is refused, not rounded
        m_rs->setValue(b.field, v);
    }
}

void DataSource::saveBoundControls()
{
    if (!m_rs || m_saving)
        return;
    QScopedValueRollback<bool> guard(m_saving, true);
    for (const Saver &s : m_savers)
        if (s.owner)
            s.save();
    bool dirty = false;
    for (const Binding &b : m_bindings)
        dirty = dirty || isDirty(b);
    if (!dirty)
        return;
    if (!m_rs->isEditing()) {
        if (!m_rs->hasCurrentRow())
            return;
        m_rs->Edit();
    }
    m_rs->Update();
}

void DataSource::saveRow(const QVariantHash &values)
{
    Recordset &rs = recordset();
    try {
        rs.Edit();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            rs.setValue(it.key(), it.value());
        rs.Update();
    } catch (const RuntimeError &) {
        if (m_rs && m_rs->isEditing())
            m_rs->CancelUpdate();
        throw;
    }
}

void DataSource::showCurrentRow()
{
    const bool current = m_rs && m_rs->hasCurrentRow();
    for (Binding &b : m_bindings) {
        if (current && m_rs->hasField(b.field))
            display(b, m_rs->value(b.field));
        else
            display(b, QVariant());
    }
}

void DataSource::clearControls()
{
    for (Binding &b : m_bindings)
        display(b, QVariant());
}

void DataSource::closeNamingWhatIsLost()
{
    QStringList unsaved;
    for (const Binding &b : m_bindings) {
        if (!isDirty(b))
            continue;
        QString typed = Values::displayText(controlValue(b));
        if (typed.size() > 40)
            typed = typed.left(40) + QStringLiteral("...");
        unsaved << QStringLiteral("%1 \"%2\"").arg(b.field, typed);
    }
    try {
        close();
    } catch (const RuntimeError &e) {
        if (unsaved.isEmpty())
            throw;
        throw RuntimeError(e.number(), e.description() + QStringLiteral("\n\nNot stored: ") + unsaved.join(QStringLiteral(", ")));
    }
}

void DataSource::discard()
{
    m_spare.reset();
    if (m_rs) {
        m_rs->CancelUpdate();
        m_rs->Close();
        m_rs.reset();
    }
    if (m_db)
        m_db->close();
    m_db.reset();
}

void DataSource::close()
{
    if (m_rs) {
        saveBoundControls();
        m_rs->Close();
        m_rs.reset();
    }
    m_spare.reset();
    if (m_db)
        m_db->close();
    m_db.reset();
}
