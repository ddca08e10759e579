#include "AddressBookControls.h"

#include "AddressBook.h"

#include <QKeyEvent>
#include <QPainter>

ContactPicture::ContactPicture(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setMinimumSize(80, 80);
}

void ContactPicture::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

QRect ContactPicture::pictureRect() const
{
    return m_picture.isNull() ? QRect() : AddressBook::fitInside(m_picture.size(), contentsRect());
}

void ContactPicture::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, m_picture);
}

NameList::NameList(QWidget *parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this, &NameList::Click);
}

void NameList::keyPressEvent(QKeyEvent *event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentItem())
        Q_EMIT Click();
}
