#pragma once
// The message balloon: a borderless window with rounded corners showing an
// icon, one message and a row of drawn buttons. It never takes the focus.
// Pressing a button hides it and closes the assistant window; a click
// anywhere else in the program, or the program losing the activation to
// another, only hides it.
#include "platform/Form.h"

#include <QRegion>
#include <QStringList>
#include <QVector>

class PictureBox;
class QLabel;

class MsgForm : public Form
{
    Q_OBJECT
    TARVELA_FORM(MsgForm)
public:
    MsgForm();

    // The balloon colour (a colour value; 0x800000nn is a system colour).
    void A_SetBackColor(quint32 colour);
    // Readies every button: balloon colour, the message's text colour and
    // font name, drawn raised with its caption.
    void A_Initialize();
    void A_MsgText(const QString &text);
    // Draws the standard icon with that identifier into the icon box.
    void A_SystemIcon(int iconId);
    // Index 0: the captions become just this one (button 0 is always there,
    // further buttons go away). Any other index: one more button to the
    // right of the last one, with this caption.
    void A_AddButton(int index, const QString &caption);

    QLabel *msgText() const { return m_msgText; }
    PictureBox *picIcon() const { return m_picIcon; }
    int buttonCount() const { return static_cast<int>(m_picOptions.size()); }
    PictureBox *picOptions(int index) const;
    const QStringList &buttonCaptions() const { return mButtonCaptions; }
    quint32 backColorValue() const { return mBackColor; }

protected:
    void Form_Load() override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void picOptions_MouseDown(int index);
    void picOptions_MouseUp(int index);
    PictureBox *newButton(int index, int leftTwips, int topTwips, int widthTwips, int heightTwips);
    void applyBackColor();
    QString captionOf(int index) const;

    PictureBox *m_picIcon = nullptr;
    QLabel *m_msgText = nullptr;
    QVector<PictureBox *> m_picOptions;
    QStringList mButtonCaptions;
    quint32 mBackColor = 0;
    // Shown by the press of a click still under way (one that gave a control
    // the focus): that click does not take the balloon away.
    bool m_shownDuringClick = false;
};

// The balloon's outline: a rectangle of the given pixel size whose corners
// are rounded with ellipses of the given width and height.
QRegion RoundRectRegion(int width, int height, int ellipseWidth, int ellipseHeight);
