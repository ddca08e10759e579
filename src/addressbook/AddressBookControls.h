#pragma once
// The address book's own controls: the picture box, which shows a picture
// as large as it fits with its proportions kept, and the name list, which
// reports a click on a name and a move through the names by the keyboard.
#include <QFrame>
#include <QImage>
#include <QListWidget>

class ContactPicture : public QFrame
{
    Q_OBJECT
public:
    explicit ContactPicture(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    void clear() { setPicture(QImage()); }
    // The picture as read (null when the box is empty).
    const QImage &picture() const { return m_picture; }
    // Where it is drawn in the box; empty when the box is empty.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};

class NameList : public QListWidget
{
    Q_OBJECT
public:
    explicit NameList(QWidget *parent = nullptr);

Q_SIGNALS:
    // A name was clicked, or the keyboard made another name the chosen one.
    void Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
