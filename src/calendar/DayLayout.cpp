#include "DayLayout.h"

#include <algorithm>
#include <numeric>

namespace DayLayout {

int minuteOf(const QTime &time)
{
    if (!time.isValid())
        return 0;
    return time.hour() * 60 + time.minute();
}

QTime rowStart(int row)
{
    row = std::clamp(row, 0, RowCount - 1);
    return QTime(row * SlotMinutes / 60, row * SlotMinutes % 60);
}

int rowOf(int minute) { return std::clamp(minute / SlotMinutes, 0, RowCount - 1); }

Rows rowsOf(const QTime &start, const QTime &end)
{
    const int from = minuteOf(start);
    int to = minuteOf(end);
    if (end.isValid() && end.second() > 0)
        ++to; // a part of a minute still needs its row
    if (to <= from)
        to = from + 1;
    return Rows{rowOf(from), rowOf(to - 1)};
}

QVector<Placement> place(const QVector<DayEntry> &entries)
{
    const int n = static_cast<int>(entries.size());
    QVector<Placement> out(n);
    for (int i = 0; i < n; ++i) {
        const Rows r = rowsOf(entries[i].start, entries[i].end);
        out[i].firstRow = r.first;
        out[i].lastRow = r.last;
    }
    QVector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (out[a].firstRow != out[b].firstRow)
            return out[a].firstRow < out[b].firstRow;
        return out[a].lastRow > out[b].lastRow;
    });

    // Sweep through the day: a group holds entries that share rows with one
    // another; within it each entry takes the leftmost column free at its
    // first row, and every entry of the group is drawn as wide as one of its
    // columns.
    QVector<int> group;
    QVector<int> columnLastRow;
    int groupEnd = -1;
    auto closeGroup = [&] {
        const int columns = std::max(1, static_cast<int>(columnLastRow.size()));
        for (int i : std::as_const(group))
            out[i].columns = columns;
        group.clear();
        columnLastRow.clear();
    };
    for (int i : std::as_const(order)) {
        Placement &p = out[i];
        if (p.firstRow > groupEnd && !group.isEmpty())
            closeGroup();
        int column = 0;
        while (column < columnLastRow.size() && columnLastRow[column] >= p.firstRow)
            ++column;
        if (column == columnLastRow.size())
            columnLastRow.push_back(p.lastRow);
        else
            columnLastRow[column] = p.lastRow;
        p.column = column;
        group.push_back(i);
        groupEnd = std::max(groupEnd, p.lastRow);
    }
    if (!group.isEmpty())
        closeGroup();
    return out;
}

int firstRowToShow(const QVector<Placement> &placements)
{
    if (placements.isEmpty())
        return DefaultFirstRow;
    int first = RowCount - 1;
    for (const Placement &p : placements)
        first = std::min(first, p.firstRow);
    return first;
}

} // namespace DayLayout
