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
    void aGivenFileIsPlayedWithoutLookingUp()
    {
        userScheme();
        QString file = "/given/ding.wav";
        PlaySchemeSound(file, 13);
        QCOMPARE(file, QString("/given/ding.wav"));
        QCOMPARE(Sound::played(), QStringList{"/given/ding.wav"});
    }

    void theLookedUpPathComesBack()
    {
        userScheme();
        QString file;
        PlaySchemeSound(file, 13);
        QCOMPARE(file, QString("/sounds/up.wav"));
        QString other;
        PlaySchemeSound(other, 12);
        QCOMPARE(other, QString("/sounds/down.wav"));
        QCOMPARE(Sound::played(), (QStringList{"/sounds/up.wav", "/sounds/down.wav"}));
    }

    void namesWithBlanksAndApostrophes()
    {
        userScheme();
        Settings::save("AppEvents", "You've Got Mail", "Current", "/sounds/mail.wav");
        Settings::save("AppEvents", "Buddy In", "Current", "/sounds/buddy.wav");
        QString a, b;
        PlaySchemeSound(a, 21);
        PlaySchemeSound(b, 0);
        QCOMPARE(a, QString("/sounds/mail.wav"));
        QCOMPARE(b, QString("/sounds/buddy.wav"));
    }

    void indexesOutsideTheTableAreSilent()
    {
        userScheme();
        // Even a section named by nothing gives no sound.
        Settings::save("AppEvents", "", "Current", "/sounds/nothing.wav");
        for (int index : {22, -1, 1000}) {
            Sound::clear();
            QString file;
            PlaySchemeSound(file, index);
            QCOMPARE(file, QString());
            QCOMPARE(Sound::played(), QStringList{QString()});
        }
    }

    void anEventWithoutASoundIsSilent()
    {
        userScheme();
        Settings::save("AppEvents", "MailBeep", "Current", "");
        QString beep, open;
        PlaySchemeSound(beep, 6);  // empty value
        PlaySchemeSound(open, 11); // never configured
        QCOMPARE(beep, QString());
        QCOMPARE(open, QString());
        QCOMPARE(Sound::played(), (QStringList{QString(), QString()}));
    }

    void anUnplayablePathIsRecordedButNeverHoldsUp()
    {
        userScheme();
        Settings::save("AppEvents", "Close", "Current", "/no/such/folder/close.wav");
        QString file;
        PlaySchemeSound(file, 2);
        QCOMPARE(file, QString("/no/such/folder/close.wav"));
        QCOMPARE(Sound::played().size(), 1);
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
