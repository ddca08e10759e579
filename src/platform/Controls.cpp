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
#include <QMouseEvent>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

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
void DateCombo::setText(const QString &text) { m_edit->setText(text); }

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

Panel::Panel(QWidget *parent) : QLabel(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMargin(2);
}

QSize Panel::sizeHint() const { return layout() ? QWidget::sizeHint() : QLabel::sizeHint(); }

QSize Panel::minimumSizeHint() const { return layout() ? QWidget::minimumSizeHint() : QLabel::minimumSizeHint(); }

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

QLabel *wrappedLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *l = named<QLabel>(parent, name);
    l->setText(text);
    l->setWordWrap(true);
    return l;
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
