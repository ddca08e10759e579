#include "DataGrid.h"

#include "DataSource.h"
#include "store/Values.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Trap.h"
#include "platform/Controls.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {
void tell(const RuntimeError &e) { Trap::tell(e, MessageBox::Exclamation); }
} // namespace

DataGridModel::DataGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void DataGridModel::setDataSource(DataSource *source, const QVector<Column> &columns)
{
    beginResetModel();
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_columns = columns;
    m_pending.clear();
    if (m_source) {
        connect(m_source, &DataSource::refreshed, this, [this] {
            m_pending.clear();
            resetFromSource();
        });
        connect(m_source, &DataSource::rowsChanged, this, &DataGridModel::resetFromSource);
        // A row typed into the new row is stored before the source moves,
        // re-reads or closes; when it cannot be, that is raised to the caller
        // and the row stays.
        DataSource *bound = m_source;
        m_source->addSaver(this, [this, bound] {
            if (m_source == bound)
                storePendingRow();
        });
    }
    endResetModel();
}

void DataGridModel::setAllowAddNew(bool on)
{
    beginResetModel();
    m_allowAddNew = on;
    endResetModel();
}

void DataGridModel::resetFromSource()
{
    if (m_writing)
        return;
    beginResetModel();
    endResetModel();
}

int DataGridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_source || !m_source->isOpen())
        return 0;
    return m_source->recordset().RecordCount() + (m_allowAddNew ? 1 : 0);
}

int DataGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

bool DataGridModel::isNewRow(int row) const
{
    return m_allowAddNew && m_source && m_source->isOpen() && row == m_source->recordset().RecordCount();
}

int DataGridModel::lastTextColumn() const
{
    for (int c = static_cast<int>(m_columns.size()) - 1; c >= 0; --c)
        if (!isBooleanColumn(c))
            return c;
    return -1;
}

bool DataGridModel::isBooleanColumn(int column) const
{
    if (!m_source || !m_source->isOpen())
        return false;
    const Schema::Field *f = m_source->recordset().fieldDef(m_columns[column].field);
    return f && f->type == Schema::Type::Boolean;
}

QVariant DataGridModel::data(const QModelIndex &index, int role) const
{
    // A view asks for many roles of each cell it draws; the value is read
    // only for those the grid serves.
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole)
        return QVariant();
    if (!index.isValid() || !m_source || !m_source->isOpen())
        return QVariant();
    const int col = index.column();
    QVariant value;
    if (isNewRow(index.row()))
        value = m_pending.value(col);
    else
        value = m_source->recordset().valueAt(index.row(), m_columns[col].field);
    if (isBooleanColumn(col)) {
        if (role == Qt::CheckStateRole)
            return Values::isTrue(value) ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return Values::displayText(value);
    return QVariant();
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section < m_columns.size() ? m_columns[section].caption : QVariant();
    return isNewRow(section) ? QStringLiteral("*") : QString();
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isBooleanColumn(index.column()))
        f |= Qt::ItemIsUserCheckable;
    else
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    try {
        return storeCell(index, value, role);
    } catch (const RuntimeError &e) {
        tell(e);
        return false;
    }
}

bool DataGridModel::storeCell(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || !m_source || !m_source->isOpen())
        return false;
    const int col = index.column();
    const QString field = m_columns[col].field;
    QVariant v;
    if (isBooleanColumn(col)) {
        if (role != Qt::CheckStateRole)
            return false;
        v = (value.toInt() == Qt::Checked);
    } else {
        if (role != Qt::EditRole)
            return false;
        v = value.toString();
        if (v.toString().isEmpty())
            v = QVariant();
    }
    Recordset &rs = m_source->recordset();
    // Refuse a value the field cannot take before anything is stored.
    Values::typedToStorage(rs.fieldDef(field), v);
    if (isNewRow(index.row())) {
        m_pending[col] = v;
        Q_EMIT dataChanged(index, index);
        return true;
    }
    m_writing = true;
    try {
        if (rs.position() != index.row() || !rs.hasCurrentRow())
            rs.moveTo(index.row());
        rs.Edit();
        rs.setValue(field, v);
        rs.Update();
    } catch (const RuntimeError &) {
        m_writing = false;
        if (m_source && m_source->isOpen())
            m_source->recordset().CancelUpdate();
        throw;
    }
    m_writing = false;
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    Q_EMIT AfterUpdate();
    return true;
}

bool DataGridModel::commitPendingRow()
{
    if (m_pending.isEmpty() || !m_source || !m_source->isOpen())
        return false;
    return Trap::guarded([this] { storePendingRow(); }, MessageBox::Exclamation);
}

void DataGridModel::storePendingRow()
{
    if (m_pending.isEmpty() || !m_source || !m_source->isOpen())
        return;
    Recordset &rs = m_source->recordset();
    const QHash<int, QVariant> pending = m_pending;
    m_pending.clear(); // appending moves the source, which must not commit again
    m_writing = true;
    try {
        rs.AddNew();
        for (auto it = pending.cbegin(); it != pending.cend(); ++it)
            rs.setValue(m_columns[it.key()].field, it.value());
        rs.Update();
    } catch (const RuntimeError &) {
        m_writing = false;
        if (m_source && m_source->isOpen())
            m_source->recordset().CancelUpdate();
        m_pending = pending;
        throw;
    }
    m_writing = false;
    beginResetModel();
    endResetModel();
    Q_EMIT AfterInsert();
    Q_EMIT AfterUpdate();
}

void DataGridModel::discardPendingRow()
{
    if (m_pending.isEmpty())
        return;
    m_pending.clear();
    beginResetModel();
    endResetModel();
}

QWidget *DataGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (m_lists.contains(index.column())) {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(m_lists.value(index.column()));
        // Completion keeps the letter case the user typed apart from the list's.
        combo->setCompleter(nullptr);
        return combo;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void DataGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setEditText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void DataGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    m_lastEdited = index;
    m_lastTyped = editorText(editor);
    m_lastRefused = !model->setData(index, m_lastTyped, Qt::EditRole);
}

QString DataGridDelegate::editorText(QWidget *editor)
{
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        return combo->currentText();
    const QMetaProperty user = editor->metaObject()->userProperty();
    return user.isValid() ? user.read(editor).toString() : QString();
}

void DataGridDelegate::setEditorText(QWidget *editor, const QString &text)
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setEditText(text);
        return;
    }
    const QMetaProperty user = editor->metaObject()->userProperty();
    if (user.isValid())
        user.write(editor, text);
}

DataGrid::DataGrid(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // A long caption (a class's name) is shortened to what fits, whole in
    // its tooltip; it never widens the window the grid stands in.
    m_caption = new WrappedLabel(this);
    m_caption->setObjectName(QStringLiteral("caption"));
    m_caption->setOneLine(true);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_caption->setVisible(false);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("view"));
    m_model = new DataGridModel(this);
    m_delegate = new DataGridDelegate(this);
    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    m_view->horizontalHeader()->setStretchLastSection(false);
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
    keepCellsOnActivation(m_view);
    layout->addWidget(m_caption);
    layout->addWidget(m_view);

    connect(m_model, &DataGridModel::AfterInsert, this, &DataGrid::AfterInsert);
    connect(m_model, &DataGridModel::AfterUpdate, this, &DataGrid::AfterUpdate);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::applyColumnWidths);
    // Return in the new row's last text cell, or Tab out of its last cell,
    // ends the row: it is stored at once.
    connect(m_delegate, &QAbstractItemDelegate::closeEditor, this, [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
        const QModelIndex cell = m_delegate->lastEdited();
        if (cell.isValid() && m_delegate->lastRefused()) {
            // Return or Tab on a value the field cannot take (the user was
            // told): the cell opens again with what was typed, and the row
            // does not end.
            if (hint == QAbstractItemDelegate::SubmitModelCache || hint == QAbstractItemDelegate::EditNextItem
                || hint == QAbstractItemDelegate::EditPreviousItem) {
                const QPersistentModelIndex refused(cell);
                const QString typed = m_delegate->lastTyped();
                QTimer::singleShot(0, this, [this, refused, typed] {
                    // Tab has opened the next cell already: back to the refused one.
                    if (QWidget *next = openEditor(); next && m_view->currentIndex() != QModelIndex(refused)
                        && m_view->currentIndex().row() == refused.row())
                        Q_EMIT m_delegate->closeEditor(next, QAbstractItemDelegate::RevertModelCache);
                    if (refused.isValid() && m_view->currentIndex().row() == refused.row())
                        m_view->setCurrentIndex(refused);
                    reopenEditor(refused, typed);
                });
            }
            return;
        }
        // A move to another row stores the row on its own (below).
        if (!cell.isValid() || m_view->currentIndex().row() != cell.row())
            return;
        if ((hint == QAbstractItemDelegate::SubmitModelCache && endsNewRow(cell, true))
            || (hint == QAbstractItemDelegate::EditNextItem && endsNewRow(cell, false)))
            storeNewRow();
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                const int row = current.isValid() ? current.row() : -1;
                const int before = previous.isValid() ? previous.row() : -1;
                if (row == before)
                    return;
                // Leaving the new row stores it; choosing a stored row makes it
                // the source's current row. Done after the view has settled.
                QTimer::singleShot(0, this, [this, row] {
                    DataSource *source = m_model->dataSource();
                    if (!source || !source->isOpen())
                        return;
                    try {
                        if (m_model->hasPendingRow() && !m_model->isNewRow(row) && !m_model->commitPendingRow())
                            return;
                        Recordset &rs = source->recordset();
                        if (row >= 0 && row < rs.RecordCount() && (rs.position() != row || !rs.hasCurrentRow()))
                            rs.moveTo(row);
                    } catch (const RuntimeError &e) {
                        tell(e);
                    }
                });
            });
}

void DataGrid::setDataSource(DataSource *source, const QVector<Column> &columns)
{
    // A cell still being edited is stored before the source moves, re-reads
    // or closes, ahead of the new row (the model's own saver).
    if (source)
        source->addSaver(this, [this, source] {
            if (m_model->dataSource() == source)
                storeOpenEditor();
        });
    m_model->setDataSource(source, columns);
}

QWidget *DataGrid::openEditor() const
{
    // The grid sets no index widgets of its own: one on a cell is its editor.
    return m_view->indexWidget(m_view->currentIndex());
}

void DataGrid::storeOpenEditor()
{
    QWidget *editor = openEditor();
    if (!editor)
        return;
    const QModelIndex cell = m_view->currentIndex();
    const QString typed = DataGridDelegate::editorText(editor);
    // Nothing typed: nothing to store (an editor opened on the new row
    // makes no row).
    if (typed != m_model->data(cell, Qt::EditRole).toString()) {
        DataSource *source = m_model->dataSource();
        Recordset *rs = source ? source->recordsetOrNull() : nullptr;
        const int before = rs && rs->hasCurrentRow() ? rs->position() : -1;
        try {
            m_model->storeCell(cell, typed, Qt::EditRole);
        } catch (const RuntimeError &e) {
            throw RuntimeError(e.number(), e.description()
                                               + QStringLiteral("\n\nNot stored: %1 \"%2\"")
                                                     .arg(m_model->columns().value(cell.column()).caption, typed));
        }
        // Writing the cell's row made it current; a move under way goes on
        // from where the source stood.
        if (before >= 0 && rs == source->recordsetOrNull() && rs->position() != before && before < rs->RecordCount())
            rs->moveTo(before);
    }
    Q_EMIT m_delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DataGrid::storeEdits()
{
    storeOpenEditor();
    m_model->storePendingRow();
}

bool DataGrid::commitEdits() { return Trap::guarded([this] { storeEdits(); }, MessageBox::Exclamation); }

void DataGrid::discardEdits()
{
    if (QWidget *editor = openEditor())
        Q_EMIT m_delegate->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    m_model->discardPendingRow();
}

void DataGrid::reopenEditor(const QModelIndex &cell, const QString &typed)
{
    if (!cell.isValid() || !m_view->isVisible() || openEditor() || m_view->currentIndex() != QModelIndex(cell))
        return;
    m_view->setCurrentIndex(cell);
    m_view->edit(cell);
    if (QWidget *editor = m_view->indexWidget(cell))
        DataGridDelegate::setEditorText(editor, typed);
}

void DataGrid::setColumnWidth(int column, int pixels)
{
    m_widths[column] = pixels;
    m_view->setColumnWidth(column, pixels);
}

void DataGrid::setStretchColumn(int column)
{
    m_stretchColumn = column;
    applyColumnWidths();
}

void DataGrid::applyColumnWidths()
{
    QHeaderView *header = m_view->horizontalHeader();
    for (auto it = m_widths.cbegin(); it != m_widths.cend(); ++it)
        if (it.key() < header->count())
            m_view->setColumnWidth(it.key(), it.value());
    if (m_stretchColumn >= 0 && m_stretchColumn < header->count())
        header->setSectionResizeMode(m_stretchColumn, QHeaderView::Stretch);
}

bool DataGrid::endsNewRow(const QModelIndex &cell, bool byReturn) const
{
    if (!cell.isValid() || !m_model->isNewRow(cell.row()))
        return false;
    return byReturn ? cell.column() >= m_model->lastTextColumn() : cell.column() == m_model->columnCount() - 1;
}

void DataGrid::storeNewRow()
{
    if (!m_model->hasPendingRow())
        return;
    // Tab out of the last cell of the grid's only row wraps round to its first
    // cell and opens an editor there on what is being stored: that editor
    // closes first, or storing would take its text for a row of its own.
    if (QWidget *editor = openEditor(); editor && m_model->isNewRow(m_view->currentIndex().row()))
        Q_EMIT m_delegate->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    if (!m_model->commitPendingRow())
        return;
    // The user goes on in the next empty row.
    const int row = m_model->rowCount() - 1;
    if (row >= 0 && m_model->isNewRow(row))
        m_view->setCurrentIndex(m_model->index(row, 0));
}

void DataGrid::setCaption(const QString &caption)
{
    m_caption->setText(caption);
    m_caption->setVisible(!caption.isEmpty());
}

QString DataGrid::caption() const { return m_caption->text(); }

void DataGrid::Refresh()
{
    m_view->reset();
    m_view->viewport()->update();
}

bool DataGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress && m_view->hasFocus()) { // not while a cell is edited
        const int key = static_cast<QKeyEvent *>(event)->key();
        const QModelIndex cell = m_view->currentIndex();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && endsNewRow(cell, true)) {
            storeNewRow();
        } else if (key == Qt::Key_Tab && endsNewRow(cell, false) && m_model->hasPendingRow()) {
            storeNewRow();
            return true; // already in the next row
        }
    }
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto *me = static_cast<QMouseEvent *>(event);
        Q_EMIT MouseDown(me->button(), me->modifiers(), me->position().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}
