#include "TestEnv.h"

#include "BalloonTestUtil.h"

using namespace Balloon;

// The numbers behind the balloon and the animations, without a screen.
class BalloonGeometryTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void halvesRoundToEven()
    {
        QCOMPARE(roundHalfEven(2.5), 2);
        QCOMPARE(roundHalfEven(3.5), 4);
        QCOMPARE(roundHalfEven(-2.5), -2);
        QCOMPARE(roundHalfEven(-0.5), 0);
        QCOMPARE(roundHalfEven(2.4999), 2);
        QCOMPARE(roundHalfEven(2.5001), 3);
        QCOMPARE(Twips::toPixels(BalloonWidth), 303);
        QCOMPARE(Twips::toPixels(BalloonHeight), 141);
        QCOMPARE(Twips::toPixels(4000), 267);
    }

    void balloonAboveTheWindow()
    {
        // Room above: 200 twips over the window, 100 to the right of its left edge.
        QCOMPARE(placeBalloon(4000, 5000, 1860, BalloonWidth, BalloonHeight, 12000), (Placement{1685, 5100}));
    }

    void balloonRightOfTheWindow()
    {
        // No room above: the top becomes 0, which overlaps the window, and the
        // left half of the screen puts the balloon to the window's right.
        QCOMPARE(placeBalloon(1000, 5000, 1860, BalloonWidth, BalloonHeight, 12000), (Placement{0, 5000 + 1860 + 10}));
        QCOMPARE(placeBalloon(1000, 5000, 2000, BalloonWidth, BalloonHeight, 12000), (Placement{0, 7010}));
    }

    void balloonLeftOfTheWindow()
    {
        QCOMPARE(placeBalloon(1000, 8000, 1860, BalloonWidth, BalloonHeight, 12000), (Placement{0, 3445}));
        // Exactly in the middle counts as the right half.
        QCOMPARE(placeBalloon(1000, 6000, 1860, BalloonWidth, BalloonHeight, 12000), (Placement{0, 6000 - 4545 - 10}));
    }

    void balloonClampedToTheRightEdge()
    {
        QCOMPARE(placeBalloon(4000, 9000, 1860, BalloonWidth, BalloonHeight, 12000), (Placement{1685, 7455}));
    }

    void balloonClampedToTheLeftEdge()
    {
        QCOMPARE(placeBalloon(4000, -500, 1860, BalloonWidth, BalloonHeight, 12000), (Placement{1685, 0}));
        // To the left of the window on a narrower screen.
        QCOMPARE(placeBalloon(1000, 7000, 1860, BalloonWidth, BalloonHeight, 9000), (Placement{0, 2445}));
        // To the left of a window near the left edge would leave the screen.
        QCOMPARE(placeBalloon(1000, 3000, 1860, BalloonWidth, BalloonHeight, 5000), (Placement{0, 0}));
    }

    void balloonRightSideOverflowGoesLeft()
    {
        // Placed right of the window but running off the screen: 200 twips
        // to the left of the window instead.
        QCOMPARE(placeBalloon(1000, 5900, 1950, BalloonWidth, BalloonHeight, 12000), (Placement{0, 5900 - 4545 - 200}));
    }

    void balloonJustFitsAbove()
    {
        // Top exactly 2315: the balloon ends 200 twips above the window.
        QCOMPARE(placeBalloon(2315, 3000, 1860, BalloonWidth, BalloonHeight, 12000), (Placement{0, 3100}));
        // One twip less does not fit: the top is clamped and then overlaps.
        QCOMPARE(placeBalloon(2114, 3000, 1860, BalloonWidth, BalloonHeight, 12000), (Placement{0, 3000 + 1860 + 10}));
    }

    void originPoints_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        // Screen 1025 x 769 pixels: the middles 512.5 and 384.5 round to even.
        QTest::newRow("0 top left") << 0 << 0 << 0;
        QTest::newRow("1 top middle") << 1 << 512 << 0;
        QTest::newRow("2 top right") << 2 << 1024 << 0;
        QTest::newRow("3 left middle") << 3 << 0 << 384;
        QTest::newRow("4 centre") << 4 << 512 << 384;
        QTest::newRow("5 right middle") << 5 << 1024 << 384;
        QTest::newRow("6 bottom left") << 6 << 0 << 768;
        QTest::newRow("7 bottom middle") << 7 << 512 << 768;
        QTest::newRow("8 bottom right") << 8 << 1024 << 768;
        QTest::newRow("9 centre") << 9 << 512 << 384;
        QTest::newRow("12 mouse pointer") << 12 << 321 << 123;
        QTest::newRow("13 active window") << 13 << 40 << 50;
        QTest::newRow("14 other") << 14 << 0 << 0;
        QTest::newRow("-1 other") << -1 << 0 << 0;
    }
    void originPoints()
    {
        QFETCH(int, code);
        QFETCH(int, x);
        QFETCH(int, y);
        const ScreenRect desktop{0, 0, 1025, 769};
        QCOMPARE(originRect(code, desktop, 321, 123, 40, 50), (ScreenRect{x, y, x + 1, y + 1}));
    }

    void originMiddleOfAnEvenScreen()
    {
        QCOMPARE(originRect(4, ScreenRect{0, 0, 800, 600}, 0, 0, 0, 0), (ScreenRect{400, 300, 401, 301}));
        QCOMPARE(originRect(1, ScreenRect{0, 0, 1027, 600}, 0, 0, 0, 0), (ScreenRect{514, 0, 515, 1}));
    }

    void trayOriginsAreTheNotificationArea()
    {
        QVERIFY(isTrayOrigin(10));
        QVERIFY(isTrayOrigin(11));
        QVERIFY(!isTrayOrigin(9));
        QVERIFY(!isTrayOrigin(12));
    }

    void trayStripIsOnePixelInTheMiddle()
    {
        // 101 wide: half is 50.5, rounded to 50, from the right edge.
        QCOMPARE(trayStrip(ScreenRect{1000, 700, 1101, 730}), (ScreenRect{1051, 700, 1052, 730}));
        // 103 wide: 51.5 rounds to 52.
        QCOMPARE(trayStrip(ScreenRect{1000, 700, 1103, 730}), (ScreenRect{1051, 700, 1052, 730}));
        QCOMPARE(trayStrip(ScreenRect{600, 570, 700, 600}), (ScreenRect{650, 570, 651, 600}));
        // No notification area: the screen's top left corner.
        QCOMPARE(trayStrip(ScreenRect{}), (ScreenRect{0, 0, 1, 0}));
    }

    void stepsDefaultTo900()
    {
        QCOMPARE(effectiveSteps(0), 900);
        QCOMPARE(effectiveSteps(-5), 900);
        QCOMPARE(effectiveSteps(50), 50);
        QCOMPARE(effectiveSteps(1), 1);
    }

    void rectanglesGrowFromTheMiddle()
    {
        const ScreenRect w{200, 100, 300, 150}; // 100 x 50
        // Step 1 of 4: 25 x 12.5 -> 12; left (100 - 25) / 2 = 37.5 -> 38.
        QCOMPARE(explodeRect(w, 1, 4, 7), (ScreenRect{238, 119, 263, 131}));
        // Step 2 of 4: 50 x 25; top (50 - 25) / 2 = 12.5 -> 12.
        QCOMPARE(explodeRect(w, 2, 4, 7), (ScreenRect{225, 112, 275, 137}));
        QCOMPARE(explodeRect(w, 4, 4, 7), w);

        const QVector<ScreenRect> all = explodeRects(ScreenRect{338, 254, 462, 346}, 900, 7);
        QCOMPARE(all.size(), 900);
        QCOMPARE(all.last(), (ScreenRect{338, 254, 462, 346}));
        for (int i = 1; i < all.size(); ++i) {
            QVERIFY(all[i].width() >= all[i - 1].width());
            QVERIFY(all[i].left <= all[i - 1].left);
        }
        QCOMPARE(explodeRects(w, 50, 7).size(), 50);
    }

    void otherStyles()
    {
        const ScreenRect w{0, 0, 100, 50};
        QCOMPARE(explodeRect(w, 1, 2, 0), (ScreenRect{0, 12, 100, 37}));
        QCOMPARE(explodeRect(w, 1, 2, 1), (ScreenRect{0, 0, 50, 50}));
        QCOMPARE(explodeRect(w, 1, 2, 2), (ScreenRect{50, 0, 100, 50}));
        QCOMPARE(explodeRect(w, 1, 2, 3), (ScreenRect{50, 0, 100, 25}));
        QCOMPARE(explodeRect(w, 1, 2, 4), (ScreenRect{50, 12, 100, 37}));
        QCOMPARE(explodeRect(w, 1, 2, 5), (ScreenRect{0, 12, 50, 37}));
        QCOMPARE(explodeRect(w, 1, 2, 6), (ScreenRect{0, 0, 50, 25}));
        QCOMPARE(explodeRect(w, 1, 2, 8), (ScreenRect{0, 0, 100, 25}));
        QVERIFY(explodeRects(w, 10, 9).isEmpty());
        QVERIFY(explodeRects(w, 10, 10).isEmpty());
        QVERIFY(explodeRects(w, 10, -1).isEmpty());
    }

    void threeButtonPositions()
    {
        int left = ButtonLeft;
        QList<int> lefts{left};
        for (int i = 1; i < 3; ++i) {
            left = nextButtonLeft(left, ButtonWidth);
            lefts << left;
        }
        QCOMPARE(lefts, (QList<int>{150, 1170, 2190}));
    }

    void theAssistantKeepsClearOfTheBoxesTypedIn()
    {
        const QRect screen(0, 0, 800, 600);
        const QSize balloon(303, 141);
        const QRect window(190, 150, 420, 300);
        const QRect centred(338, 254, 124, 92);
        auto balloonAt = [&](const QPoint &a) {
            const Placement p = placeBalloon(a.y() * 15, a.x() * 15, 124 * 15, 4545, 2115, 12000);
            return QRect(Twips::toPixels(p.left), Twips::toPixels(p.top), 303, 141);
        };
        // Nothing covered: it stays where it is.
        QCOMPARE(clearOfBoxes(centred, balloon, screen, window, {QRect(200, 160, 40, 20)}), centred.topLeft());
        QCOMPARE(clearOfBoxes(centred, balloon, screen, window, {}), centred.topLeft());
        // A box beneath it: it goes beside the window, and its balloon covers nothing either.
        const QRect box(300, 280, 200, 24);
        const QPoint at = clearOfBoxes(centred, balloon, screen, window, {box});
        QCOMPARE(at, QPoint(620, 150));
        QVERIFY(!QRect(at, centred.size()).intersects(box));
        QVERIFY(!balloonAt(at).intersects(box));
        QVERIFY(screen.contains(balloonAt(at)));
        // No room anywhere on the screen: it stays.
        QCOMPARE(clearOfBoxes(centred, balloon, screen, screen, {QRect(0, 0, 800, 600)}), centred.topLeft());
    }

    void eventNamesByIndex()
    {
        QCOMPARE(schemeEventName(0), QString("Buddy In"));
        QCOMPARE(schemeEventName(4), QString("File's Done"));
        QCOMPARE(schemeEventName(12), QString("RestoreDown"));
        QCOMPARE(schemeEventName(13), QString("RestoreUp"));
        QCOMPARE(schemeEventName(18), QString("SystemQuestion"));
        QCOMPARE(schemeEventName(21), QString("You've Got Mail"));
        QCOMPARE(schemeEventName(22), QString());
        QCOMPARE(schemeEventName(-1), QString());
        QCOMPARE(SchemeEvent::RestoreUp, 13);
        QCOMPARE(SchemeEvent::RestoreDown, 12);
    }
};

TARVELA_TEST_CLASS(BalloonGeometryTest)
#include "tst_geometry.moc"
