#include "TestEnv.h"

#include "BalloonTestUtil.h"

using namespace Balloon;

// The numbers behind the balloon and the animations, without a screen.
class BalloonGeometryTest : public TestCase
{
    Q_OBJECT

    // Where the balloon goes for a window at top/left (twips) of that width,
    // on a screen that wide.
    static Placement at(int top, int left, int width = 1860, int screen = 12000)
    {
        return placeBalloon(top, left, width, BalloonWidth, BalloonHeight, screen);
    }

private Q_SLOTS:
    void halvesRoundToEven()
    {
        QCOMPARE(roundHalfEven(2.5), 2);
        QCOMPARE(roundHalfEven(3.5), 4);
        QCOMPARE(roundHalfEven(-2.5), -2);
        QCOMPARE(roundHalfEven(-0.5), 0);
        QCOMPARE(roundHalfEven(2.4999), 2);
        QCOMPARE(roundHalfEven(2.5001), 3);
    }

    void theBalloonsPlace()
    {
        // Room above: 200 twips over the window, 100 to the right of its left edge.
        QCOMPARE(at(4000, 5000), (Placement{1685, 5100}));
        // Top exactly 2315: the balloon ends 200 twips above the window.
        QCOMPARE(at(2315, 3000), (Placement{0, 3100}));
        // No room above: the top becomes 0, which overlaps the window, and the
        // left half of the screen puts the balloon to the window's right, the
        // right half (its middle included) to the left.
        QCOMPARE(at(2114, 3000), (Placement{0, 3000 + 1860 + 10}));
        QCOMPARE(at(1000, 5000, 2000), (Placement{0, 7010}));
        QCOMPARE(at(1000, 8000), (Placement{0, 8000 - 4545 - 10}));
        QCOMPARE(at(1000, 6000), (Placement{0, 6000 - 4545 - 10}));
        // Placed right of the window but running off the screen: 200 twips
        // to the left of the window instead.
        QCOMPARE(at(1000, 5900, 1950), (Placement{0, 5900 - 4545 - 200}));
        // Kept on the screen at either edge.
        QCOMPARE(at(4000, 9000), (Placement{1685, 7455}));
        QCOMPARE(at(4000, -500), (Placement{1685, 0}));
        QCOMPARE(at(1000, 7000, 1860, 9000), (Placement{0, 2445}));
        QCOMPARE(at(1000, 3000, 1860, 5000), (Placement{0, 0}));
    }

    void originPoints_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPoint>("point");
        // On 1025 x 769 pixels the middles 512.5 and 384.5 round to even.
        const QSize odd(1025, 769);
        const QList<std::tuple<int, QSize, QPoint>> points = {
            {0, odd, {0, 0}},       {1, odd, {512, 0}},   {2, odd, {1024, 0}},   {3, odd, {0, 384}},   {4, odd, {512, 384}},
            {5, odd, {1024, 384}},  {6, odd, {0, 768}},   {7, odd, {512, 768}},  {8, odd, {1024, 768}}, {9, odd, {512, 384}},
            {12, odd, {321, 123}},  {13, odd, {40, 50}},  {14, odd, {0, 0}},     {-1, odd, {0, 0}}, // pointer, window, others
            {4, {800, 600}, {400, 300}}, {1, {1027, 600}, {514, 0}}}; // whole middles; 513.5 rounds to even
        for (const auto &[code, screen, point] : points)
            QTest::addRow("%d on %dx%d", code, screen.width(), screen.height()) << code << screen << point;
    }

    void originPoints()
    {
        QFETCH(int, code);
        QFETCH(QSize, screen);
        QFETCH(QPoint, point);
        QCOMPARE(originRect(code, ScreenRect{0, 0, screen.width(), screen.height()}, 321, 123, 40, 50),
                 (ScreenRect{point.x(), point.y(), point.x() + 1, point.y() + 1}));
        // Only 10 and 11 are the notification area.
        QCOMPARE(isTrayOrigin(code), false);
    }

    void theNotificationArea()
    {
        QVERIFY(isTrayOrigin(10) && isTrayOrigin(11));
        // One pixel in the middle: 101 wide, half 50.5 rounds to 50 from the
        // right edge; 103 wide, 51.5 rounds to 52.
        QCOMPARE(trayStrip(ScreenRect{1000, 700, 1101, 730}), (ScreenRect{1051, 700, 1052, 730}));
        QCOMPARE(trayStrip(ScreenRect{1000, 700, 1103, 730}), (ScreenRect{1051, 700, 1052, 730}));
        QCOMPARE(trayStrip(ScreenRect{600, 570, 700, 600}), (ScreenRect{650, 570, 651, 600}));
        // No notification area: the screen's top left corner.
        QCOMPARE(trayStrip(ScreenRect{}), (ScreenRect{0, 0, 1, 0}));
    }

    void rectanglesGrowFromTheMiddle()
    {
        QCOMPARE(effectiveSteps(0), 900);
        QCOMPARE(effectiveSteps(-5), 900);
        QCOMPARE(effectiveSteps(1), 1);
        const ScreenRect w{200, 100, 300, 150}; // 100 x 50
        // Step 1 of 4: 25 x 12.5 -> 12; left (100 - 25) / 2 = 37.5 -> 38.
        QCOMPARE(explodeRect(w, 1, 4, 7), (ScreenRect{238, 119, 263, 131}));
        // Step 2 of 4: 50 x 25; top (50 - 25) / 2 = 12.5 -> 12.
        QCOMPARE(explodeRect(w, 2, 4, 7), (ScreenRect{225, 112, 275, 137}));
        QCOMPARE(explodeRect(w, 4, 4, 7), w);
        const QVector<ScreenRect> all = explodeRects(ScreenRect{338, 254, 462, 346}, 900, 7);
        QCOMPARE(all.size(), 900);
        QCOMPARE(all.last(), (ScreenRect{338, 254, 462, 346}));
        for (int i = 1; i < all.size(); ++i)
            QVERIFY(all[i].width() >= all[i - 1].width() && all[i].left <= all[i - 1].left);
        QCOMPARE(explodeRects(w, 50, 7).size(), 50);
        // The other styles grow from an edge or a corner; unknown ones draw nothing.
        const ScreenRect s{0, 0, 100, 50};
        const QList<QPair<int, ScreenRect>> styles = {{0, {0, 12, 100, 37}}, {1, {0, 0, 50, 50}},  {2, {50, 0, 100, 50}},
                                                      {3, {50, 0, 100, 25}}, {4, {50, 12, 100, 37}}, {5, {0, 12, 50, 37}},
                                                      {6, {0, 0, 50, 25}},   {8, {0, 0, 100, 25}}};
        for (const auto &[style, rect] : styles)
            QCOMPARE(explodeRect(s, 1, 2, style), rect);
        for (int style : {9, 10, -1})
            QVERIFY(explodeRects(s, 10, style).isEmpty());
    }

    void schemeEvents()
    {
        QStringList names;
        for (int i : {0, 4, 12, 13, 18, 21, 22, -1})
            names << schemeEventName(i);
        QCOMPARE(names, QStringList({"Buddy In", "File's Done", "RestoreDown", "RestoreUp", "SystemQuestion", "You've Got Mail", "", ""}));
    }

    void theAssistantKeepsClearOfTheBoxesTypedIn()
    {
        const QRect screen(0, 0, 800, 600);
        const QSize balloon(303, 141);
        const QRect window(190, 150, 420, 300);
        const QRect centred(338, 254, 124, 92);
        // Nothing covered: it stays where it is.
        QCOMPARE(clearOfBoxes(centred, balloon, screen, window, {QRect(200, 160, 40, 20)}), centred.topLeft());
        QCOMPARE(clearOfBoxes(centred, balloon, screen, window, {}), centred.topLeft());
        // A box beneath it: it goes beside the window, and its balloon covers nothing either.
        const QRect box(300, 280, 200, 24);
        const QPoint a = clearOfBoxes(centred, balloon, screen, window, {box});
        QCOMPARE(a, QPoint(620, 150));
        const Placement p = at(a.y() * 15, a.x() * 15, 124 * 15);
        const QRect balloonRect(Twips::toPixels(p.left), Twips::toPixels(p.top), 303, 141);
        QVERIFY(!QRect(a, centred.size()).intersects(box));
        QVERIFY(!balloonRect.intersects(box));
        QVERIFY(screen.contains(balloonRect));
        // No room anywhere on the screen: it stays.
        QCOMPARE(clearOfBoxes(centred, balloon, screen, screen, {QRect(0, 0, 800, 600)}), centred.topLeft());
    }
};

TARVELA_TEST_CLASS(BalloonGeometryTest)
#include "tst_geometry.moc"
