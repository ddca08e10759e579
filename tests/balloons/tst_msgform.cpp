#include "TestEnv.h"

#include "balloons/MsgForm.h"
#include "balloons/PictureBox.h"
#include "balloons/frmAssist.h"
#include "balloons/rg.h"
#include "platform/Form.h"

#include <QApplication>
#include <QLabel>

namespace {
QRect inTwips(const QWidget *w)
{
    return QRect(w->x() * 15, w->y() * 15, w->width() * 15, w->height() * 15);
}

QList<PictureBox *> buttons(const MsgForm *m)
{
    QList<PictureBox *> list = m->findChildren<PictureBox *>("picOptions");
    std::sort(list.begin(), list.end(), [](PictureBox *a, PictureBox *b) {
        return a->property("Index").toInt() < b->property("Index").toInt();
    });
    return list;
}

// Pixels of the drawn caption: those in the text colour.
int pixelsOf(const QImage &img, const QColor &colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y).rgb() == colour.rgb())
                ++n;
    return n;
}

// A balloon filled the way the assistant fills it.
MsgForm *filledBalloon(const QString &text)
{
    MsgForm *m = MsgForm::instance();
    m->A_SetBackColor(SysColor::Highlight);
    QPalette pal = m->msgText()->palette();
    pal.setColor(QPalette::WindowText, ColorFromValue(SysColor::HighlightText));
    m->msgText()->setPalette(pal);
    m->A_SystemIcon(IconQuestion);
    m->A_AddButton(0, "Ok");
    m->A_MsgText(text);
    m->A_Initialize();
    return m;
}
} // namespace

// The balloon window on its own: shape, controls, buttons and their drawing.
class MsgFormTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void designedSizeAndControls()
    {
        MsgForm *m = MsgForm::instance();
        QCOMPARE(m->width() * 15, 4545);
        QCOMPARE(m->height() * 15, 2115);
        QVERIFY(m->windowFlags() & Qt::FramelessWindowHint);
        auto *icon = m->findChild<PictureBox *>("picIcon");
        auto *text = m->findChild<QLabel *>("msgText");
        QVERIFY(icon && text);
        QCOMPARE(inTwips(icon), QRect(75, 165, 555, 495));
        QCOMPARE(inTwips(text), QRect(675, 270, 3630, 1185));
        QCOMPARE(text->text(), QString("What can I do for you?"));
        QVERIFY(!icon->hasBorder());
        const auto b = buttons(m);
        QCOMPARE(b.size(), 1);
        QCOMPARE(inTwips(b[0]), QRect(150, 1665, 960, 300));
    }

    void roundedOutlineLeavesTheCornersOut()
    {
        MsgForm *m = MsgForm::instance();
        const QRegion mask = m->mask();
        const int w = m->width(), h = m->height();
        QVERIFY(!mask.isEmpty());
        for (const QPoint &corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1),
                                     QPoint(2, 2), QPoint(w - 3, h - 3)})
            QVERIFY2(!mask.contains(corner), qPrintable(QString("%1,%2").arg(corner.x()).arg(corner.y())));
        for (const QPoint &inside : {QPoint(w / 2, h / 2), QPoint(10, 0), QPoint(0, 10), QPoint(w - 11, h - 1),
                                     QPoint(w - 1, h / 2), QPoint(5, 5)})
            QVERIFY2(mask.contains(inside), qPrintable(QString("%1,%2").arg(inside.x()).arg(inside.y())));
        QCOMPARE(mask.boundingRect(), QRect(0, 0, w, h));
    }

    void threeButtonsSideBySide()
    {
        MsgForm *m = MsgForm::instance();
        m->A_AddButton(0, "Yes");
        m->A_AddButton(1, "No");
        m->A_AddButton(2, "Cancel");
        const auto b = buttons(m);
        QCOMPARE(b.size(), 3);
        QCOMPARE(b[0]->x() * 15, 150);
        QCOMPARE(b[1]->x() * 15, 1170);
        QCOMPARE(b[2]->x() * 15, 2190);
        for (PictureBox *box : b) {
            QCOMPARE(box->y() * 15, 1665);
            QCOMPARE(box->width() * 15, 960);
            QCOMPARE(box->height() * 15, 300);
        }
        QVERIFY(b[1]->isVisibleTo(m));
        QVERIFY(b[2]->isVisibleTo(m));
        QCOMPARE(m->buttonCaptions(), (QStringList{"Yes", "No", "Cancel"}));
    }

    void indexZeroStartsAFreshList()
    {
        MsgForm *m = MsgForm::instance();
        m->A_AddButton(0, "Yes");
        m->A_AddButton(1, "No");
        m->A_AddButton(0, "Ok");
        QCOMPARE(m->buttonCaptions(), QStringList{"Ok"});
        QCOMPARE(buttons(m).size(), 1);
        // Drawing every button finds a caption for each.
        m->A_Initialize();
        QCOMPARE(m->buttonCount(), 1);
    }

    void buttonsAreDrawnRaisedWithTheirCaption()
    {
        MsgForm *m = filledBalloon("Hello");
        PictureBox *ok = buttons(m).first();
        const QImage img = ok->image();
        const QPalette &pal = ok->palette();
        QCOMPARE(img.size(), QSize(64, 20));
        QVERIFY(!ok->hasBorder());
        QCOMPARE(ok->backColor(), ColorFromValue(SysColor::Highlight));
        QCOMPARE(ok->foreColor(), ColorFromValue(SysColor::HighlightText));
        QCOMPARE(ok->font().family(), m->msgText()->font().family());
        QCOMPARE(ok->font().pointSizeF(), 8.25);
        QVERIFY(!ok->font().bold());
        // The raised edge.
        QCOMPARE(img.pixelColor(0, 0).rgb(), pal.color(QPalette::Light).rgb());
        QCOMPARE(img.pixelColor(30, 0).rgb(), pal.color(QPalette::Light).rgb());
        QCOMPARE(img.pixelColor(0, 10).rgb(), pal.color(QPalette::Light).rgb());
        QCOMPARE(img.pixelColor(63, 19).rgb(), pal.color(QPalette::Dark).rgb());
        QCOMPARE(img.pixelColor(63, 10).rgb(), pal.color(QPalette::Dark).rgb());
        QCOMPARE(img.pixelColor(30, 19).rgb(), pal.color(QPalette::Dark).rgb());
        QCOMPARE(img.pixelColor(2, 2).rgb(), ColorFromValue(SysColor::Highlight).rgb());
        // A caption is printed about the middle: ink left and right of centre
        // in equal measure.
        QImage left = img.copy(1, 1, 31, 18), right = img.copy(32, 1, 31, 18);
        const QColor bg = ColorFromValue(SysColor::Highlight);
        const int inkLeft = 31 * 18 - pixelsOf(left, bg), inkRight = 31 * 18 - pixelsOf(right, bg);
        QVERIFY(inkLeft > 5);
        QVERIFY(inkRight > 5);
        QVERIFY2(qAbs(inkLeft - inkRight) < (inkLeft + inkRight) / 2, qPrintable(QString("%1 %2").arg(inkLeft).arg(inkRight)));
        QCOMPARE(pixelsOf(img.copy(1, 1, 8, 18), bg), 8 * 18); // nothing near the edge
    }

    void pressShowsTheSunkenEdge()
    {
        MsgForm *m = filledBalloon("Hello");
        m->Show();
        PictureBox *ok = buttons(m).first();
        const QPalette &pal = ok->palette();
        QTest::mousePress(ok, Qt::LeftButton, {}, QPoint(30, 10));
        QCOMPARE(ok->image().pixelColor(0, 0).rgb(), pal.color(QPalette::Dark).rgb());
        QCOMPARE(ok->image().pixelColor(63, 19).rgb(), pal.color(QPalette::Light).rgb());
        QVERIFY(m->isVisible());
        // Released far outside the button: still the button's choice.
        QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(500, 300));
        QCOMPARE(ok->image().pixelColor(0, 0).rgb(), pal.color(QPalette::Light).rgb());
        QVERIFY(!m->isVisible());
    }

    void rightButtonPressesToo()
    {
        MsgForm *m = filledBalloon("Hello");
        m->Show();
        PictureBox *ok = buttons(m).first();
        QTest::mousePress(ok, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(ok->image().pixelColor(0, 0).rgb(), ok->palette().color(QPalette::Dark).rgb());
        QTest::mouseRelease(ok, Qt::RightButton, {}, QPoint(5, 5));
        QVERIFY(!m->isVisible());
    }

    void theQuestionIconIsDrawn()
    {
        MsgForm *m = filledBalloon("Hello");
        const QImage img = m->picIcon()->image();
        const QColor bg = ColorFromValue(SysColor::Highlight);
        const int total = img.width() * img.height();
        // The icon fills much of the box's top left 32 x 32 pixels.
        const int ink = 32 * 32 - pixelsOf(img.copy(0, 0, 32, 32), bg);
        QVERIFY2(ink > 100, qPrintable(QString::number(ink)));
        QCOMPARE(pixelsOf(img.copy(33, 0, img.width() - 33, img.height()), bg), (img.width() - 33) * img.height());
        Q_UNUSED(total);
    }

    void anUnknownIconDrawsNothing()
    {
        MsgForm *m = MsgForm::instance();
        m->A_SetBackColor(SysColor::Highlight);
        m->picIcon()->cls();
        const QImage before = m->picIcon()->image();
        m->A_SystemIcon(12345);
        QCOMPARE(m->picIcon()->image(), before);
        m->A_SystemIcon(IconQuestion);
        QVERIFY(m->picIcon()->image() != before);
    }

    void theBalloonColourFillsTheWindow()
    {
        MsgForm *m = filledBalloon("Hello");
        QCOMPARE(m->backColorValue(), SysColor::Highlight);
        QCOMPARE(m->palette().color(QPalette::Window), ColorFromValue(SysColor::Highlight));
        const QImage shot = m->grab().toImage();
        QCOMPARE(shot.pixelColor(3, 70).rgb(), ColorFromValue(SysColor::Highlight).rgb());
        QCOMPARE(shot.pixelColor(m->width() - 5, m->height() - 15).rgb(), ColorFromValue(SysColor::Highlight).rgb());
        QCOMPARE(m->picIcon()->backColor(), ColorFromValue(SysColor::Highlight));
    }

    void colourValues()
    {
        QCOMPARE(ColorFromValue(0x000000FF), QColor(255, 0, 0));
        QCOMPARE(ColorFromValue(0x00FF0000), QColor(0, 0, 255));
        QCOMPARE(ColorFromValue(0), QColor(0, 0, 0));
        QCOMPARE(ColorFromValue(0x8000000D), QApplication::palette().color(QPalette::Active, QPalette::Highlight));
        QCOMPARE(ColorFromValue(0x8000000E), QApplication::palette().color(QPalette::Active, QPalette::HighlightedText));
    }

    void aClickElsewhereHidesTheBalloon()
    {
        auto *other = new Form; // the window the user works in
        other->resize(200, 100);
        other->Show();
        QVERIFY(QTest::qWaitForWindowActive(other));
        MsgForm *m = filledBalloon("Hello");
        m->Show();
        // It never keeps the activation, and the activation moving about leaves it up.
        QTRY_VERIFY(other->isActiveWindow());
        QVERIFY(m->isVisible());
        other->activateWindow();
        QCoreApplication::processEvents();
        QTRY_VERIFY(other->isActiveWindow());
        QVERIFY(m->isVisible());
        // A click in its own area keeps it; a click on another window hides it.
        QTest::mouseClick(m->findChild<QLabel *>("msgText"), Qt::LeftButton);
        QVERIFY(m->isVisible());
        QTest::mouseClick(other, Qt::LeftButton);
        QVERIFY(!m->isVisible());
        // Hidden, not unloaded.
        QCOMPARE(MsgForm::existing(), m);
    }

    void unloadingStartsAfresh()
    {
        MsgForm *m = MsgForm::instance();
        m->A_AddButton(0, "Yes");
        m->A_AddButton(1, "No");
        m->A_MsgText("Something");
        QVERIFY(m->Unload());
        QCOMPARE(MsgForm::existing(), nullptr);
        MsgForm *fresh = MsgForm::instance();
        QCOMPARE(fresh->buttonCount(), 1);
        QVERIFY(fresh->buttonCaptions().isEmpty());
        QCOMPARE(fresh->msgText()->text(), QString("What can I do for you?"));
        QCOMPARE(fresh->backColorValue(), 0u);
    }
};

TARVELA_TEST_CLASS(MsgFormTest)
#include "tst_msgform.moc"
