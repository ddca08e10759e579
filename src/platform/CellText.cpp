#include "CellText.h"

#include <QApplication>
#include <QCache>
#include <QPainter>
#include <QGlyphRun>
#include <QTextLayout>

#include <memory>

namespace {

// The style the cells are drawn as here; others draw their own.
bool drawnHere(const QStyle *style) { return style && style->name() == QLatin1String("fusion"); }

// Lays the text out in lines of the width, as the style does; the size used.
// With a height, the lines stop at the last one that fits, which is told.
QSizeF layLines(QTextLayout &textLayout, int lineWidth, int maxHeight = -1, int *lastVisibleLine = nullptr)
{
    if (lastVisibleLine)
        *lastVisibleLine = -1;
    qreal height = 0;
    qreal widthUsed = 0;
    textLayout.beginLayout();
    int i = 0;
    while (true) {
        QTextLine line = textLayout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0, height));
        height += line.height();
        widthUsed = qMax(widthUsed, line.naturalTextWidth());
        if (maxHeight > 0 && lastVisibleLine && height + line.height() > maxHeight) {
            const QTextLine nextLine = textLayout.createLine();
            *lastVisibleLine = nextLine.isValid() ? i : -1;
            break;
        }
        ++i;
    }
    textLayout.endLayout();
    return QSizeF(widthUsed, height);
}

// The text as the style draws it in the rectangle: the lines seen, the last
// one seen cut short with an ellipsis where more follows, each longer one
// too; and where the first of them stands. `textLayout` holds the text laid
// out; it can be drawn as it is when the text seen is the whole text.
QString seenText(QTextLayout &textLayout, const QRect &textRect, Qt::Alignment alignment, Qt::TextElideMode elideMode,
                 QPointF *start, bool *whole)
{
    const QFont font = textLayout.font();
    const bool fromTheTop = alignment.testFlag(Qt::AlignVCenter);
    int lastVisibleLine = -1;
    layLines(textLayout, textRect.width(), fromTheTop ? textRect.height() : -1, &lastVisibleLine);
    const QRect layoutRect =
        QStyle::alignedRect(Qt::LayoutDirectionAuto, alignment, textLayout.boundingRect().size().toSize(), textRect);
    *start = QPointF(textRect.x(), layoutRect.top());
    *whole = lastVisibleLine < 0;
    QString seen;
    qreal height = 0;
    const int lineCount = textLayout.lineCount();
    for (int i = 0; i < lineCount; ++i) {
        const QTextLine line = textLayout.lineAt(i);
        height += line.height();
        if (height + layoutRect.top() <= textRect.top()) {
            start->ry() += line.height();
            *whole = false;
            continue;
        }
        const bool drawElided = line.naturalTextWidth() > textRect.width();
        bool elideLastVisibleLine = lastVisibleLine == i;
        if (!drawElided && i + 1 < lineCount) {
            const QTextLine nextLine = textLayout.lineAt(i + 1);
            const int nextHeight = int(height + nextLine.height() / 2);
            if (nextHeight + layoutRect.top() > textRect.height() + textRect.top())
                elideLastVisibleLine = true;
        }
        QString lineText = textLayout.text().mid(line.textStart(), line.textLength());
        if (drawElided || elideLastVisibleLine) {
            *whole = false;
            if (elideLastVisibleLine) {
                if (lineText.endsWith(QChar::LineSeparator))
                    lineText.chop(1);
                lineText += QChar(0x2026);
            }
            seen += QFontMetrics(font).elidedText(lineText, elideMode, textRect.width(), 0);
            if (i < lineCount - 1 && !seen.endsWith(QChar::LineSeparator))
                seen += QChar::LineSeparator;
        } else {
            seen += lineText;
        }
        if ((height + layoutRect.top() >= textRect.bottom()) || (lastVisibleLine >= 0 && lastVisibleLine == i)) {
            *whole = *whole && i == lineCount - 1;
            break;
        }
    }
    return seen;
}

struct LaidOut {
    QList<QGlyphRun> glyphs; // shaped, as the lines are drawn
    QPointF start;           // from the text rectangle's corner
};

// The texts laid out lately, by what decides their lines; a few megabytes.
QCache<QString, LaidOut> &laidOut()
{
    static QCache<QString, LaidOut> texts(4 << 20);
    return texts;
}

int textMargin(const QStyleOptionViewItem &opt, const QStyle *style)
{
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
}

const LaidOut &layOut(const QStyleOptionViewItem &opt, const QRect &rect, const QStyle *style)
{
    const int margin = textMargin(opt, style);
    const QRect textRect = rect.adjusted(margin, 0, -margin, 0);
    const bool wrap = opt.features & QStyleOptionViewItem::WrapText;
    const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6 ")
                            .arg(textRect.width())
                            .arg(textRect.height())
                            .arg(int(opt.displayAlignment))
                            .arg(int(opt.direction))
                            .arg(int(opt.textElideMode))
                            .arg(wrap ? 1 : 0)
        + opt.font.key() + QChar(0) + opt.text;
    if (const LaidOut *known = laidOut().object(key))
        return *known;
    auto *made = new LaidOut;
    QTextOption textOption;
    textOption.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::ManualWrap);
    textOption.setTextDirection(opt.direction);
    textOption.setAlignment(QStyle::visualAlignment(opt.direction, opt.displayAlignment));
    QTextLayout layout(opt.text, opt.font);
    layout.setTextOption(textOption);
    QPointF start;
    bool whole = false;
    const QString seen = seenText(layout, textRect, opt.displayAlignment, opt.textElideMode, &start, &whole);
    if (whole && seen == opt.text) {
        made->glyphs = layout.glyphRuns();
    } else {
        QTextLayout shown(seen, opt.font);
        shown.setTextOption(textOption);
        layLines(shown, textRect.width());
        made->glyphs = shown.glyphRuns();
    }
    made->start = start - QPointF(textRect.topLeft());
    const qsizetype cost = 512 + 64 * opt.text.size();
    if (cost > laidOut().maxCost()) {
        // Too long a text to keep: laid out for this drawing only.
        static std::unique_ptr<LaidOut> once;
        once.reset(made);
        return *once;
    }
    laidOut().insert(key, made, cost);
    return *made;
}

} // namespace

void CellTextDelegate::paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget *widget = opt.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    if (!drawnHere(style) || (opt.state & QStyle::State_Editing)) {
        QStyledItemDelegate::paint(p, option, index);
        return;
    }
    // The style's own steps for an item, the text drawn from its lines.
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const LaidOut *text = opt.text.isEmpty() ? nullptr : &layOut(opt, textRect, style);
    p->save();
    p->setClipRegion(p->hasClipping() ? (p->clipRegion() & opt.rect) : QRegion(opt.rect));
    const QRect checkRect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
    const QRect iconRect = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, widget);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, p, widget);
    if (opt.features & QStyleOptionViewItem::HasCheckIndicator) {
        QStyleOptionViewItem check(opt);
        check.rect = checkRect;
        check.state = check.state & ~QStyle::State_HasFocus;
        switch (opt.checkState) {
        case Qt::Unchecked: check.state |= QStyle::State_Off; break;
        case Qt::PartiallyChecked: check.state |= QStyle::State_NoChange; break;
        case Qt::Checked: check.state |= QStyle::State_On; break;
        }
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, p, widget);
    }
    QIcon::Mode mode = QIcon::Normal;
    if (!(opt.state & QStyle::State_Enabled))
        mode = QIcon::Disabled;
    else if (opt.state & QStyle::State_Selected)
        mode = QIcon::Selected;
    opt.icon.paint(p, iconRect, opt.decorationAlignment, mode, opt.state & QStyle::State_Open ? QIcon::On : QIcon::Off);
    if (text) {
        QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
            group = QPalette::Inactive;
        p->setPen(opt.palette.color(group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        p->setFont(opt.font);
        const int margin = textMargin(opt, style);
        const QPointF corner = textRect.adjusted(margin, 0, -margin, 0).topLeft();
        for (const QGlyphRun &run : text->glyphs)
            p->drawGlyphRun(corner + text->start, run);
    }
    if (opt.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(opt);
        focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &opt, widget);
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.state |= QStyle::State_Item;
        const QPalette::ColorGroup group = (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        focus.backgroundColor = opt.palette.color(group, (opt.state & QStyle::State_Selected) ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, widget);
    }
    p->restore();
}
