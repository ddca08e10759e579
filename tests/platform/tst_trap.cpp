#include "TestEnv.h"

#include "platform/Form.h"
#include "platform/RuntimeError.h"
#include "platform/Trap.h"

#include <QPushButton>

namespace {

// A window whose handlers fail as told.
class FailingWindow : public Form
{
public:
    bool failActivate = false;
    bool failUnload = false;
    int activations = 0;

protected:
    void Form_Activate() override
    {
        ++activations;
        if (failActivate)
            throw RuntimeError(Err::NoCurrentRecord, QStringLiteral("No current record."));
    }
    void Form_Unload(bool &) override
    {
        if (failUnload)
            throw RuntimeError(Err::PathFileAccess, QStringLiteral("Path/File access error"));
    }
};

struct Clicker : QObject {
    int clicks = 0;
    void fail()
    {
        ++clicks;
        throw RuntimeError(Err::TypeMismatch, QStringLiteral("Type mismatch"));
    }
    void work() { ++clicks; }
};

// The last box shown as "icon: text".
QString lastTold() { return QString("%1: %2").arg(TestEnv::shownLast().icon).arg(TestEnv::shownLast().text); }

} // namespace

// Handlers that trap nothing themselves: a failure is told where the window
// system ran them, and never unwinds through the event dispatch.
class TrapTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void guardedWorkTellsAndReportsFailure()
    {
        QVERIFY(Trap::guarded([] {}));
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(!Trap::guarded([] { throw RuntimeError(Err::Overflow, QStringLiteral("Overflow")); }));
        QCOMPARE(lastTold(), QString("%1: Overflow").arg(MessageBox::Critical));
        // The title says what happened, never the error's number.
        QCOMPARE(TestEnv::shownLast().title, QString("Number out of range"));
        QVERIFY(!Trap::guarded([] { throw std::runtime_error("out of memory"); }));
        QCOMPARE(TestEnv::shownLast().text, QString("out of memory"));
        Trap::tell(RuntimeError(Err::ReadOnly, QStringLiteral("Read-only")), MessageBox::Exclamation);
        QCOMPARE(lastTold(), QString("%1: Read-only").arg(MessageBox::Exclamation));
        QCOMPARE(MessageBox::shown().size(), 3);
    }

    void aConnectedHandlerThatFailsIsTold()
    {
        QPushButton button;
        Clicker c;
        QObject::connect(&button, &QPushButton::clicked, &c, Trap::slot(&c, &Clicker::fail));
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(c.clicks, 1);
        QCOMPARE(TestEnv::shownLast().text, QString("Type mismatch"));
        button.disconnect();
        QObject::connect(&button, &QPushButton::clicked, &c, Trap::slot(&c, &Clicker::work));
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(c.clicks, 2);
        QCOMPARE(MessageBox::shown().size(), 1);
    }

    void windowHandlersThatFailAreTold()
    {
        auto *w = new FailingWindow;
        w->failActivate = true;
        w->failUnload = true;
        w->Show();
        QTRY_COMPARE(w->activations, 1);
        QCOMPARE(TestEnv::shownLast().text, QString("No current record."));
        QVERIFY(w->isVisible());
        // An unload that fails keeps the window open.
        QVERIFY(!w->Unload());
        QCOMPARE(TestEnv::shownLast().text, QString("Path/File access error"));
        QVERIFY(!w->isUnloaded() && w->isVisible());
        w->failUnload = false;
        QVERIFY(w->Unload());
        QVERIFY(w->isUnloaded());
    }
};

TARVELA_TEST_CLASS(TrapTest)
#include "tst_trap.moc"
