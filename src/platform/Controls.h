#pragma once
// Small controls the windows share: a label that answers clicks, a date box
// whose text is read and written like a text box, a framed status panel, and
// a length limit for text boxes.
#include <QCalendarWidget>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

class QTextLayout;
class QAbstractItemView;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// Keeps a text box to a number of characters counted as the database counts
// them (an emoji counts once; QLineEdit's own limit counts UTF-16 units).
void limitCharacters(QLineEdit *box, int characters);

// A new control of type T under `parent`, named `name` (its objectName).
template <class T> T *named(QWidget *parent, const char *name)
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A label for a text of any length (plain text). It wraps at blanks and
// breaks a word too long for its width, so that no text it is given widens
// its window: it asks for no more width than about twenty characters, or its
// longest word when that is shorter. Set to one line, it shortens a text that
// does not fit with "…" instead, and shows the whole text as its tooltip.
class WrappedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit WrappedLabel(QWidget *parent = nullptr);
    explicit WrappedLabel(const QString &text, QWidget *parent = nullptr);

    void setOneLine(bool oneLine);
    // One line: the text as it is drawn now (shortened with "…" when it
    // does not fit); wrapped: the text.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QRect textRect(const QRect &contents) const;
    QSize extra() const;
    QString lineText() const;
    // Lays the text out in lines of the width; returns their height.
    qreal layOut(QTextLayout &layout, int textWidth) const;
    int wrappedHeight(int textWidth) const;

    bool m_oneLine = false;
};

// A named wrapped label.
WrappedLabel *wrappedLabel(QWidget *parent, const char *name, const QString &text = QString());
// Keeps an item view (and its headers) from drawing every cell again each
// time its window becomes active or inactive, as long as the palette draws
// both states alike: then nothing it shows changes.
void keepCellsOnActivation(QAbstractItemView *view);

// Puts the top-level nodes of a rebuild into a tree, in place of those it
// shows. Where the tree shows nodes alike already (the same texts and the
// same values of `roles`, in the same order, their children too), it keeps
// its own and deletes the new ones, and only takes back the choice of a
// node, as a rebuild leaves it: nothing that looks the same is drawn again.
void putRebuiltNodes(QTreeWidget *tree, const QList<QTreeWidgetItem *> &made, const QList<int> &roles);

// A label (or picture) that reports clicks and double clicks.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// A date box: free text, with a drop-down calendar that writes the chosen
// day as "M/d/yyyy" (or "mm/dd/yyyy", see setTwoDigitDates). Its text is what
// the program reads.
class DateCombo : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)
public:
    explicit DateCombo(QWidget *parent = nullptr);
    QString text() const;
    void setText(const QString &text);
    QLineEdit *lineEdit() const { return m_edit; }
    // A date given to the box (a date alone, by the program or the
    // drop-down calendar) is shown as "mm/dd/yyyy"; typed text stays as typed.
    void setTwoDigitDates(bool on) { m_twoDigit = on; }

Q_SIGNALS:
    void textChanged(const QString &text);

private:
    void dropDown();
    QLineEdit *m_edit;
    QToolButton *m_button;
    bool m_twoDigit = false;
};

// A sunken panel with a one-line caption (status panels, bands): a caption
// too long for it is shortened with "…". A panel that holds controls in a
// layout is as big as they need.
class Panel : public WrappedLabel
{
    Q_OBJECT
public:
    explicit Panel(QWidget *parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};
