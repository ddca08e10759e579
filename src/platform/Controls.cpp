#include "Controls.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <QItemSelectionModel>
#include <QTreeView>
#include <QTreeWidget>

#include "DateText.h"
#include "TextCodec.h"

#include <QHBoxLayout>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QTextLayout>
#include <QToolButton>
#include <QToolTip>
#include <QValidator>
#include <QVBoxLayout>

#include <cmath>

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLabel::mouseDoubleClickEvent(event);
    Q_EMIT doubleClicked();
}

DateCombo::DateCombo(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("edit"));
    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("dropDown"));
    m_button->setArrowType(Qt::DownArrow);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this, &DateCombo::textChanged);
    connect(m_button, &QToolButton::clicked, this, &DateCombo::dropDown);
}

QString DateCombo::text() const { return m_edit->text(); }
void DateCombo::setText(const QString &text)
{
    if (m_twoDigit) {
        const QVariant date = DateText::parse(text);
        if (date.typeId() == QMetaType::QDate) {
            m_edit->setText(DateText::mmddyyyy(date.toDate()));
            return;
        }
    }
    m_edit->setText(text);
}

void DateCombo::dropDown()
{
    auto *popup = new QCalendarWidget(nullptr);
    popup->setWindowFlags(Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    if (auto d = DateText::parseDate(text()))
        popup->setSelectedDate(*d);
    connect(popup, &QCalendarWidget::clicked, this, [this, popup](QDate date) {
        setText(DateText::shortDate(date));
        popup->close();
    });
    popup->move(mapToGlobal(QPoint(0, height())));
    popup->show();
}

// ------------------------------------------------------------ wrapped label

namespace {
// The most a wrapped label asks for, in average characters: its minimum
// width, and the width it prefers for a long text.
constexpr int NarrowestChars = 20;
constexpr int WidestChars = 80;
// The least a one-line label asks for, in average characters.
constexpr int NarrowestLineChars = 10;

// The width a text takes on one line, rounded up: a line given this width
// holds it without breaking.
int widthOf(const QFontMetricsF &fm, const QString &text) { return int(std::ceil(fm.horizontalAdvance(text))) + 1; }

QString withLineSeparators(const QString &text, QChar separator)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QString(separator));
    s.replace(QLatin1Char('\r'), separator);
    s.replace(QLatin1Char('\n'), separator);
    return s;
}
} // namespace

WrappedLabel::WrappedLabel(QWidget *parent) : WrappedLabel(QString(), parent) {}

WrappedLabel::WrappedLabel(const QString &text, QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setText(text);
}

void WrappedLabel::setOneLine(bool oneLine)
{
    m_oneLine = oneLine;
    setWordWrap(!oneLine);
    updateGeometry();
    update();
}

QSize WrappedLabel::extra() const
{
    const QMargins m = contentsMargins();
    return QSize(m.left() + m.right() + 2 * margin(), m.top() + m.bottom() + 2 * margin());
}

QRect WrappedLabel::textRect(const QRect &contents) const
{
    QRect r = contents.adjusted(margin(), margin(), -margin(), -margin());
    int inset = indent();
    if (inset < 0)
        inset = frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    if (alignment() & Qt::AlignLeft)
        r.setLeft(r.left() + inset);
    else if (alignment() & Qt::AlignRight)
        r.setRight(r.right() - inset);
    return r;
}

QString WrappedLabel::lineText() const
{
    return withLineSeparators(text(), m_oneLine ? QChar(QLatin1Char(' ')) : QChar(QChar::LineSeparator));
}

qreal WrappedLabel::layOut(QTextLayout &layout, int textWidth) const
{
    layout.setText(lineText());
    layout.setFont(font());
    QTextOption option(alignment() & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(qMax(1, textWidth));
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

int WrappedLabel::wrappedHeight(int textWidth) const
{
    QTextLayout layout;
    return qMax(fontMetrics().height(), int(std::ceil(layOut(layout, textWidth))));
}

QString WrappedLabel::shownText() const
{
    if (!m_oneLine)
        return text();
    return fontMetrics().elidedText(lineText(), Qt::ElideRight, textRect(contentsRect()).width());
}

QSize WrappedLabel::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    const QFontMetricsF exact(font());
    int natural = 0;
    for (const QString &line : lineText().split(QChar::LineSeparator))
        natural = qMax(natural, widthOf(exact, line));
    const QSize more = extra();
    if (m_oneLine)
        return QSize(natural, fm.height()) + more;
    const int width = qMin(natural, fm.averageCharWidth() * WidestChars);
    return QSize(width + more.width(), wrappedHeight(width) + more.height());
}

QSize WrappedLabel::minimumSizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    const QSize more = extra();
    if (m_oneLine)
        return QSize(qMin(sizeHint().width() - more.width(), fm.averageCharWidth() * NarrowestLineChars), fm.height()) + more;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QFontMetricsF exact(font());
    int longestWord = 0;
    for (const QString &word : lineText().split(blanks, Qt::SkipEmptyParts))
        longestWord = qMax(longestWord, widthOf(exact, word));
    return QSize(qMin(longestWord, fm.averageCharWidth() * NarrowestChars), fm.height()) + more;
}

int WrappedLabel::heightForWidth(int width) const
{
    if (m_oneLine)
        return sizeHint().height();
    return wrappedHeight(width - extra().width()) + extra().height();
}

void WrappedLabel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event); // the frame
    QPainter painter(this);
    const QRect r = textRect(contentsRect());
    const QPalette::ColorGroup group = !isEnabled() ? QPalette::Disabled
                                                    : (isActiveWindow() ? QPalette::Active : QPalette::Inactive);
    painter.setPen(palette().color(group, foregroundRole()));
    if (m_oneLine) {
        style()->drawItemText(&painter, r, int(alignment()), palette(), isEnabled(), shownText(), foregroundRole());
        return;
    }
    QTextLayout layout;
    const qreal height = layOut(layout, r.width());
    qreal top = r.top();
    if (alignment() & Qt::AlignVCenter)
        top += qMax(0.0, (r.height() - height) / 2);
    else if (alignment() & Qt::AlignBottom)
        top += qMax(0.0, r.height() - height);
    painter.setClipRect(r);
    layout.draw(&painter, QPointF(r.left(), top));
}

bool WrappedLabel::event(QEvent *event)
{
    // A shortened line tells the whole text as its tooltip.
    if (event->type() == QEvent::ToolTip && m_oneLine && toolTip().isEmpty()) {
        const QString shown = shownText();
        if (!text().isEmpty() && shown != lineText())
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

WrappedLabel *wrappedLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *l = named<WrappedLabel>(parent, name);
    l->setText(text);
    return l;
}

// ------------------------------------------------------------------- panel

Panel::Panel(QWidget *parent) : WrappedLabel(parent)
{
    setOneLine(true);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMargin(2);
}

QSize Panel::sizeHint() const { return layout() ? QWidget::sizeHint() : WrappedLabel::sizeHint(); }

QSize Panel::minimumSizeHint() const { return layout() ? QWidget::minimumSizeHint() : WrappedLabel::minimumSizeHint(); }

namespace {
class CharacterLimit : public QValidator
{
public:
    CharacterLimit(int characters, QObject *parent) : QValidator(parent), m_characters(characters) {}
    State validate(QString &input, int &) const override
    {
        return TextCodec::characterCount(input) <= m_characters ? Acceptable : Invalid;
    }

private:
    int m_characters;
};
} // namespace

void limitCharacters(QLineEdit *box, int characters)
{
    box->setMaxLength(32767);
    box->setValidator(characters > 0 ? new CharacterLimit(characters, box) : nullptr);
}

namespace {

// Handles a window's activation on an item view's viewport as any widget
// does (its children are told), without the view's own drawing again.
class SameLookOnActivation : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::WindowActivate && event->type() != QEvent::WindowDeactivate)
            return false;
        auto *viewport = static_cast<QWidget *>(watched);
        if (!viewport->palette().isEqual(QPalette::Active, QPalette::Inactive))
            return false;
        for (QObject *child : viewport->children()) {
            auto *w = qobject_cast<QWidget *>(child);
            if (w && w->isVisible() && !w->isWindow())
                QCoreApplication::sendEvent(w, event);
        }
        return true;
    }
};

} // namespace

void keepCellsOnActivation(QAbstractItemView *view)
{
    QList<QAbstractItemView *> views{view};
    if (auto *table = qobject_cast<QTableView *>(view))
        views << table->horizontalHeader() << table->verticalHeader();
    if (auto *tree = qobject_cast<QTreeView *>(view))
        views << tree->header();
    for (QAbstractItemView *v : std::as_const(views))
        if (v && v->viewport())
            v->viewport()->installEventFilter(new SameLookOnActivation(v));
}

namespace {

bool sameNodes(const QList<QTreeWidgetItem *> &a, const QList<QTreeWidgetItem *> &b, const QList<int> &roles)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QTreeWidgetItem *x = a.at(i), *y = b.at(i);
        if (x->text(0) != y->text(0) || x->childCount() != y->childCount())
            return false;
        for (const int role : roles)
            if (x->data(0, role) != y->data(0, role))
                return false;
        QList<QTreeWidgetItem *> xs, ys;
        for (int c = 0; c < x->childCount(); ++c) {
            xs << x->child(c);
            ys << y->child(c);
        }
        if (!sameNodes(xs, ys, roles))
            return false;
    }
    return true;
}

} // namespace

void putRebuiltNodes(QTreeWidget *tree, const QList<QTreeWidgetItem *> &made, const QList<int> &roles)
{
    QList<QTreeWidgetItem *> shown;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        shown << tree->topLevelItem(i);
    if (shown.isEmpty() || !sameNodes(shown, made, roles)) {
        tree->clear();
        tree->addTopLevelItems(made);
        return;
    }
    qDeleteAll(made);
    tree->selectionModel()->clear();
}
