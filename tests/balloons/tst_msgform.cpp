#include "TestEnv.h"

#include "balloons/MsgForm.h"
#include "balloons/PictureBox.h"
#include "balloons/frmAssist.h"
#include "balloons/rg.h"

#include <QApplication>
#include <QLabel>

namespace {
QRect inTwips(const QWidget *w) { return QRect(w->x() * 15, w->y() * 15, w->width() * 15, w->height() * 15); }

QList<PictureBox *> buttons(const MsgForm *m)
{
    QList<PictureBox *> list = m->findChildren<PictureBox *>("picOptions");
    std::sort(list.begin(), list.end(),
              [](PictureBox *a, PictureBox *b) { return a->property("Index").toInt() < b->property("Index").toInt(); });
    return list;
}

// The pixels of an image in a colour.
int pixelsOf(const QImage &img, const QColor &colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y).rgb() == colour.rgb();
    return n;
}

QRgb highlight() { return ColorFromValue(SysColor::Highlight).rgb(); }

// A balloon filled the way the assistant fills it.
MsgForm *filledBalloon()
{
    MsgForm *m = MsgForm::instance();
    m->A_SetBackColor(SysColor::Highlight);
    QPalette pal = m->msgText()->palette();
    pal.setColor(QPalette::WindowText, ColorFromValue(SysColor::HighlightText));
    m->msgText()->setPalette(pal);
    m->A_SystemIcon(IconQuestion);
    m->A_AddButton(0, "Ok");
    m->A_MsgText("Hello");
    m->A_Initialize();
    return m;
}

// A button's corners as "top-left bottom-right": L for the light colour, D for the dark one.
QString edge(PictureBox *b)
{
    const auto shade = [b](int x, int y) {
        const QRgb c = b->image().pixelColor(x, y).rgb();
        return c == b->palette().color(QPalette::Light).rgb() ? "L" : c == b->palette().color(QPalette::Dark).rgb() ? "D" : "?";
    };
    return QString("%1%2%3 %4%5%6").arg(shade(0, 0), shade(30, 0), shade(0, 10), shade(63, 19), shade(63, 10), shade(30, 19));
}
} // namespace

// The balloon window on its own: shape, controls, buttons and their drawing.
class MsgFormTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    // A balloon unloaded starts afresh: as designed.
    void designedSizeControlsAndOutline()
    {
        MsgForm *used = filledBalloon();
        used->A_AddButton(1, "No");
        QVERIFY(used->Unload());
        QCOMPARE(MsgForm::existing(), nullptr);
        MsgForm *m = MsgForm::instance();
        QCOMPARE(m->backColorValue(), 0u);
        QCOMPARE(m->buttonCount(), 1);
        QVERIFY(m->buttonCaptions().isEmpty());
        QCOMPARE(inTwips(m).size(), QSize(4545, 2115));
        QVERIFY(m->windowFlags() & Qt::FramelessWindowHint);
        auto *icon = m->findChild<PictureBox *>("picIcon");
        auto *text = m->findChild<QLabel *>("msgText");
        QVERIFY(icon && text);
        QCOMPARE(inTwips(icon), QRect(75, 165, 555, 495));
        QCOMPARE(inTwips(text), QRect(675, 270, 3630, 1185));
        QCOMPARE(text->text(), QString("What can I do for you?"));
        QVERIFY(!icon->hasBorder());
        QCOMPARE(buttons(m).size(), 1);
        // A rounded outline leaves the corners out.
        const QRegion mask = m->mask();
        const int w = m->width(), h = m->height();
        for (const QPoint &corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1), QPoint(2, 2), QPoint(w - 3, h - 3)})
            QVERIFY2(!mask.contains(corner), qPrintable(QString("%1,%2").arg(corner.x()).arg(corner.y())));
        for (const QPoint &inside : {QPoint(w / 2, h / 2), QPoint(10, 0), QPoint(0, 10), QPoint(w - 11, h - 1), QPoint(w - 1, h / 2), QPoint(5, 5)})
            QVERIFY2(mask.contains(inside), qPrintable(QString("%1,%2").arg(inside.x()).arg(inside.y())));
        QCOMPARE(mask.boundingRect(), QRect(0, 0, w, h));
    }

    void buttonsStandSideBySideAndIndexZeroStartsAfresh()
    {
        MsgForm *m = MsgForm::instance();
        m->A_AddButton(0, "Yes");
        m->A_AddButton(1, "No");
        m->A_AddButton(2, "Cancel");
        QList<QRect> places;
        for (PictureBox *box : buttons(m)) {
            places << inTwips(box);
            QVERIFY(box->isVisibleTo(m));
        }
        QCOMPARE(places, (QList<QRect>{{150, 1665, 960, 300}, {1170, 1665, 960, 300}, {2190, 1665, 960, 300}}));
        QCOMPARE(m->buttonCaptions(), (QStringList{"Yes", "No", "Cancel"}));
        m->A_AddButton(0, "Ok");
        QCOMPARE(m->buttonCaptions(), QStringList{"Ok"});
        QCOMPARE(buttons(m).size(), 1);
        // Drawing every button finds a caption for each.
        m->A_Initialize();
        QCOMPARE(m->buttonCount(), 1);
    }

    void buttonsDrawnRaisedWithTheirCaptionTheIconAndTheColour()
    {
        MsgForm *m = filledBalloon();
        PictureBox *ok = buttons(m).first();
        const QImage img = ok->image();
        QCOMPARE(img.size(), QSize(64, 20));
        QVERIFY(!ok->hasBorder());
        QCOMPARE(ok->backColor().rgb(), highlight());
        QCOMPARE(ok->foreColor(), ColorFromValue(SysColor::HighlightText));
        QCOMPARE(ok->font().family(), m->msgText()->font().family());
        QCOMPARE(ok->font().pointSizeF(), 8.25);
        QVERIFY(!ok->font().bold());
        QCOMPARE(edge(ok), QString("LLL DDD"));
        QCOMPARE(img.pixelColor(2, 2).rgb(), highlight());
        // A caption is printed about the middle: ink left and right of centre
        // in equal measure, nothing near the edge.
        const int inkLeft = 31 * 18 - pixelsOf(img.copy(1, 1, 31, 18), highlight());
        const int inkRight = 31 * 18 - pixelsOf(img.copy(32, 1, 31, 18), highlight());
        QVERIFY(inkLeft > 5 && inkRight > 5);
        QVERIFY2(qAbs(inkLeft - inkRight) < (inkLeft + inkRight) / 2, qPrintable(QString("%1 %2").arg(inkLeft).arg(inkRight)));
        QCOMPARE(pixelsOf(img.copy(1, 1, 8, 18), highlight()), 8 * 18);
        // The question icon fills much of the box's top left 32 x 32 pixels, and nothing else.
        const QImage icon = m->picIcon()->image();
        QVERIFY2(32 * 32 - pixelsOf(icon.copy(0, 0, 32, 32), highlight()) > 100, "too little of the icon drawn");
        QCOMPARE(pixelsOf(icon.copy(33, 0, icon.width() - 33, icon.height()), highlight()), (icon.width() - 33) * icon.height());
        // An unknown icon draws nothing.
        m->picIcon()->cls();
        const QImage before = m->picIcon()->image();
        m->A_SystemIcon(12345);
        QCOMPARE(m->picIcon()->image(), before);
        // The balloon's colour fills the window.
        QCOMPARE(m->backColorValue(), SysColor::Highlight);
        QCOMPARE(m->palette().color(QPalette::Window).rgb(), highlight());
        QCOMPARE(m->picIcon()->backColor().rgb(), highlight());
        const QImage shot = m->grab().toImage();
        QCOMPARE(shot.pixelColor(3, 70).rgb(), highlight());
        QCOMPARE(shot.pixelColor(m->width() - 5, m->height() - 15).rgb(), highlight());
    }

    void eitherMouseButtonPressesWithTheSunkenEdge()
    {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            MsgForm *m = filledBalloon();
            m->Show();
            PictureBox *ok = buttons(m).first();
            QTest::mousePress(ok, button, {}, QPoint(30, 10));
            QCOMPARE(edge(ok), QString("DDD LLL"));
            QVERIFY(m->isVisible());
            // Released far outside the button: still the button's choice.
            QTest::mouseRelease(ok, button, {}, QPoint(500, 300));
            QCOMPARE(edge(ok), QString("LLL DDD"));
            QVERIFY(!m->isVisible());
        }
    }

    void colourValues()
    {
        QCOMPARE(ColorFromValue(0x000000FF), QColor(255, 0, 0));
        QCOMPARE(ColorFromValue(0x00FF0000), QColor(0, 0, 255));
        QCOMPARE(ColorFromValue(0), QColor(0, 0, 0));
        QCOMPARE(ColorFromValue(0x8000000D), QApplication::palette().color(QPalette::Active, QPalette::Highlight));
        QCOMPARE(ColorFromValue(0x8000000E), QApplication::palette().color(QPalette::Active, QPalette::HighlightedText));
    }
};

TARVELA_TEST_CLASS(MsgFormTest)
#include "tst_msgform.moc"
