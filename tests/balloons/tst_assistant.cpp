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
PictureBox *okButton()
{
    MsgForm *m = MsgForm::existing();
    return m ? m->findChild<PictureBox *>("picOptions") : nullptr;
}

void clickOk()
{
    PictureBox *ok = okButton();
    QVERIFY(ok);
    QTest::mousePress(ok, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(20, 10));
}

ScreenRect rectOf(const QWidget *w)
{
    const QRect g = w->frameGeometry();
    return ScreenRect{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
}

QList<AnimationLog::Kind> kinds()
{
    QList<AnimationLog::Kind> k;
    for (const auto &e : AnimationLog::entries())
        k << e.kind;
    return k;
}

int overlaysLeft()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == "AnimationOverlay")
            ++n;
    return n;
}

// Counts the times a window is brought to the front.
class RaiseCounter : public QObject
{
public:
    int raised = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ZOrderChange)
            ++raised;
        return QObject::eventFilter(watched, event);
    }
};

// A window the user types in, shown and active in the middle of the screen.
Form *typingWindow()
{
    auto *typing = new Form;
    typing->setObjectName("typing");
    typing->resize(420, 300);
    auto *box = new QLineEdit(typing);
    box->setObjectName("box");
    box->setGeometry(110, 130, 200, 24);
    typing->Show();
    return QTest::qWaitForWindowActive(typing) ? typing : nullptr;
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

    void firstOpenIsCentred()
    {
        QVERIFY(Settings::get(Settings::App, "FP", "Top").isEmpty());
        AssistantMessage("Welcome to the class wizard.");
        frmAssist *a = frmAssist::existing();
        QVERIFY(a);
        QVERIFY(a->isVisible());
        QCOMPARE(a->windowTitle(), QString("Tarvela Assistant"));
        QCOMPARE(a->size(), QSize(124, 92));
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        const QRect f = a->frameGeometry();
        QCOMPARE(f.x(), (screen.width() - f.width()) / 2);
        QCOMPARE(f.y(), (screen.height() - f.height()) / 2);
        MsgForm *m = MsgForm::existing();
        QVERIFY(m && m->isVisible());
        QCOMPARE(m->msgText()->text(), QString("Welcome to the class wizard."));
    }

    void okClosesBothAndSavesThePosition()
    {
        userScheme();
        AssistantMessage("Hint");
        frmAssist *a = frmAssist::existing();
        QVERIFY(a);
        const QPoint pos = a->pos();
        clickOk();
        QCOMPARE(frmAssist::existing(), nullptr);
        QCOMPARE(MsgForm::existing(), nullptr);
        QCOMPARE(Settings::get(Settings::App, "FP", "Top"), QString::number(pos.y() * 15));
        QCOMPARE(Settings::get(Settings::App, "FP", "Left"), QString::number(pos.x() * 15));
        QCOMPARE(Sound::played(), (QStringList{"/sounds/up.wav", "/sounds/down.wav"}));
        // Nothing is left on the screen.
        TestEnv::closeAllWindows();
        QCOMPARE(overlaysLeft(), 0);
    }

    void theSavedPositionIsUsedNextTime()
    {
        Settings::save(Settings::App, "FP", "Top", "1500");
        Settings::save(Settings::App, "FP", "Left", "3000");
        AssistantMessage("One");
        frmAssist *a = frmAssist::existing();
        QCOMPARE(a->pos(), QPoint(200, 100));
        // The user moves the window; closing remembers the new place.
        a->move(50, 60);
        clickOk();
        QCOMPARE(Settings::get(Settings::App, "FP", "Top"), QString("900"));
        QCOMPARE(Settings::get(Settings::App, "FP", "Left"), QString("750"));
        AssistantMessage("Two");
        QCOMPARE(frmAssist::existing()->pos(), QPoint(50, 60));
    }

    void aPositionOffTheScreenIsKept()
    {
        Settings::save(Settings::App, "FP", "Top", "15000");
        Settings::save(Settings::App, "FP", "Left", "90000");
        AssistantMessage("Far away");
        QCOMPARE(frmAssist::existing()->pos(), QPoint(6000, 1000));
    }

    void theCloseBoxClosesBoth()
    {
        AssistantMessage("Hint");
        frmAssist *a = frmAssist::existing();
        a->move(30, 45);
        QVERIFY(a->close());
        QCOMPARE(frmAssist::existing(), nullptr);
        QCOMPARE(MsgForm::existing(), nullptr);
        QCOMPARE(Settings::get(Settings::App, "FP", "Top"), QString("675"));
        QCOMPARE(Settings::get(Settings::App, "FP", "Left"), QString("450"));
    }

    void aClickElsewhereHidesOnlyTheBalloon()
    {
        AssistantMessage("Hint");
        frmAssist *a = frmAssist::existing();
        MsgForm *m = MsgForm::existing();
        QVERIFY(m->isVisible());
        // The user clicks the assistant's picture.
        QTest::mouseClick(a->findChild<QLabel *>("imgPic"), Qt::LeftButton);
        QTRY_VERIFY(!m->isVisible());
        QVERIFY(a->isVisible());
        QCOMPARE(frmAssist::existing(), a);
        QCOMPARE(MsgForm::existing(), m);
        QVERIFY(Settings::get(Settings::App, "FP", "Top").isEmpty());
        // Another program window taking the activation changes nothing more.
        QWidget other;
        other.show();
        other.activateWindow();
        QApplication::processEvents();
        QVERIFY(a->isVisible());
        QVERIFY(!m->isVisible());
    }

    void theFigureStaysInFrontUntilItsCloseButton()
    {
        userScheme();
        Form *typing = typingWindow();
        QVERIFY(typing);
        QVERIFY(AssistantMessage("Hint"));
        frmAssist *a = frmAssist::existing();
        MsgForm *m = MsgForm::existing();
        QVERIFY(a && m && m->isVisible());
        RaiseCounter counter;
        a->installEventFilter(&counter);
        // A click in the window typed in, which the desktop brings forward,
        // takes the balloon away; the figure comes forward above that window.
        QTest::mouseClick(typing->findChild<QLineEdit *>("box"), Qt::LeftButton);
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
        // Dragging the figure itself raises nothing.
        QTest::mouseClick(a->imgPic(), Qt::LeftButton);
        QCOMPARE(counter.raised, 0);
        QVERIFY(a->isVisible());
        QVERIFY(Settings::get(Settings::App, "FP", "Top").isEmpty());
        // Its close button closes it into the notification area.
        a->move(40, 75);
        AnimationLog::clear();
        auto *close = a->findChild<QToolButton *>("cmdClose");
        QVERIFY(close && close->isVisible());
        QTest::mouseClick(close, Qt::LeftButton);
        QCOMPARE(frmAssist::existing(), nullptr);
        QCOMPARE(MsgForm::existing(), nullptr);
        QCOMPARE(kinds(), (QList<AnimationLog::Kind>{AnimationLog::Caption, AnimationLog::Sound,
                                                     AnimationLog::HideWindow, AnimationLog::UnloadWindow}));
        QCOMPARE(Sound::played(), (QStringList{"/sounds/up.wav", "/sounds/down.wav"}));
        QCOMPARE(Settings::get(Settings::App, "FP", "Top"), QString("1125"));
        QCOMPARE(Settings::get(Settings::App, "FP", "Left"), QString("600"));
    }

    void anotherProgramTakingTheActivationHidesOnlyTheBalloon()
    {
        Form *typing = typingWindow();
        QVERIFY(typing);
        QVERIFY(AssistantMessage("Hint"));
        frmAssist *a = frmAssist::existing();
        MsgForm *m = MsgForm::existing();
        QVERIFY(a && m && m->isVisible());
        // The user clicks another program or the desktop: the window system
        // tells the program it is no longer the active one.
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(!m->isVisible());
        QVERIFY(a->isVisible());
        QCOMPARE(MsgForm::existing(), m);
        // Coming back shows nothing again.
        emit qApp->applicationStateChanged(Qt::ApplicationActive);
        QVERIFY(!m->isVisible());
        QVERIFY(a->isVisible());
        QVERIFY(Settings::get(Settings::App, "FP", "Top").isEmpty());
    }

    void theBalloonShowsWhileAnotherWindowKeepsTheFocus()
    {
        // The user types in a window in the middle of the screen, where the
        // assistant would open by default.
        Form *typing = typingWindow();
        QVERIFY(typing);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(typing->frameGeometry().contains(screen.center()));
        auto *box = typing->findChild<QLineEdit *>("box");
        box->setFocus();
        QApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), box);

        QVERIFY(AssistantMessage("Type the name of your class here."));
        frmAssist *a = frmAssist::existing();
        MsgForm *m = MsgForm::existing();
        QVERIFY(a && a->isVisible());
        QVERIFY(m && m->isVisible());
        for (QWidget *w : {static_cast<QWidget *>(a), static_cast<QWidget *>(m)}) {
            QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
            QCOMPARE(w->windowType(), Qt::Tool);
            QVERIFY(w->windowFlags() & Qt::WindowDoesNotAcceptFocus);
        }
        QTRY_COMPARE(QApplication::activeWindow(), typing);
        QCOMPARE(QApplication::focusWidget(), box);
        // The window system hands the activation to the window typed in
        // again: the balloon stays.
        typing->activateWindow();
        QCoreApplication::processEvents();
        QTRY_COMPARE(QApplication::activeWindow(), typing);
        QVERIFY(m->isVisible());
        // Neither covers the box typed in.
        const QRect boxRect(box->mapToGlobal(QPoint(0, 0)), box->size());
        QVERIFY(!a->frameGeometry().intersects(boxRect));
        QVERIFY(!m->frameGeometry().intersects(boxRect));
        QTest::keyClicks(box, "Biology");
        QCOMPARE(box->text(), QString("Biology"));
        QVERIFY(m->isVisible());
    }

    void aSecondMessageReplacesTheFirst()
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
        QVERIFY(m->isVisible());
        QVERIFY(frmAssist::existing()->isVisible());
        clickOk();
        QCOMPARE(frmAssist::existing(), nullptr);
    }

    void theBalloonsLook()
    {
        AssistantMessage("Look at me");
        MsgForm *m = MsgForm::existing();
        QCOMPARE(m->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Active, QPalette::Highlight));
        const QFont f = m->msgText()->font();
        QCOMPARE(f.family(), QString("Arial"));
        QVERIFY(f.bold());
        QVERIFY(!f.italic());
        QCOMPARE(f.pointSize(), 8);
        QCOMPARE(m->msgText()->palette().color(QPalette::WindowText),
                 QApplication::palette().color(QPalette::Active, QPalette::HighlightedText));
        PictureBox *ok = okButton();
        QCOMPARE(ok->foreColor(), m->msgText()->palette().color(QPalette::WindowText));
        QCOMPARE(ok->font().family(), QString("Arial"));
        QCOMPARE(m->buttonCaptions(), QStringList{"Ok"});
        QCOMPARE(ok->x() * 15, 150);
        QCOMPARE(ok->y() * 15, 1665);
    }

    void theBalloonSitsAboveTheWindow()
    {
        // 12000 x 9000 twips screen; window at top 4500, left 4500.
        QCOMPARE(Platform::screenWidthTwips(), 12000);
        Settings::save(Settings::App, "FP", "Top", "4500");
        Settings::save(Settings::App, "FP", "Left", "4500");
        AssistantMessage("Above");
        MsgForm *m = MsgForm::existing();
        // Top 4500 - 2115 - 200 = 2185 twips, left 4600.
        QCOMPARE(m->pos(), QPoint(307, 146));
    }

    void theBalloonGoesBesideTheWindow()
    {
        Settings::save(Settings::App, "FP", "Top", "900");
        Settings::save(Settings::App, "FP", "Left", "3000");
        AssistantMessage("Right");
        MsgForm *m = MsgForm::existing();
        const int width = frmAssist::existing()->frameGeometry().width() * 15; // frame included
        QVERIFY(width >= 1860);
        QCOMPARE(m->pos(), QPoint(Twips::toPixels(3000 + width + 10), 0));
        clickOk();

        Settings::save(Settings::App, "FP", "Left", "7500");
        AssistantMessage("Left");
        QCOMPARE(MsgForm::existing()->pos(), QPoint(Twips::toPixels(7500 - 4545 - 10), 0));
    }

    void openingRunsInOrder()
    {
        userScheme();
        AssistantMessage("Hint");
        frmAssist *a = frmAssist::existing();
        const ScreenRect window = rectOf(a);
        QCOMPARE(AnimOrigin, 11);
        QCOMPARE(kinds(), (QList<AnimationLog::Kind>{AnimationLog::Caption, AnimationLog::Explode,
                                                     AnimationLog::ShowWindow, AnimationLog::ShowBalloon,
                                                     AnimationLog::Sound}));
        const auto &log = AnimationLog::entries();
        // Without a notification area the strip lies at the top left corner.
        QCOMPARE(log[0].from, (ScreenRect{0, 0, 1, 0}));
        QCOMPARE(log[0].to, window);
        QCOMPARE(log[1].count, 900);
        QCOMPARE(log[1].from, window);
        QCOMPARE(log[1].to, window);
        QCOMPARE(log[2].name, QString("frmAssist"));
        QCOMPARE(log[3].name, QString("MsgForm"));
        QCOMPARE(log[4].count, 13);
        QCOMPARE(log[4].name, QString("/sounds/up.wav"));
        QCOMPARE(overlaysLeft(), 0);
        QVERIFY(a->findChild<QTimer *>("Timer1")->isActive());
    }

    void closingRunsInOrder()
    {
        userScheme();
        AssistantMessage("Hint");
        const ScreenRect window = rectOf(frmAssist::existing());
        AnimationLog::clear();
        clickOk();
        QCOMPARE(kinds(), (QList<AnimationLog::Kind>{AnimationLog::Caption, AnimationLog::Sound,
                                                     AnimationLog::HideWindow, AnimationLog::UnloadWindow}));
        const auto &log = AnimationLog::entries();
        QCOMPARE(log[0].from, window);
        QCOMPARE(log[0].to, Balloon::trayStrip(NotificationArea()));
        QCOMPARE(log[0].to, (ScreenRect{0, 0, 1, 0}));
        QCOMPARE(log[1].count, 12);
        QCOMPARE(log[1].name, QString("/sounds/down.wav"));
        QCOMPARE(AnimOrigin, 11);
        QCOMPARE(overlaysLeft(), 0);
    }

    void stepsAndOrigins()
    {
        QWidget w;
        w.setObjectName("Plain");
        w.setGeometry(100, 80, 200, 100);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const int midX = screen.width() / 2, midY = screen.height() / 2;
        const int right = screen.width() - 1, bottom = screen.height() - 1;
        AnimateForm(&w, 4, 0, 50, 7, 0);
        QVERIFY(w.isVisible());
        QCOMPARE(AnimOrigin, 4);
        QCOMPARE(kinds(), (QList<AnimationLog::Kind>{AnimationLog::Caption, AnimationLog::Explode,
                                                     AnimationLog::ShowWindow, AnimationLog::Sound}));
        QCOMPARE(AnimationLog::entries()[0].from, (ScreenRect{midX, midY, midX + 1, midY + 1}));
        QCOMPARE(AnimationLog::entries()[1].count, 50);
        // The rectangles end on the window's area as it was before showing.
        QCOMPARE(AnimationLog::entries()[1].to, (ScreenRect{100, 80, 300, 180}));

        AnimationLog::clear();
        w.hide();
        AnimateForm(&w, 8, 0, 0, 7, 0);
        QCOMPARE(AnimationLog::entries()[0].from, (ScreenRect{right, bottom, right + 1, bottom + 1}));
        QCOMPARE(AnimationLog::entries()[1].count, 900);

        // The notification area always draws 900.
        AnimationLog::clear();
        w.hide();
        AnimateForm(&w, 10, 0, 50, 7, 0);
        QCOMPARE(AnimOrigin, 10);
        QCOMPARE(AnimationLog::entries()[1].count, 900);

        // The mouse pointer.
        AnimationLog::clear();
        w.hide();
        QCursor::setPos(123, 45);
        AnimateForm(&w, 12, 0, 5, 7, 0);
        QCOMPARE(AnimationLog::entries()[0].from, (ScreenRect{123, 45, 124, 46}));

        // Closing towards the last origin, then unloading.
        AnimationLog::clear();
        AnimateForm(&w, 2, 1, 0, 7, 0);
        QCOMPARE(AnimationLog::entries()[0].from, rectOf(&w));
        QCOMPARE(AnimationLog::entries()[0].to, (ScreenRect{right, 0, right + 1, 1}));
        QVERIFY(!w.isVisible());
        QCOMPARE(overlaysLeft(), 0);
    }

    void closingAHiddenWindowDoesNothing()
    {
        QWidget w;
        AnimateForm(&w, 4, 1, 0, 7, 0);
        QVERIFY(AnimationLog::entries().isEmpty());
        QCOMPARE(AnimOrigin, 0);
        QCOMPARE(Sound::played().size(), 0);
    }

    void anotherModeDoesNothingAfterTheSearch()
    {
        QWidget w;
        AnimateForm(&w, 11, 2, 0, 7, 0);
        QCOMPARE(AnimOrigin, 11);
        QVERIFY(AnimationLog::entries().isEmpty());
        QVERIFY(!w.isVisible());
    }

    void theFigureBlinks()
    {
        AssistantMessage("Hint");
        frmAssist *a = frmAssist::existing();
        auto *pic = a->findChild<QLabel *>("imgPic");
        QList<QLabel *> images = a->findChildren<QLabel *>("Image1");
        QCOMPARE(images.size(), 3);
        std::sort(images.begin(), images.end(), [](QLabel *x, QLabel *y) {
            return x->property("Index").toInt() < y->property("Index").toInt();
        });
        for (QLabel *img : images) {
            QVERIFY(!img->isVisible());
            QCOMPARE(img->pixmap().size(), QSize(124, 92));
        }
        const QImage closed = images[0]->pixmap().toImage();
        const QImage second = images[1]->pixmap().toImage();
        const QImage resting = images[2]->pixmap().toImage();
        QVERIFY(closed != resting);
        QVERIFY(second != resting);
        QVERIFY(second != closed);
        QCOMPARE(pic->pixmap().toImage(), resting);
        QTimer *timer = a->findChild<QTimer *>("Timer1");
        QCOMPARE(timer->interval(), 1800);
        QVERIFY(timer->isActive());
        Platform::clearPauses();
        QVERIFY(QMetaObject::invokeMethod(a, "Timer1_Timer"));
        QCOMPARE(Platform::pauses(), (QList<int>{100, 100})); // eyes closed a moment, then open a moment
        QCOMPARE(pic->pixmap().toImage(), second);
    }

    void theWholeRoundIsQuick()
    {
        // The pauses of the animations and the blink add up to little.
        AssistantMessage("Quick");
        clickOk();
        int paused = 0;
        for (int ms : Platform::pauses())
            paused += ms;
        QVERIFY2(paused < 1500, qPrintable(QString::number(paused)));
    }
};

TARVELA_TEST_CLASS(AssistantTest)
#include "tst_assistant.moc"
