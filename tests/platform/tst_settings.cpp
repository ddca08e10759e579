#include "TestEnv.h"

#include "platform/FileOps.h"
#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

// The settings store: read once and kept, read again when the file changed
// on disk, written only when a value changed, and a file that cannot be
// written told once.
class SettingsTest : public TestCase
{
    Q_OBJECT

    static QString file() { return Settings::fileFor(Settings::App); }

    static bool statOf(const QString &path, struct stat &st)
    {
        return ::stat(QFile::encodeName(path).constData(), &st) == 0;
    }

    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray("<unreadable>");
        return f.readAll();
    }

    // Writes the file by hand, as an editor does in place (same inode).
    static bool overwriteInPlace(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadWrite | QIODevice::Truncate))
            return false;
        return f.write(bytes) == bytes.size();
    }

    // Writes the file by hand under a new inode (an editor saving by rename).
    static bool replaceByRename(const QString &path, const QByteArray &bytes)
    {
        const QString temp = path + ".new";
        QFile f(temp);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return false;
        f.close();
        return ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) == 0;
    }

    static bool setModified(const QString &path, const struct timespec &when)
    {
        const struct timespec times[2] = {when, when};
        return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
    }

    static bool sameFile(const struct stat &a, const struct stat &b)
    {
        return a.st_ino == b.st_ino && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec
            && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
    }

private Q_SLOTS:
    void readOnceAndKept()
    {
        QVERIFY(Settings::save(Settings::App, "AddIns", "AddIn1Desc", "Notes"));
        const int reads = Settings::fileReads();
        for (int i = 0; i < 50; ++i) {
            QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn1Desc"), QString("Notes"));
            QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn2Desc"), QString());
        }
        QCOMPARE(Settings::fileReads(), reads);

        // Changed behind the store's back with the same size and the same
        // modification time: the kept copy is used, the file is not read.
        struct stat before {};
        QVERIFY(statOf(file(), before));
        const QByteArray old = contents(file());
        QByteArray edited = old;
        edited.replace("Notes", "Mails");
        QCOMPARE(edited.size(), old.size());
        QVERIFY(overwriteInPlace(file(), edited));
        QVERIFY(setModified(file(), before.st_mtim));
        QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn1Desc"), QString("Notes"));
        QCOMPARE(Settings::fileReads(), reads);

        // The modification time moves: the file is read again, once.
        struct timespec later = before.st_mtim;
        later.tv_sec += 2;
        QVERIFY(setModified(file(), later));
        QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn1Desc"), QString("Mails"));
        QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn1Desc"), QString("Mails"));
        QCOMPARE(Settings::fileReads(), reads + 1);
    }

    void handEditsAreSeen()
    {
        QVERIFY(Settings::save(Settings::App, "AddIns", "AddIn1Desc", "Notes"));
        QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn1Desc"), QString("Notes"));
        struct stat st {};
        QVERIFY(statOf(file(), st));

        // A line added: the size changed (the time is put back).
        QVERIFY(overwriteInPlace(file(), contents(file()) + "AddIn2Desc=Backup\n"));
        QVERIFY(setModified(file(), st.st_mtim));
        QCOMPARE(Settings::get(Settings::App, "addins", "ADDIN2DESC"), QString("Backup"));

        // Saved by rename, same size and time: a new inode.
        QVERIFY(statOf(file(), st));
        QByteArray edited = contents(file());
        edited.replace("Backup", "Resync");
        QVERIFY(replaceByRename(file(), edited));
        QVERIFY(setModified(file(), st.st_mtim));
        struct stat now {};
        QVERIFY(statOf(file(), now));
        QVERIFY(now.st_ino != st.st_ino);
        QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn2Desc"), QString("Resync"));

        // A hand edit is not overwritten by the next save of another key.
        QVERIFY(overwriteInPlace(file(), contents(file()) + "AddIn3Desc=Clock\n"));
        struct timespec later = now.st_mtim;
        later.tv_sec += 2;
        QVERIFY(setModified(file(), later));
        QVERIFY(Settings::save(Settings::App, "Settings", "LastClass", "Biology"));
        Settings::resetForTests();
        QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn3Desc"), QString("Clock"));
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString("Biology"));

        // The file removed: every key reads "" again.
        QVERIFY(QFile::remove(file()));
        QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn1Desc"), QString());
    }

    void aSectionIsReadAsTheKeysAreReadOneByOne()
    {
        QVERIFY(QDir().mkpath(Settings::folder()));
        QVERIFY(overwriteInPlace(file(), "[ClassFolders]\nBiology=Red\nbiology=Blue\nArt %3D Craft=Green\n\n"
                                         "[classfolders]\nChemistry=Yellow\n\n[Other]\nMusic=Pink\n"));
        const Settings::SectionValues colours = Settings::section(Settings::App, "CLASSFOLDERS");
        for (const char *key : {"Biology", "BIOLOGY", "Art = Craft", "Chemistry", "Music", "Nothing"})
            QCOMPARE(colours.value(key), Settings::get(Settings::App, "ClassFolders", key));
        QCOMPARE(colours.value("biology"), QString("Red")); // the first line of a key counts
        QCOMPARE(colours.value("Chemistry"), QString());    // only the first section of a name
        QCOMPARE(Settings::section(Settings::App, "Missing").value("Biology"), QString());
    }

    void savesInABatchAreWrittenOnceAtItsEnd()
    {
        QVERIFY(Settings::save(Settings::App, "Settings", "LastClass", "Biology"));
        const int writes = Settings::fileWrites();
        {
            Settings::Batch outer;
            QVERIFY(Settings::save(Settings::App, "Settings", "LastClass", "Chemistry"));
            {
                Settings::Batch inner;
                QVERIFY(Settings::save(Settings::App, "Settings", "LastSemester", "Fall 2026"));
                QVERIFY(Settings::save(Settings::App, "Settings", "LastClass", "Art"));
            }
            // Read back at once, written only when the outer batch ends.
            QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString("Art"));
            QCOMPARE(Settings::fileWrites(), writes);
            QCOMPARE(contents(file()), QByteArray("[Settings]\nLastClass=Biology\n\n"));
        }
        QCOMPARE(Settings::fileWrites(), writes + 1);
        QCOMPARE(contents(file()), QByteArray("[Settings]\nLastClass=Art\nLastSemester=Fall 2026\n\n"));
        // Nothing changed in a batch: nothing written.
        {
            Settings::Batch batch;
            QVERIFY(Settings::save(Settings::App, "Settings", "LastClass", "Art"));
        }
        QCOMPARE(Settings::fileWrites(), writes + 1);
    }

    void sameValueIsNotWritten()
    {
        QVERIFY(Settings::save(Settings::App, "Settings", "LastClass", "Biology"));
        QVERIFY(Settings::save(Settings::App, "Settings", "LastSemester", "Fall 2026"));
        struct stat before {};
        QVERIFY(statOf(file(), before));
        const int writes = Settings::fileWrites();

        QVERIFY(Settings::save(Settings::App, "Settings", "LastClass", "Biology"));
        QVERIFY(Settings::save(Settings::App, "SETTINGS", "lastclass", "Biology"));
        QVERIFY(Settings::save(Settings::App, "Settings", {{"LastSemester", "Fall 2026"}, {"LastClass", "Biology"}}));
        QCOMPARE(Settings::fileWrites(), writes);
        struct stat after {};
        QVERIFY(statOf(file(), after));
        QVERIFY(sameFile(before, after));

        // A value differing only in letter case is a change.
        QVERIFY(Settings::save(Settings::App, "Settings", "LastClass", "biology"));
        QCOMPARE(Settings::fileWrites(), writes + 1);
        QVERIFY(statOf(file(), after));
        QVERIFY(after.st_ino != before.st_ino); // a new file renamed into place

        // Several keys, one of them changed: one write; the key keeps the
        // spelling it was first written with.
        QVERIFY(Settings::save(Settings::App, "Settings", {{"LastSemester", "Spring 2027"}, {"LASTCLASS", "biology"}}));
        QCOMPARE(Settings::fileWrites(), writes + 2);
        QCOMPARE(contents(file()), QByteArray("[Settings]\nLastClass=biology\nLastSemester=Spring 2027\n\n"));

        // A key never written is written even with an empty value.
        QVERIFY(Settings::save(Settings::App, "Settings", "Empty", ""));
        QCOMPARE(Settings::fileWrites(), writes + 3);
        QVERIFY(contents(file()).contains("\nEmpty=\n"));
    }

    void linesNotUnderstoodAreKept()
    {
        QVERIFY(QDir().mkpath(Settings::folder()));
        const QByteArray hand = "; written by hand\n"
                                "[ AddIns ]\n"
                                "  AddIn1Desc\t=Notes\n"
                                "this line has no equals sign\n"
                                "AddIn1Cmd=notes --new \n"
                                "[Settings\n"
                                "\t[Settings]  \r\n"
                                " LastClass = Biology\r\n"
                                "\x01\x02 binary-ish\n";
        QVERIFY(overwriteInPlace(file(), hand));
        QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn1Desc"), QString("Notes"));
        QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn1Cmd"), QString("notes --new "));
        // Blanks around the key are not part of it; the value keeps its own.
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString(" Biology"));

        QVERIFY(Settings::save(Settings::App, "Settings", "LastSemester", "Fall 2026"));
        const QByteArray expected = "; written by hand\n"
                                    "[AddIns]\n"
                                    "AddIn1Desc=Notes\n"
                                    "this line has no equals sign\n"
                                    "AddIn1Cmd=notes --new%20\n"
                                    "[Settings\n"
                                    "\n"
                                    "[Settings]\n"
                                    "LastClass=%20Biology\n"
                                    "\x01\x02 binary-ish\n"
                                    "LastSemester=Fall 2026\n"
                                    "\n";
        QCOMPARE(contents(file()), expected);
        Settings::resetForTests();
        QCOMPARE(Settings::get(Settings::App, "AddIns", "AddIn1Cmd"), QString("notes --new "));
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString(" Biology"));
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastSemester"), QString("Fall 2026"));
    }

    void earlierFilesReadBackUnchanged()
    {
        // A file as the store has always written it.
        QVERIFY(QDir().mkpath(Settings::folder()));
        const QByteArray written = "[ClassFolders]\n"
                                   "C/C++ 101=Red\n"
                                   "%20blank%20=x %3D y; 'q' \"qq\"\n"
                                   "100%25 sure=line%0Abreak%0D\n"
                                   "%5BBracket%5D=%09tab%09\n"
                                   "\xc3\x89t\xc3\xa9 2026=\xc2\xa0nbsp\xc2\xa0\n"
                                   "\n"
                                   "[a%3Db]\n"
                                   "k=50%\n"
                                   "\n";
        QVERIFY(overwriteInPlace(file(), written));
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", "C/C++ 101"), QString("Red"));
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", " blank "), QString("x = y; 'q' \"qq\""));
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", "blank"), QString());
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", "100% sure"), QString("line\nbreak\r"));
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", "[Bracket]"), QString("\ttab\t"));
        QCOMPARE(Settings::get(Settings::App, "classfolders", QString::fromUtf8("\xc3\x89T\xc3\x89 2026")),
                 QString::fromUtf8("\xc2\xa0nbsp\xc2\xa0"));
        QCOMPARE(Settings::get(Settings::App, "A=B", "K"), QString("50%"));

        // Written back, every line stands as it did.
        QVERIFY(Settings::save(Settings::App, "ClassFolders", "C/C++ 101", "Blue"));
        QByteArray expected = written;
        expected.replace("C/C++ 101=Red", "C/C++ 101=Blue");
        expected.replace("k=50%", "k=50%25");
        QCOMPARE(contents(file()), expected);
    }

    void unwritableStoreIsToldOnce_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only file") << "file" << "The file is read-only.";
        QTest::newRow("folder not writable") << "folder" << "cannot be written to.";
        QTest::newRow("folder in place of the file") << "directory" << "A folder of that name stands where the file should be.";
        QTest::newRow("unreadable file") << "unreadable" << "could not be read, so it is left as it is";
    }
    void unwritableStoreIsToldOnce()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QVERIFY(Settings::save(Settings::App, "Settings", "LastClass", "Biology"));
        if (kind == "file") {
            FileOps::denyChanges(file());
        } else if (kind == "folder") {
            FileOps::denyChanges(Settings::folder());
        } else if (kind == "directory") {
            QVERIFY(QFile::remove(file()));
            QVERIFY(QDir().mkpath(file()));
        } else {
            FileOps::denyReading(file());
            struct stat st {};
            QVERIFY(statOf(file(), st));
            st.st_mtim.tv_sec += 2;
            QVERIFY(setModified(file(), st.st_mtim));
        }
        const QByteArray before = QFileInfo(file()).isDir() ? QByteArray("<folder>") : contents(file());

        MessageBox::setNextAnswers({MessageBox::Ok, MessageBox::Ok});
        QVERIFY(!Settings::save(Settings::App, "Settings", "LastClass", "Chemistry"));
        QVERIFY(!Settings::save(Settings::App, "Settings", "LastSemester", "Fall 2026"));
        QCOMPARE(MessageBox::shown().size(), 1);
        const MessageBox::Shown told = MessageBox::shown().first();
        QCOMPARE(told.title, QString("Settings Not Saved"));
        QCOMPARE(told.icon, MessageBox::Exclamation);
        QCOMPARE(told.buttons, MessageBox::OkOnly);
        QVERIFY2(told.text.contains(file()), qPrintable(told.text));
        QVERIFY2(told.text.contains(reason), qPrintable(told.text));
        QVERIFY2(told.text.contains("will not be kept"), qPrintable(told.text));

        // Nothing on disk changed; a save of an unchanged value is quiet too.
        QCOMPARE(QFileInfo(file()).isDir() ? QByteArray("<folder>") : contents(file()), before);
        QVERIFY(!Settings::save(Settings::App, "Settings", "LastSemester", "Fall 2026"));
        QCOMPARE(MessageBox::shown().size(), 1);
        // The program goes on with what it was given; a file it cannot read
        // gives nothing.
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"),
                 kind == "directory" || kind == "unreadable" ? QString() : QString("Chemistry"));

        // Once the store can be written, the next save keeps everything held.
        FileOps::clearDenied();
        if (kind == "directory")
            QVERIFY(QDir(file()).removeRecursively());
        QVERIFY(Settings::save(Settings::App, "Settings", "LastClass", "Physics"));
        Settings::resetForTests();
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString("Physics"));
        if (kind != "directory" && kind != "unreadable")
            QCOMPARE(Settings::get(Settings::App, "Settings", "LastSemester"), QString("Fall 2026"));
        QCOMPARE(MessageBox::shown().size(), 1);
    }

    void toldAgainAfterReset()
    {
        // Once per run, whichever file fails.
        QVERIFY(QDir().mkpath(file()));
        QVERIFY(QDir().mkpath(Settings::fileFor(Settings::ExeApp)));
        QVERIFY(!Settings::save(Settings::App, "Settings", "LastClass", "Biology"));
        QVERIFY(!Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0"));
        QCOMPARE(MessageBox::shown().size(), 1);
        Settings::resetForTests();
        QVERIFY(!Settings::save(Settings::App, "Settings", "LastClass", "Biology"));
        QCOMPARE(MessageBox::shown().size(), 2);
    }

    void unusualNamesRoundTrip()
    {
        const QStringList names = {QString::fromUtf8("\xc2\xa0nbsp key"), "tab\tinside", "%41", "  two blanks  ", "="};
        for (const QString &n : names)
            QVERIFY(Settings::save(Settings::App, n, n, n + "%41"));
        Settings::resetForTests();
        for (const QString &n : names)
            QCOMPARE(Settings::get(Settings::App, n, n), n + "%41");
        QCOMPARE(Settings::get(Settings::App, "A", "A"), QString());
    }
};

TARVELA_TEST_CLASS(SettingsTest)
#include "tst_settings.moc"
