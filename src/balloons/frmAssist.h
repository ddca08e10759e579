#pragma once
// The assistant: a small frameless tool window with an animated figure,
// which never takes the focus. It opens out of the notification area beside
// the message balloon and closes back into it (by the balloon's button or
// its own small close button), remembering where the user dragged it. Until
// it is closed it stays above the program's other windows, so that a click
// in them never buries it and its close button.
#include "platform/Form.h"

#include <QPixmap>

class QLabel;
class QTimer;

class frmAssist : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmAssist)
public:
    frmAssist();

    // The balloon reports the button pressed; nothing is done with it.
    void MsgResults(int buttonIndex);

    QLabel *imgPic() const { return m_imgPic; }
    QLabel *Image1(int index) const; // the assistant's frames: 0 eyes closed, 1 and 2 resting
    QTimer *Timer1() const { return m_timer1; } // the blink, every 1.8 s

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void Timer1_Timer();

private:
    QLabel *m_imgPic = nullptr;
    QLabel *m_image1[3] = {nullptr, nullptr, nullptr};
    QTimer *m_timer1 = nullptr;
    QPoint m_dragFrom;
};
