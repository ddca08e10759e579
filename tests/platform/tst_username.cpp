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
        QCOMPARE(UserName::fromAccount("Ada Lovelace", "ada"), QString("Ada Lovelace"));
        QCOMPARE(UserName::fromAccount("  Ada  ", "ada"), QString("Ada"));
        // Without a full name, the login name.
        QCOMPARE(UserName::fromAccount("", "ada"), QString("ada"));
        QCOMPARE(UserName::fromAccount(",,,", "ada"), QString("ada"));
        QCOMPARE(UserName::fromAccount(QString(), QString()), QString());
        QCOMPARE(UserName::fromAccount(QString::fromUtf8("Zoë O'Brien"), "zoe"), QString::fromUtf8("Zoë O'Brien"));
    }

    void atMost150Characters()
    {
        QCOMPARE(UserName::fromAccount(QString(200, 'n'), "x"), QString(150, 'n'));
        QCOMPARE(UserName::fromAccount(QString(150, 'n'), "x").size(), 150);
        // A character of two units is never cut in half.
        const QString emoji = QString::fromUtf8("😀");
        const QString name = UserName::fromAccount(QString(149, 'n') + emoji + "tail", "x");
        QCOMPARE(name, QString(149, 'n'));
    }

    void theRunningUser()
    {
        const passwd *pw = getpwuid(geteuid());
        QVERIFY(pw);
        const QString expected = UserName::fromAccount(QString::fromLocal8Bit(pw->pw_gecos), QString::fromLocal8Bit(pw->pw_name));
        QCOMPARE(UserName::text(), expected);
        QVERIFY(!UserName::text().isEmpty());
        QVERIFY(UserName::text().size() <= UserName::MaxLength);
        // Read once: the same text for the rest of the run.
        qputenv("USER", "someone-else");
        QCOMPARE(UserName::text(), expected);
    }
};

TARVELA_TEST_CLASS(UserNameTest)
#include "tst_username.moc"
