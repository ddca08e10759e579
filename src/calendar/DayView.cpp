#include "DayView.h"

#include "platform/Controls.h"

#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

using DayLayout::RowCount;

namespace {

QColor defaultColour() { return QColor(255, 248, 196); }

QColor textColourOn(const QColor &background)
{
    return background.lightness() < 140 ? QColor(Qt::white) : QColor(Qt::black);
}

QString spanText(const DayEntry &e)
{
    return DateText::hmmAmPm(e.start) + QStringLiteral(" - ") + DateText::hmmAmPm(e.end);
}

} // namespace

DayView::DayView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setMouseTracking(false);

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_caption->setAutoFillBackground(true);
    m_caption->setBackgroundRole(QPalette::Button);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);

    m_editor = new QLineEdit(viewport());
    m_editor->setObjectName(QStringLiteral("editor"));
    m_editor->hide();
    m_editor->installEventFilter(this);

    setViewportMargins(0, m_caption->sizeHint().height(), 0, 0);
    updateScrollRange();
    entriesChanged(); // an empty day, scrolled to 8:00 AM
}

QSize DayView::sizeHint() const { return QSize(labelWidth() + 240, rowHeight() * 16 + m_caption->sizeHint().height()); }

void DayView::setCaption(const QString &caption) { m_caption->setText(caption); }
QString DayView::caption() const { return m_caption->text(); }

void DayView::setMaxTextLength(int length) { limitCharacters(m_editor, length); }

// ------------------------------------------------------------------ entries

void DayView::removeAll()
{
    if (m_editing)
        cancelEdit();
    m_entries.clear();
    m_selected = -1;
    m_scrollPending = true;
    entriesChanged();
}

int DayView::add(const QTime &start, const QTime &end, const QString &text, const QColor &colour)
{
    m_entries.push_back(DayEntry{start, end, text, colour, false});
    entriesChanged();
    return count() - 1;
}

const DayEntry &DayView::entry(int index) const
{
    if (index < 0 || index >= count())
        throw RuntimeError(9, QStringLiteral("Subscript out of range: the day view has no entry %1.").arg(index));
    return m_entries[index];
}

void DayView::setTyped(int index, bool typed)
{
    if (index >= 0 && index < count())
        m_entries[index].typed = typed;
}

void DayView::setSelectedIndex(int index)
{
    if (index < -1 || index >= count())
        index = -1;
    m_selected = index;
    if (index >= 0) {
        ensureLaidOut();
        m_currentRow = m_placements[index].firstRow;
    }
    viewport()->update();
}

void DayView::Repaint() { viewport()->update(); }

void DayView::entriesChanged()
{
    m_layoutDirty = true;
    if (!m_layoutQueued) {
        // Entries usually come many at a time: they are placed once, after
        // the last of them.
        m_layoutQueued = true;
        QMetaObject::invokeMethod(this, &DayView::layoutNow, Qt::QueuedConnection);
    }
    viewport()->update();
}

void DayView::ensureLaidOut() const
{
    if (!m_layoutDirty)
        return;
    m_placements = DayLayout::place(m_entries);
    m_layoutDirty = false;
}

void DayView::layoutNow()
{
    m_layoutQueued = false;
    ensureLaidOut();
    if (m_scrollPending) {
        m_scrollPending = false;
        scrollToRow(DayLayout::firstRowToShow(m_placements));
    }
    if (m_editing)
        placeEditor();
}

// ------------------------------------------------------------------ geometry

int DayView::rowHeight() const { return fontMetrics().height() + 8; }

int DayView::labelWidth() const { return fontMetrics().horizontalAdvance(QStringLiteral("12:30 PM")) + 14; }

int DayView::freeMargin() const { return 24; }

void DayView::updateScrollRange()
{
    const int rh = rowHeight();
    verticalScrollBar()->setRange(0, std::max(0, RowCount * rh - viewport()->height()));
    verticalScrollBar()->setPageStep(std::max(rh, viewport()->height()));
    verticalScrollBar()->setSingleStep(rh);
}

void DayView::scrollToRow(int row)
{
    verticalScrollBar()->setValue(std::clamp(row, 0, RowCount - 1) * rowHeight());
}

int DayView::topRow() const { return verticalScrollBar()->value() / rowHeight(); }

QRect DayView::rowRect(int row) const
{
    const int rh = rowHeight();
    return QRect(0, row * rh - verticalScrollBar()->value(), viewport()->width(), rh);
}

QRect DayView::placementRect(const DayLayout::Placement &p) const
{
    const int rh = rowHeight();
    const int x0 = labelWidth();
    const int area = std::max(40, viewport()->width() - x0 - freeMargin());
    // The columns share the area, however many there are, so that every
    // entry stays in sight and within reach of the mouse.
    const int columns = std::max(1, p.columns);
    const int left = x0 + p.column * area / columns;
    const int right = x0 + (p.column + 1) * area / columns;
    const int gap = right - left > 6 ? 1 : 0;
    const int y = p.firstRow * rh - verticalScrollBar()->value();
    return QRect(left + gap, y + 1, std::max(1, right - left - 2 * gap), (p.lastRow - p.firstRow + 1) * rh - 2);
}

QRect DayView::entryRect(int index) const
{
    if (index < 0 || index >= count())
        return QRect();
    ensureLaidOut();
    return placementRect(m_placements[index]);
}

QPoint DayView::freePoint(int row) const
{
    return QPoint(viewport()->width() - freeMargin() / 2, rowRect(row).center().y());
}

int DayView::rowAt(const QPoint &pos) const
{
    return std::clamp((pos.y() + verticalScrollBar()->value()) / rowHeight(), 0, RowCount - 1);
}

int DayView::entryAt(const QPoint &pos) const
{
    ensureLaidOut();
    // Later entries are drawn over earlier ones.
    for (int i = count() - 1; i >= 0; --i)
        if (placementRect(m_placements[i]).contains(pos))
            return i;
    return -1;
}

QVector<int> DayView::entriesInRow(int row) const
{
    ensureLaidOut();
    QVector<int> out;
    for (int i = 0; i < count(); ++i)
        if (m_placements[i].firstRow <= row && row <= m_placements[i].lastRow)
            out.push_back(i);
    std::stable_sort(out.begin(), out.end(), [this](int a, int b) { return m_placements[a].column < m_placements[b].column; });
    return out;
}

// ------------------------------------------------------------------ painting

void DayView::paintEvent(QPaintEvent *event)
{
    ensureLaidOut();
    QPainter p(viewport());
    const QRect exposed = event->rect();
    const int rh = rowHeight();
    const int offset = verticalScrollBar()->value();
    const int lw = labelWidth();
    const int width = viewport()->width();
    const QPalette pal = palette();

    const int firstRow = std::clamp((exposed.top() + offset) / rh, 0, RowCount - 1);
    const int lastRow = std::clamp((exposed.bottom() + offset) / rh, 0, RowCount - 1);
    QFont labelFont = font();
    QFont hourFont = font();
    hourFont.setBold(true);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int y = row * rh - offset;
        p.fillRect(QRect(0, y, lw, rh), pal.window());
        const bool hour = row % 2 == 0;
        const QTime t = DayLayout::rowStart(row);
        p.setFont(hour ? hourFont : labelFont);
        p.setPen(hour ? pal.windowText().color() : pal.placeholderText().color());
        const QString label = hour ? DateText::hmmAmPm(t) : DateText::hmmAmPm(t).section(QLatin1Char(' '), 0, 0);
        p.drawText(QRect(0, y, lw - 6, rh), Qt::AlignRight | Qt::AlignVCenter, label);
        p.setPen(pal.mid().color());
        p.drawLine(hour ? 0 : lw, y, width, y);
    }
    p.setPen(pal.mid().color());
    p.drawLine(lw, exposed.top(), lw, exposed.bottom());

    // The half hour the keyboard is on, when no entry is selected.
    if (m_selected < 0 && hasFocus() && !m_editing) {
        const QRect r = rowRect(m_currentRow).adjusted(lw + 1, 1, -1, -1);
        p.setPen(QPen(pal.highlight().color(), 1, Qt::DashLine));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }

    p.setFont(font());
    const QFontMetrics fm = fontMetrics();
    for (int i = 0; i < count(); ++i) {
        const QRect r = placementRect(m_placements[i]);
        if (!r.intersects(exposed))
            continue;
        const DayEntry &e = m_entries[i];
        const QColor fill = e.colour.isValid() ? e.colour : defaultColour();
        p.fillRect(r, fill);
        const bool selected = i == m_selected;
        p.setPen(QPen(selected ? pal.highlight().color() : fill.darker(160), selected ? 2 : 1));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (selected)
            p.drawRect(r.adjusted(1, 1, -2, -2));
        if (m_editing && m_editIndex == i)
            continue;
        const QRect textRect = r.adjusted(5, 2, -4, -2);
        p.setPen(textColourOn(fill));
        if (textRect.height() < 2 * fm.height())
            p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, fm.elidedText(e.text, Qt::ElideRight, textRect.width()));
        else {
            p.save();
            p.setClipRect(textRect);
            p.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, e.text);
            p.restore();
        }
    }
}

void DayView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QRect c = contentsRect();
    m_caption->setGeometry(c.left(), c.top(), c.width(), m_caption->sizeHint().height());
    updateScrollRange();
    if (m_editing)
        placeEditor();
}

void DayView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        setViewportMargins(0, m_caption->sizeHint().height(), 0, 0);
        updateScrollRange();
    }
}

void DayView::scrollContentsBy(int, int)
{
    viewport()->update();
    if (m_editing)
        placeEditor();
}

bool DayView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int i = entryAt(help->pos());
        if (i >= 0)
            QToolTip::showText(help->globalPos(), spanText(m_entries[i]) + QLatin1Char('\n') + m_entries[i].text, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

// ------------------------------------------------------------------ mouse and keys

void DayView::mousePressEvent(QMouseEvent *event)
{
    // A click beside the editor ends the edit, as leaving it does.
    if (m_editing)
        endEdit();
    const QPoint pos = event->position().toPoint();
    m_currentRow = rowAt(pos);
    m_selected = entryAt(pos);
    setFocus(Qt::MouseFocusReason);
    viewport()->update();
}

void DayView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const int row = rowAt(pos);
    const int index = entryAt(pos);
    if (index >= 0)
        beginEdit(index, m_placements[index].firstRow, m_entries[index].text, true);
    else
        beginEdit(-1, row, QString(), false);
}

void DayView::moveToRow(int row)
{
    m_currentRow = std::clamp(row, 0, RowCount - 1);
    const QVector<int> here = entriesInRow(m_currentRow);
    m_selected = here.isEmpty() ? -1 : here.first();
    const int top = topRow();
    const int visible = std::max(1, viewport()->height() / rowHeight());
    if (m_currentRow < top)
        scrollToRow(m_currentRow);
    else if (m_currentRow >= top + visible)
        scrollToRow(m_currentRow - visible + 1);
    viewport()->update();
}

void DayView::moveAcross(int step)
{
    // The entries of the half hour, then its free space.
    const QVector<int> here = entriesInRow(m_currentRow);
    const int free = static_cast<int>(here.size());
    int at = here.indexOf(m_selected);
    if (at < 0)
        at = free;
    at = std::clamp(at + step, 0, free);
    m_selected = at < free ? here[at] : -1;
    viewport()->update();
}

void DayView::keyPressEvent(QKeyEvent *event)
{
    if (m_editing) {
        // Keys that reach the view while an edit is open belong to the
        // editor; a key the editor leaves (Shift, F5) comes back here and
        // passes on to the view's parents, not to the editor once more.
        if (m_forwardingKey) {
            event->ignore();
            return;
        }
        m_forwardingKey = true;
        QCoreApplication::sendEvent(m_editor, event);
        m_forwardingKey = false;
        event->accept();
        return;
    }
    const int visible = std::max(1, viewport()->height() / rowHeight());
    switch (event->key()) {
    case Qt::Key_Up: moveToRow(m_currentRow - 1); return;
    case Qt::Key_Down: moveToRow(m_currentRow + 1); return;
    case Qt::Key_PageUp: moveToRow(m_currentRow - visible); return;
    case Qt::Key_PageDown: moveToRow(m_currentRow + visible); return;
    case Qt::Key_Home: moveToRow(0); return;
    case Qt::Key_End: moveToRow(RowCount - 1); return;
    case Qt::Key_Left: moveAcross(-1); return;
    case Qt::Key_Right: moveAcross(1); return;
    case Qt::Key_Delete: requestDelete(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (m_selected >= 0)
            beginEdit(m_selected, m_currentRow, m_entries[m_selected].text, true);
        else
            beginEdit(-1, m_currentRow, QString(), false);
        return;
    default: break;
    }
    const QString typed = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!command && !typed.isEmpty() && typed.at(0).isPrint()) {
        if (m_selected >= 0)
            beginEdit(m_selected, m_currentRow, m_entries[m_selected].text + typed, false);
        else
            beginEdit(-1, m_currentRow, typed, false);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

// ------------------------------------------------------------------ editing

void DayView::beginEdit(int index, int row, const QString &text, bool selectAll)
{
    if (m_editing)
        endEdit();
    if (index >= count())
        return;
    m_editing = true;
    m_editIndex = index;
    m_editRow = std::clamp(row, 0, RowCount - 1);
    m_selected = index;
    m_currentRow = m_editRow;
    m_editor->setText(text);
    if (selectAll)
        m_editor->selectAll();
    else
        m_editor->end(false);
    placeEditor();
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void DayView::placeEditor()
{
    ensureLaidOut();
    const int rh = rowHeight();
    QRect r;
    if (m_editIndex >= 0 && m_editIndex < count())
        r = placementRect(m_placements[m_editIndex]);
    else
        r = rowRect(m_editRow).adjusted(labelWidth() + 1, 0, 0, 0);
    r.setHeight(std::min(std::max(r.height(), rh - 2), rh));
    // An entry among many side by side is narrow: its text is edited in a
    // box wide enough to read.
    const int readable = std::min(fontMetrics().averageCharWidth() * 24, viewport()->width() - labelWidth());
    if (r.width() < readable) {
        r.setWidth(readable);
        if (r.right() >= viewport()->width())
            r.moveRight(viewport()->width() - 1);
    }
    m_editor->setGeometry(r);
}

void DayView::endEdit()
{
    if (!m_editing)
        return;
    m_editing = false;
    const QString text = m_editor->text();
    hideEditor();
    int index = m_editIndex;
    if (index < 0) {
        if (text.isEmpty()) {
            viewport()->update();
            return;
        }
        const QTime start = DayLayout::rowStart(m_editRow);
        m_entries.push_back(DayEntry{start, start.addSecs(DayLayout::SlotMinutes * 60), text, QColor(), true});
        index = count() - 1;
        entriesChanged();
    } else {
        if (index >= count())
            return;
        DayEntry &e = m_entries[index];
        if (e.text != text) {
            e.text = text;
            e.typed = true;
        }
    }
    m_selected = index;
    viewport()->update();
    const DayEntry e = m_entries[index];
    Q_EMIT CloseEdit(index, e.start, e.end, e.text);
}

void DayView::cancelEdit()
{
    if (!m_editing)
        return;
    m_editing = false;
    hideEditor();
    viewport()->update();
}

void DayView::hideEditor()
{
    // The focus comes back to the view before the editor goes: a focused
    // editor that is hidden would hand it on to the window's next control.
    if (m_editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_editor->hide();
}

bool DayView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                endEdit();
                return true;
            }
            if (key == Qt::Key_Escape) {
                cancelEdit();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                endEdit();
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// ------------------------------------------------------------------ deleting

void DayView::requestDelete()
{
    if (m_selected < 0 || m_selected >= count())
        return;
    const int index = m_selected;
    const DayEntry chosen = m_entries[index];
    bool cancel = false;
    bool prompt = true;
    Q_EMIT DeleteTask(&cancel, &prompt);
    if (cancel)
        return;
    if (prompt
        && MessageBox::show(QStringLiteral("Delete \"%1\" (%2)?").arg(chosen.text, spanText(chosen)), MessageBox::YesNo,
                            MessageBox::Question, QStringLiteral("Delete entry"))
            != MessageBox::Yes)
        return;
    // The handler may have changed the entries: remove the one chosen.
    auto same = [&](const DayEntry &e) { return e.start == chosen.start && e.end == chosen.end && e.text == chosen.text; };
    int at = index < count() && same(m_entries[index]) ? index : -1;
    for (int i = 0; at < 0 && i < count(); ++i)
        if (same(m_entries[i]))
            at = i;
    if (at < 0)
        return;
    m_entries.removeAt(at);
    m_selected = -1;
    entriesChanged();
}
