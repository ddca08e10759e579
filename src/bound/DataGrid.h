#pragma once
// The bound data grid: the rows of a data source in chosen columns, edited in
// place. An empty last row takes a new row: what is typed into it is kept
// until the user leaves that row, presses Return in its last cell that takes
// text or Tab in its last cell (or the source moves or closes), then
// appended; AfterInsert and then AfterUpdate follow. Editing a cell of an
// existing row writes that row and raises AfterUpdate. A cell whose editor
// is still open when the source moves, re-reads or closes (its window
// closing) is stored first. A value the field cannot take is told; when it
// was ended by Return or Tab the cell's editor opens again with what was
// typed.
#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include "platform/CellText.h"

#include <QStyledItemDelegate>
#include <QTableView>
#include <QWidget>

class DataSource;
class WrappedLabel;

class DataGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column {
        QString caption;
        QString field;
    };

    DataGridModel(QObject *parent = nullptr);
    void setDataSource(DataSource *source, const QVector<Column> &columns);
    DataSource *dataSource() const { return m_source; }
    const QVector<Column> &columns() const { return m_columns; }
    void setAllowAddNew(bool on);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Stores a cell as the user typed it; a refusal is told and false
    // returned.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    // The same, raising the run-time error of a value that cannot be stored
    // instead of telling it; false when the role does not apply.
    bool storeCell(const QModelIndex &index, const QVariant &value, int role);

    bool isNewRow(int row) const;
    // The last column that takes typed text (the columns after it are check boxes).
    int lastTextColumn() const;
    bool hasPendingRow() const { return !m_pending.isEmpty(); }
    // Appends the row typed into the new row. Returns false when nothing was
    // pending or the row could not be stored (the message was shown and the
    // typed values are kept).
    bool commitPendingRow();
    // The same, raising the run-time error when the row cannot be stored
    // (the typed values are kept); nothing happens when nothing is pending.
    void storePendingRow();
    // Drops what was typed into the new row.
    void discardPendingRow();

Q_SIGNALS:
    void AfterInsert();
    void AfterUpdate();

private:
    bool isBooleanColumn(int column) const;
    void resetFromSource();

    QPointer<DataSource> m_source;
    QVector<Column> m_columns;
    bool m_allowAddNew = true;
    QHash<int, QVariant> m_pending; // column -> typed value
    bool m_writing = false;
};

class DataGridDelegate : public CellTextDelegate
{
    Q_OBJECT
public:
    using CellTextDelegate::CellTextDelegate;
    void setList(int column, const QStringList &items) { m_lists[column] = items; }
    QStringList list(int column) const { return m_lists.value(column); }
    void clearList(int column) { m_lists.remove(column); }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    // The cell whose editor gave its text last, that text, and whether it
    // was refused.
    QModelIndex lastEdited() const { return m_lastEdited; }
    QString lastTyped() const { return m_lastTyped; }
    bool lastRefused() const { return m_lastRefused; }

    // What a cell editor holds, and putting text back into one.
    static QString editorText(QWidget *editor);
    static void setEditorText(QWidget *editor, const QString &text);

private:
    QHash<int, QStringList> m_lists;
    mutable QPersistentModelIndex m_lastEdited;
    mutable QString m_lastTyped;
    mutable bool m_lastRefused = false;
};

class DataGrid : public QWidget
{
    Q_OBJECT
public:
    using Column = DataGridModel::Column;

    explicit DataGrid(QWidget *parent = nullptr);
    void setDataSource(DataSource *source, const QVector<Column> &columns);
    void setAllowAddNew(bool on) { m_model->setAllowAddNew(on); }

    QTableView *view() const { return m_view; }
    DataGridModel *model() const { return m_model; }

    void setCaption(const QString &caption);
    QString caption() const;

    // The drop-down list of a column (any text may still be typed).
    void setColumnList(int column, const QStringList &items) { m_delegate->setList(column, items); }
    QStringList columnList(int column) const { return m_delegate->list(column); }
    void clearColumnList(int column) { m_delegate->clearList(column); }

    // Column widths are kept when the rows are read again; the stretching
    // column takes the width the others leave.
    void setColumnWidth(int column, int pixels);
    void setStretchColumn(int column);

    // Re-reads the rows from the data source.
    void Refresh();

    // Stores what is being typed: the text of a cell editor still open, then
    // the row typed into the new row. Raises the run-time error of what
    // cannot be stored, naming it; what was typed stays (the editor open).
    void storeEdits();
    // The same, telling a failure; false when something was not stored.
    bool commitEdits();
    // Drops what is being typed (the open editor's text and the new row).
    void discardEdits();

Q_SIGNALS:
    void AfterInsert();
    void AfterUpdate();
    // A mouse button went down on the grid (button, modifiers, position).
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyColumnWidths();
    // Stores the new row at once (Return or Tab at its end) and goes on in the
    // next new row.
    void storeNewRow();
    bool endsNewRow(const QModelIndex &cell, bool byReturn) const;
    // The editor open on the current cell, or nullptr.
    QWidget *openEditor() const;
    void storeOpenEditor();
    // Opens the cell's editor again with the text that was refused.
    void reopenEditor(const QModelIndex &cell, const QString &typed);

    QHash<int, int> m_widths;
    int m_stretchColumn = -1;
    WrappedLabel *m_caption;
    QTableView *m_view;
    DataGridModel *m_model;
    DataGridDelegate *m_delegate;
};
