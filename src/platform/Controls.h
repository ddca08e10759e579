#pragma once
// Small controls the windows share: a label that answers clicks, a date box
// whose text is read and written like a text box, a framed status panel, and
// a length limit for text boxes.
#include <QCalendarWidget>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

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

// A named label whose text wraps.
QLabel *wrappedLabel(QWidget *parent, const char *name, const QString &text);

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
// day as "M/d/yyyy". Its text is what the program reads.
class DateCombo : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)
public:
    explicit DateCombo(QWidget *parent = nullptr);
    QString text() const;
    void setText(const QString &text);
    QLineEdit *lineEdit() const { return m_edit; }

Q_SIGNALS:
    void textChanged(const QString &text);

private:
    void dropDown();
    QLineEdit *m_edit;
    QToolButton *m_button;
};

// A sunken panel with a one-line caption (status panels, bands). A panel
// that holds controls in a layout is as big as they need.
class Panel : public QLabel
{
    Q_OBJECT
public:
    explicit Panel(QWidget *parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};
