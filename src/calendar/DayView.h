#pragma once
// The day view of the calendar window: one day in half-hour rows from
// 12:00 AM to 11:30 PM, each entry drawn over its rows in its colour, entries
// that share rows side by side.
//
// The user selects an entry with a click or the arrow keys (Up and Down move
// through the half hours, Left and Right through the entries of a half hour
// and the free space beside them). A double click or typing on a free half
// hour starts a new entry there; typing on a selected entry, a double click
// on it, Enter or F2 edit its text. Enter, or leaving the editor, ends the
// edit and raises CloseEdit; Esc cancels it. Delete raises DeleteTask, whose
// handler may keep the entry and may suppress the view's own prompt.
//
// Placing the entries is done once after they change, not at every paint.
#include "DayLayout.h"

#include <QAbstractScrollArea>
#include <QVector>

class QLabel;
class QLineEdit;

class DayView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit DayView(QWidget *parent = nullptr);

    void setCaption(const QString &caption);
    QString caption() const;

    // The entries.
    void removeAll();
    // Adds an entry; returns its index. An invalid colour is the default.
    int add(const QTime &start, const QTime &end, const QString &text, const QColor &colour = QColor());
    int count() const { return static_cast<int>(m_entries.size()); }
    // The entry at a zero-based index; run-time error 9 outside the list.
    const DayEntry &entry(int index) const;
    const QVector<DayEntry> &entries() const { return m_entries; }
    // Marks an entry as typed by the user or not (see DayEntry::typed).
    void setTyped(int index, bool typed);

    // The selected entry, -1 when none.
    int selectedIndex() const { return m_selected; }
    void setSelectedIndex(int index);
    // The half hour the keyboard is on.
    int currentRow() const { return m_currentRow; }

    // Draws the view again.
    void Repaint();

    // The longest text an entry takes (0: no limit).
    void setMaxTextLength(int length);

    // Ends an edit in progress as Enter does (nothing when none is open).
    void endEdit();
    bool isEditing() const { return m_editing; }
    QLineEdit *editor() const { return m_editor; }

    // Geometry, in the viewport's coordinates.
    int rowHeight() const;
    QRect rowRect(int row) const;
    QRect entryRect(int index) const;
    // A point of a row's free space, right of its entries.
    QPoint freePoint(int row) const;
    int rowAt(const QPoint &pos) const;
    int entryAt(const QPoint &pos) const;
    void scrollToRow(int row);
    int topRow() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // The user finished editing the entry at TaskIndex.
    void CloseEdit(int TaskIndex, const QTime &start, const QTime &end, const QString &text);
    // The user is deleting the selected entry. Setting *RtnCancel keeps it;
    // clearing *RtnDispPromptMsg suppresses the view's own prompt.
    void DeleteTask(bool *RtnCancel, bool *RtnDispPromptMsg);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void entriesChanged();
    void ensureLaidOut() const;
    void layoutNow();
    void updateScrollRange();
    int labelWidth() const;
    int freeMargin() const;
    QRect placementRect(const DayLayout::Placement &p) const;
    // The entries covering a row, left to right.
    QVector<int> entriesInRow(int row) const;
    void moveToRow(int row);
    void moveAcross(int step);
    void beginEdit(int index, int row, const QString &text, bool selectAll);
    void cancelEdit();
    void hideEditor();
    void placeEditor();
    void requestDelete();

    QLabel *m_caption;
    QLineEdit *m_editor;
    QVector<DayEntry> m_entries;
    mutable QVector<DayLayout::Placement> m_placements;
    mutable bool m_layoutDirty = false;
    bool m_layoutQueued = false;
    bool m_scrollPending = true;
    int m_selected = -1;
    int m_currentRow = DayLayout::DefaultFirstRow;

    bool m_editing = false;
    int m_editIndex = -1; // -1: a new entry
    int m_editRow = 0;
    bool m_forwardingKey = false;
};
