#include "TestEnv.h"

#include "platform/UserName.h"

#include <pwd.h>
#include <unistd.h>

// The user name stored with a new quiz.
class UserNameTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void fromTheAccount()
    {
        QCOMPARE(UserName::fromAccount("Ada Lovelace,Room 12,555-0100,", "ada"), QString("Ada Lovelace"));
        QCOMPARE(UserName::fromAccount("  Ada  ", "ada"), QString("Ada"));
        QCOMPARE(UserName::fromAccount(QString::fromUtf8("Zoë O'Brien"), "zoe"), QString::fromUtf8("Zoë O'Brien"));
        // Without a full name, the login name.
        QCOMPARE(UserName::fromAccount("", "ada"), QString("ada"));
        QCOMPARE(UserName::fromAccount(",,,", "ada"), QString("ada"));
        QCOMPARE(UserName::fromAccount(QString(), QString()), QString());
        // At most 150 characters; a character of two units is never cut in half.
        QCOMPARE(UserName::fromAccount(QString(200, 'n'), "x"), QString(150, 'n'));
        QCOMPARE(UserName::fromAccount(QString(150, 'n'), "x"), QString(150, 'n'));
        QCOMPARE(UserName::fromAccount(QString(149, 'n') + QString::fromUtf8("😀") + "tail", "x"), QString(149, 'n'));
    }

    void theRunningUserReadOnce()
    {
        const passwd *pw = getpwuid(geteuid());
        QVERIFY(pw);
        const QString expected = UserName::fromAccount(QString::fromLocal8Bit(pw->pw_gecos), QString::fromLocal8Bit(pw->pw_name));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(UserName::text(), expected);
        // Read once: the same text for the rest of the run.
        qputenv("USER", "someone-else");
        QCOMPARE(UserName::text(), expected);
    }
};

TARVELA_TEST_CLASS(UserNameTest)
#include "tst_username.moc"
