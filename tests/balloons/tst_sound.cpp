#include "TestEnv.h"
#include "BalloonTestUtil.h"

#include "balloons/rg.h"

#include "platform/Settings.h"
#include "platform/Sound.h"

// Sounds of the user's sound scheme, read from the settings store.
class SchemeSoundTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void theSchemeSoundOfAnEvent_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("played"); // and given back
        QTest::newRow("given file, not looked up") << 13 << "/given/ding.wav" << "/given/ding.wav";
        QTest::newRow("restore up") << 13 << "" << "/sounds/up.wav";
        QTest::newRow("restore down") << 12 << "" << "/sounds/down.wav";
        QTest::newRow("name with an apostrophe") << 21 << "" << "/sounds/mail.wav";
        QTest::newRow("name with a blank") << 0 << "" << "/sounds/buddy.wav";
        QTest::newRow("an empty value") << 6 << "" << "";
        QTest::newRow("never configured") << 11 << "" << "";
        QTest::newRow("unplayable, recorded") << 2 << "" << "/no/such/folder/close.wav";
        // Outside the table, even a section named by nothing gives no sound.
        QTest::newRow("past the table") << 22 << "" << "";
        QTest::newRow("negative") << -1 << "" << "";
        QTest::newRow("far past") << 1000 << "" << "";
    }

    void theSchemeSoundOfAnEvent()
    {
        QFETCH(int, index);
        QFETCH(QString, given);
        QFETCH(QString, played);
        userScheme();
        for (const auto &[section, value] : {std::pair<const char *, const char *>{"You've Got Mail", "/sounds/mail.wav"},
                                             {"Buddy In", "/sounds/buddy.wav"}, {"MailBeep", ""},
                                             {"Close", "/no/such/folder/close.wav"}, {"", "/sounds/nothing.wav"}})
            Settings::save("AppEvents", section, "Current", value);
        QString file = given;
        PlaySchemeSound(file, index);
        QCOMPARE(file, played);
        QCOMPARE(Sound::played(), QStringList{played});
    }

    void readingTheStore()
    {
        userScheme();
        QCOMPARE(RegGetString("AppEvents", "RestoreUp", "Current"), QString("/sounds/up.wav"));
        QCOMPARE(RegGetString("AppEvents", "restoreup", "current"), QString("/sounds/up.wav"));
        QCOMPARE(RegGetString("AppEvents", "Nothing", "Current"), QString());
        QCOMPARE(RegGetString("AppEvents", "Nothing", "Current", "fallback"), QString("fallback"));
        Settings::save("AppEvents", "Empty", "Current", "");
        QCOMPARE(RegGetString("AppEvents", "Empty", "Current", "fallback"), QString("fallback"));
    }
};

TARVELA_TEST_CLASS(SchemeSoundTest)
#include "tst_sound.moc"
