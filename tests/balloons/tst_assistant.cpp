#include "TestEnv.h"

#include "balloons/MsgForm.h"
#include "balloons/PictureBox.h"
#include "balloons/assistant.h"
#include "balloons/frmAssist.h"
#include "balloons/rg.h"
#include "BalloonTestUtil.h"

#include "platform/Form.h"
#include "platform/Platform.h"
#include "platform/Settings.h"
#include "platform/Sound.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

using Balloon::ScreenRect;

namespace {
void clickOk()
{
    PictureBox *ok = MsgForm::existing() ? MsgForm::existing()->findChild<PictureBox *>("picOptions") : nullptr;
    QVERIFY(ok);
    QTest::mousePress(ok, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(20, 10));
}

QString rectOf(const QWidget *w)
{
    const QRect g = w->frameGeometry();
    return Balloon::text(ScreenRect{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()});
}

int overlaysLeft()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += w->objectName() == "AnimationOverlay";
    return n;
}

// The assistant's position kept in the settings, as "top, left" in twips.
QString savedPosition()
{
    return Settings::get(Settings::App, "FP", "Top") + ", " + Settings::get(Settings::App, "FP", "Left");
}

void savePosition(int top, int left)
{
    Settings::save(Settings::App, "FP", "Top", QString::number(top));
    Settings::save(Settings::App, "FP", "Left", QString::number(left));
}

// Counts the times a window is brought to the front.
struct RaiseCounter : QObject {
    int raised = 0;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        raised += event->type() == QEvent::ZOrderChange;
        return QObject::eventFilter(watched, event);
    }
};

// The window system as it maps the figure: for a moment it reports the
// window at the screen's corner, and where it stands only once the balloon
// is up.
struct CornerWhileMapping : QObject {
    QWidget *figure = nullptr;
    QPoint stands;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            figure->move(watched == figure ? QPoint(0, 0) : stands);
        return QObject::eventFilter(watched, event);
    }
};

// A window the user types in, shown and active in the middle of the screen.
Form *typingWindow()
{
    auto *typing = new Form;
    typing->resize(420, 300);
    auto *box = new QLineEdit(typing);
    box->setObjectName("box");
    box->setGeometry(110, 130, 200, 24);
    typing->Show();
    if (QTest::qWaitForWindowActive(typing))
        return typing;
    QTest::qFail("the typing window did not become active", __FILE__, __LINE__);
    return nullptr;
}

} // namespace

// The assistant as the other windows use it: a hint in the balloon, the
// window opening out of and closing into the notification area.
class AssistantTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        TestEnv::addResetHook([] {
            AnimOrigin = 0;
            AnimationLog::clear();
        });
    }

    void theFirstOpeningIsCentredAndOkClosesIntoTheNotificationArea()
    {
        userScheme();
        QCOMPARE(savedPosition(), QString(", "));
        AssistantMessage("Welcome to the class wizard.");
        frmAssist *a = frmAssist::existing();
        QVERIFY(a && a->isVisible());
        QCOMPARE(a->windowTitle(), QString("Tarvela Assistant"));
        QCOMPARE(a->size(), QSize(124, 92));
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        const QRect f = a->frameGeometry();
        QCOMPARE(f.topLeft(), QPoint((screen.width() - f.width()) / 2, (screen.height() - f.height()) / 2));
        MsgForm *m = MsgForm::existing();
        QVERIFY(m && m->isVisible());
        QCOMPARE(m->msgText()->text(), QString("Welcome to the class wizard."));
        // Out of the notification area (without one, a strip at the top left corner).
        QCOMPARE(AnimOrigin, 11);
        QCOMPARE(animationLog(), QStringList({"Caption (0, 0, 1, 0) to " + rectOf(a), "Explode " + rectOf(a) + " to " + rectOf(a) + " 900",
                                              "ShowWindow frmAssist", "ShowBalloon MsgForm", "Sound 13 /sounds/up.wav"}));
        QCOMPARE(overlaysLeft(), 0);
        QVERIFY(a->findChild<QTimer *>("Timer1")->isActive());

        // OK closes both into the notification area and keeps the position.
        const QPoint pos = a->pos();
        const QString window = rectOf(a);
        AnimationLog::clear();
        clickOk();
        QCOMPARE(frmAssist::existing(), nullptr);
        QCOMPARE(MsgForm::existing(), nullptr);
        QCOMPARE(savedPosition(), QString("%1, %2").arg(pos.y() * 15).arg(pos.x() * 15));
        QCOMPARE(Sound::played(), (QStringList{"/sounds/up.wav", "/sounds/down.wav"}));
        QCOMPARE(Balloon::trayStrip(NotificationArea()), (ScreenRect{0, 0, 1, 0}));
        QCOMPARE(animationLog(), QStringList({"Caption " + window + " to (0, 0, 1, 0)", "Sound 12 /sounds/down.wav",
                                              "HideWindow frmAssist", "UnloadWindow frmAssist"}));
        QCOMPARE(AnimOrigin, 11);
        // Nothing is left on the screen, and the whole round paused little.
        TestEnv::closeAllWindows();
        QCOMPARE(overlaysLeft(), 0);
        int paused = 0;
        for (int ms : Platform::pauses())
            paused += ms;
        QVERIFY2(paused < 1500, qPrintable(QString::number(paused)));
    }

    void theSavedPositionIsUsedAndTheCloseBoxKeepsTheNewOne()
    {
        savePosition(1500, 3000);
        AssistantMessage("One");
        frmAssist *a = frmAssist::existing();
        QCOMPARE(a->pos(), QPoint(200, 100));
        // The user moves the window; closing remembers the new place.
        a->move(50, 60);
        QVERIFY(a->close());
        QCOMPARE(frmAssist::existing(), nullptr);
        QCOMPARE(MsgForm::existing(), nullptr);
        QCOMPARE(savedPosition(), QString("900, 750"));
        AssistantMessage("Two");
        QCOMPARE(frmAssist::existing()->pos(), QPoint(50, 60));
        TestEnv::closeAllWindows();
        // A position off the screen is kept.
        savePosition(15000, 90000);
        AssistantMessage("Far away");
        QCOMPARE(frmAssist::existing()->pos(), QPoint(6000, 1000));
    }

    void theBalloonLeavesTheFocusAndTheFigureStaysInFrontUntilItsCloseButton()
    {
        userScheme();
        // The user types in a window in the middle of the screen, where the
        // assistant would open by default.
        Form *typing = typingWindow();
        QVERIFY(typing);
        QVERIFY(typing->frameGeometry().contains(QGuiApplication::primaryScreen()->availableGeometry().center()));
        auto *box = typing->findChild<QLineEdit *>("box");
        box->setFocus();
        QApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), box);
        QVERIFY(AssistantMessage("Type the name of your class here."));
        frmAssist *a = frmAssist::existing();
        MsgForm *m = MsgForm::existing();
        QVERIFY(a && a->isVisible() && m && m->isVisible());
        const QRect boxRect(box->mapToGlobal(QPoint(0, 0)), box->size());
        for (QWidget *w : {static_cast<QWidget *>(a), static_cast<QWidget *>(m)}) {
            QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
            QCOMPARE(w->windowType(), Qt::Tool);
            QVERIFY(w->windowFlags() & Qt::WindowDoesNotAcceptFocus);
            // Neither covers the box typed in.
            QVERIFY(!w->frameGeometry().intersects(boxRect));
        }
        QTRY_COMPARE(QApplication::activeWindow(), typing);
        QCOMPARE(QApplication::focusWidget(), box);
        // The window system hands the activation to the window typed in
        // again: the balloon stays.
        typing->activateWindow();
        QCoreApplication::processEvents();
        QTRY_COMPARE(QApplication::activeWindow(), typing);
        QVERIFY(m->isVisible());
        QTest::keyClicks(box, "Biology");
        QCOMPARE(box->text(), QString("Biology"));
        QVERIFY(m->isVisible());
        // A click in the balloon's own area keeps it.
        QTest::mouseClick(m->msgText(), Qt::LeftButton);
        QVERIFY(m->isVisible());
        RaiseCounter counter;
        a->installEventFilter(&counter);
        // A click on the figure itself takes the balloon away and raises nothing.
        QTest::mouseClick(a->imgPic(), Qt::LeftButton);
        QTRY_VERIFY(!m->isVisible());
        QCOMPARE(counter.raised, 0);
        QCOMPARE(frmAssist::existing(), a);
        QCOMPARE(MsgForm::existing(), m);
        // So does another program or the desktop taking the activation, and
        // coming back: the balloon is gone, the figure stays.
        QVERIFY(AssistantMessage("Hint"));
        for (Qt::ApplicationState state : {Qt::ApplicationInactive, Qt::ApplicationActive}) {
            emit qApp->applicationStateChanged(state);
            QVERIFY(a->isVisible() && !m->isVisible());
        }
        QCOMPARE(MsgForm::existing(), m);
        // A click in the window typed in, which the desktop brings
        // forward; the figure comes forward above that window.
        QVERIFY(AssistantMessage("Hint"));
        QVERIFY(m->isVisible());
        counter.raised = 0;
        QTest::mouseClick(box, Qt::LeftButton);
        QTRY_VERIFY(!m->isVisible());
        QVERIFY(a->isVisible());
        QVERIFY(counter.raised > 0);
        // Another window of the program coming up: the figure stays in front.
        counter.raised = 0;
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(counter.raised > 0);
        // A window the user has to answer first keeps the front.
        QWidget question;
        question.setWindowModality(Qt::ApplicationModal);
        question.show();
        QVERIFY(QTest::qWaitForWindowExposed(&question));
        counter.raised = 0;
        QTest::mouseClick(&question, Qt::LeftButton);
        QCOMPARE(counter.raised, 0);
        question.hide();
        QVERIFY(a->isVisible());
        QCOMPARE(savedPosition(), QString(", "));
        // Its close button closes it into the notification area.
        a->move(40, 75);
        AnimationLog::clear();
        auto *close = a->findChild<QToolButton *>("cmdClose");
        QVERIFY(close && close->isVisible());
        QTest::mouseClick(close, Qt::LeftButton);
        QCOMPARE(frmAssist::existing(), nullptr);
        QCOMPARE(MsgForm::existing(), nullptr);
        QCOMPARE(animationLog().mid(1), QStringList({"Sound 12 /sounds/down.wav", "HideWindow frmAssist", "UnloadWindow frmAssist"}));
        QCOMPARE(savedPosition(), QString("1125, 600"));
    }

    void aSecondMessageReplacesTheFirstInTheBalloonsLook()
    {
        AssistantMessage("First");
        MsgForm *m = MsgForm::existing();
        m->A_AddButton(1, "Later");
        QCOMPARE(m->findChildren<PictureBox *>("picOptions").size(), 2);
        AssistantMessage("Second");
        QCOMPARE(MsgForm::existing(), m);
        QCOMPARE(m->msgText()->text(), QString("Second"));
        QCOMPARE(m->findChildren<PictureBox *>("picOptions").size(), 1);
        QCOMPARE(m->buttonCaptions(), QStringList{"Ok"});
        QVERIFY(m->isVisible() && frmAssist::existing()->isVisible());
        // The balloon's look.
        const QPalette app = QApplication::palette();
        QCOMPARE(m->palette().color(QPalette::Window), app.color(QPalette::Active, QPalette::Highlight));
        const QFont f = m->msgText()->font();
        QCOMPARE(QString("%1 %2 %3 %4").arg(f.family()).arg(f.pointSize()).arg(f.bold()).arg(f.italic()), QString("Arial 8 1 0"));
        QCOMPARE(m->msgText()->palette().color(QPalette::WindowText), app.color(QPalette::Active, QPalette::HighlightedText));
        auto *ok = m->findChild<PictureBox *>("picOptions");
        QCOMPARE(ok->foreColor(), app.color(QPalette::Active, QPalette::HighlightedText));
        QCOMPARE(ok->font().family(), QString("Arial"));
        clickOk();
        QCOMPARE(frmAssist::existing(), nullptr);
    }

    void theBalloonSitsAboveOrBesideTheFigureWhereItStands()
    {
        // A 12000 x 9000 twips screen.
        QCOMPARE(Platform::screenWidthTwips(), 12000);
        // Room above: top 4500 - 2115 - 200 = 2185 twips, left 4600, as from
        // where the figure stands, though the window system reports it at
        // the screen's corner while it maps it.
        savePosition(4500, 4500);
        CornerWhileMapping mapping;
        mapping.figure = frmAssist::instance();
        mapping.stands = mapping.figure->pos();
        mapping.figure->installEventFilter(&mapping);
        MsgForm::instance()->installEventFilter(&mapping);
        AssistantMessage("Where?");
        QTRY_COMPARE(mapping.figure->pos(), mapping.stands);
        QCOMPARE(MsgForm::existing()->pos(), QPoint(307, 146));
        QVERIFY(MsgForm::existing()->isVisible());
        // No room above: beside the window (its frame included), to the right
        // on the left half of the screen, else to the left.
        const int width = frmAssist::existing()->frameGeometry().width() * 15;
        QVERIFY(width >= 1860);
        TestEnv::closeAllWindows();
        const auto balloonAt = [](int top, int left) {
            savePosition(top, left);
            AssistantMessage("Where?");
            const QPoint at = MsgForm::existing()->pos();
            TestEnv::closeAllWindows();
            return at;
        };
        QCOMPARE(balloonAt(900, 3000), QPoint(Twips::toPixels(3000 + width + 10), 0));
        QCOMPARE(balloonAt(900, 7500), QPoint(Twips::toPixels(7500 - 4545 - 10), 0));
    }

    void animateFormStepsAndOrigins()
    {
        QWidget w;
        w.setObjectName("Plain");
        w.setGeometry(100, 80, 200, 100);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const int midX = screen.width() / 2, midY = screen.height() / 2;
        const int right = screen.width() - 1;
        // Closing a hidden window does nothing.
        AnimateForm(&w, 4, 1, 0, 7, 0);
        QVERIFY(AnimationLog::entries().isEmpty());
        QCOMPARE(AnimOrigin, 0);
        QVERIFY(Sound::played().isEmpty());
        // From the middle; the rectangles end on the window's area as it was before showing.
        AnimateForm(&w, 4, 0, 50, 7, 0);
        QVERIFY(w.isVisible());
        QCOMPARE(AnimOrigin, 4);
        QCOMPARE(animationLog(), QStringList({QString("Caption (%1, %2, %3, %4) to (100, 80, 300, 180)").arg(midX).arg(midY).arg(midX + 1).arg(midY + 1),
                                              "Explode (100, 80, 300, 180) to (100, 80, 300, 180) 50", "ShowWindow Plain", "Sound 13 "}));
        // From the mouse pointer, no count being 900; from the notification
        // area (none here: a strip at the corner) always 900.
        QCursor::setPos(123, 45);
        const QList<std::tuple<int, int, ScreenRect>> origins = {{12, 0, {123, 45, 124, 46}}, {10, 50, {0, 0, 1, 0}}};
        for (const auto &[origin, steps, from] : origins) {
            AnimationLog::clear();
            w.hide();
            AnimateForm(&w, origin, 0, steps, 7, 0);
            QCOMPARE(AnimOrigin, origin);
            QCOMPARE(AnimationLog::entries()[0].from, from);
            QCOMPARE(AnimationLog::entries()[1].count, 900);
        }
        // Closing towards the top right, then unloading.
        AnimationLog::clear();
        const QString before = rectOf(&w);
        AnimateForm(&w, 2, 1, 0, 7, 0);
        QCOMPARE(animationLog().first(), QString("Caption %1 to (%2, 0, %3, 1)").arg(before).arg(right).arg(right + 1));
        QVERIFY(!w.isVisible());
        QCOMPARE(overlaysLeft(), 0);
        // Another mode does nothing after the search for the origin.
        AnimationLog::clear();
        QWidget other;
        AnimateForm(&other, 11, 2, 0, 7, 0);
        QCOMPARE(AnimOrigin, 11);
        QVERIFY(AnimationLog::entries().isEmpty());
        QVERIFY(!other.isVisible());
    }

    void theFigureBlinks()
    {
        AssistantMessage("Hint");
        frmAssist *a = frmAssist::existing();
        QList<QLabel *> images = a->findChildren<QLabel *>("Image1");
        QCOMPARE(images.size(), 3);
        std::sort(images.begin(), images.end(),
                  [](QLabel *x, QLabel *y) { return x->property("Index").toInt() < y->property("Index").toInt(); });
        for (QLabel *img : images) {
            QVERIFY(!img->isVisible());
            QCOMPARE(img->pixmap().size(), QSize(124, 92));
        }
        const QImage closed = images[0]->pixmap().toImage(), second = images[1]->pixmap().toImage(),
                     resting = images[2]->pixmap().toImage();
        QVERIFY(closed != resting && second != resting && second != closed);
        auto *pic = a->findChild<QLabel *>("imgPic");
        QCOMPARE(pic->pixmap().toImage(), resting);
        QTimer *timer = a->findChild<QTimer *>("Timer1");
        QCOMPARE(timer->interval(), 1800);
        QVERIFY(timer->isActive());
        Platform::clearPauses();
        QVERIFY(QMetaObject::invokeMethod(a, "Timer1_Timer"));
        QCOMPARE(Platform::pauses(), (QList<int>{100, 100})); // eyes closed a moment, then open a moment
        QCOMPARE(pic->pixmap().toImage(), second);
    }
};

TARVELA_TEST_CLASS(AssistantTest)
#include "tst_assistant.moc"
