#include "FileHelpers.h"
#include "TestEnv.h"

#include "platform/FileOps.h"
#include "platform/Settings.h"

#include <QProcess>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

// The settings store: read once and kept, read again when the file changed
// on disk, written only when a value changed, and a file that cannot be
// written told once.
class SettingsTest : public TestCase
{
    Q_OBJECT

    static QString file() { return Settings::fileFor(Settings::App); }
    static QString get(const QString &section, const QString &key) { return Settings::get(Settings::App, section, key); }
    static bool save(const QString &section, const QString &key, const QString &value)
    {
        return Settings::save(Settings::App, section, key, value);
    }

    static struct stat statOf(const QString &path)
    {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) != 0)
            QTest::qFail(qPrintable("no file " + path), __FILE__, __LINE__);
        return st;
    }

    // Sets the file's modification time, `seconds` after `when`.
    static bool setModified(const struct timespec &when, int seconds = 0)
    {
        struct timespec t = when;
        t.tv_sec += seconds;
        const struct timespec times[2] = {t, t};
        return ::utimensat(AT_FDCWD, QFile::encodeName(file()).constData(), times, 0) == 0;
    }

private Q_SLOTS:
    void readOnceAndReadAgainWhenChangedOnDisk()
    {
        QVERIFY(save("AddIns", "AddIn1Desc", "Notes"));
        const int reads = Settings::fileReads();
        for (int i = 0; i < 50; ++i) {
            QCOMPARE(get("AddIns", "AddIn1Desc"), QString("Notes"));
            QCOMPARE(get("AddIns", "AddIn2Desc"), QString());
        }
        QCOMPARE(Settings::fileReads(), reads);

        // Changed behind the store's back with the same size and the same
        // modification time: the kept copy is used, the file is not read.
        const struct stat before = statOf(file());
        QVERIFY(writeBytes(file(), fileBytes(file()).replace("Notes", "Mails")));
        QVERIFY(setModified(before.st_mtim));
        QCOMPARE(get("AddIns", "AddIn1Desc"), QString("Notes"));
        QCOMPARE(Settings::fileReads(), reads);
        // The modification time moves: the file is read again, once.
        QVERIFY(setModified(before.st_mtim, 2));
        QCOMPARE(get("AddIns", "AddIn1Desc"), QString("Mails"));
        QCOMPARE(get("AddIns", "AddIn1Desc"), QString("Mails"));
        QCOMPARE(Settings::fileReads(), reads + 1);

        // A line added: the size changed (the time is put back).
        struct stat st = statOf(file());
        QVERIFY(writeBytes(file(), fileBytes(file()) + "AddIn2Desc=Backup\n"));
        QVERIFY(setModified(st.st_mtim));
        QCOMPARE(get("addins", "ADDIN2DESC"), QString("Backup"));
        // Saved by rename, same size and time: a new inode.
        st = statOf(file());
        QVERIFY(writeBytes(file() + ".new", fileBytes(file()).replace("Backup", "Resync")));
        QVERIFY(::rename(QFile::encodeName(file() + ".new").constData(), QFile::encodeName(file()).constData()) == 0);
        QVERIFY(setModified(st.st_mtim));
        QVERIFY(statOf(file()).st_ino != st.st_ino);
        QCOMPARE(get("AddIns", "AddIn2Desc"), QString("Resync"));

        // A hand edit is not overwritten by the next save of another key.
        QVERIFY(writeBytes(file(), fileBytes(file()) + "AddIn3Desc=Clock\n"));
        QVERIFY(setModified(st.st_mtim, 2));
        QVERIFY(save("Settings", "LastClass", "Biology"));
        Settings::resetForTests();
        QCOMPARE(get("AddIns", "AddIn3Desc"), QString("Clock"));
        QCOMPARE(get("Settings", "LastClass"), QString("Biology"));
        // The file removed: every key reads "" again.
        QVERIFY(QFile::remove(file()));
        QCOMPARE(get("AddIns", "AddIn1Desc"), QString());
    }

    void aSectionIsReadAsTheKeysAreReadOneByOne()
    {
        QVERIFY(writeBytes(file(), "[ClassFolders]\nBiology=Red\nbiology=Blue\nArt %3D Craft=Green\n\n"
                                  "[classfolders]\nChemistry=Yellow\n\n[Other]\nMusic=Pink\n"));
        const Settings::SectionValues colours = Settings::section(Settings::App, "CLASSFOLDERS");
        for (const char *key : {"Biology", "BIOLOGY", "Art = Craft", "Chemistry", "Music", "Nothing"})
            QCOMPARE(colours.value(key), get("ClassFolders", key));
        QCOMPARE(colours.value("biology"), QString("Red")); // the first line of a key counts
        QCOMPARE(colours.value("Chemistry"), QString());    // only the first section of a name
        QCOMPARE(Settings::section(Settings::App, "Missing").value("Biology"), QString());
    }

    void savesInABatchAreWrittenOnceAtItsEnd()
    {
        QVERIFY(save("Settings", "LastClass", "Biology"));
        const int writes = Settings::fileWrites();
        {
            Settings::Batch outer;
            QVERIFY(save("Settings", "LastClass", "Chemistry"));
            {
                Settings::Batch inner;
                QVERIFY(save("Settings", "LastSemester", "Fall 2026"));
                QVERIFY(save("Settings", "LastClass", "Art"));
            }
            // Read back at once, written only when the outer batch ends.
            QCOMPARE(get("Settings", "LastClass"), QString("Art"));
            QCOMPARE(Settings::fileWrites(), writes);
            QCOMPARE(fileBytes(file()), QByteArray("[Settings]\nLastClass=Biology\n\n"));
        }
        QCOMPARE(Settings::fileWrites(), writes + 1);
        QCOMPARE(fileBytes(file()), QByteArray("[Settings]\nLastClass=Art\nLastSemester=Fall 2026\n\n"));
        // Nothing changed in a batch: nothing written.
        {
            Settings::Batch batch;
            QVERIFY(save("Settings", "LastClass", "Art"));
        }
        QCOMPARE(Settings::fileWrites(), writes + 1);
    }

    void sameValueIsNotWritten()
    {
        QVERIFY(save("Settings", "LastClass", "Biology"));
        QVERIFY(save("Settings", "LastSemester", "Fall 2026"));
        const struct stat before = statOf(file());
        const int writes = Settings::fileWrites();

        QVERIFY(save("Settings", "LastClass", "Biology"));
        QVERIFY(save("SETTINGS", "lastclass", "Biology"));
        QVERIFY(Settings::save(Settings::App, "Settings", {{"LastSemester", "Fall 2026"}, {"LastClass", "Biology"}}));
        QCOMPARE(Settings::fileWrites(), writes);
        struct stat after = statOf(file());
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

        // A value differing only in letter case is a change, written to a
        // new file renamed into place.
        QVERIFY(save("Settings", "LastClass", "biology"));
        QCOMPARE(Settings::fileWrites(), writes + 1);
        QVERIFY(statOf(file()).st_ino != before.st_ino);

        // Several keys, one of them changed: one write; the key keeps the
        // spelling it was first written with.
        QVERIFY(Settings::save(Settings::App, "Settings", {{"LastSemester", "Spring 2027"}, {"LASTCLASS", "biology"}}));
        QCOMPARE(Settings::fileWrites(), writes + 2);
        QCOMPARE(fileBytes(file()), QByteArray("[Settings]\nLastClass=biology\nLastSemester=Spring 2027\n\n"));

        // A key never written is written even with an empty value.
        QVERIFY(save("Settings", "Empty", ""));
        QCOMPARE(Settings::fileWrites(), writes + 3);
        QVERIFY(fileBytes(file()).contains("\nEmpty=\n"));
    }

    void linesNotUnderstoodAreKept()
    {
        QVERIFY(writeBytes(file(), "; written by hand\n"
                                  "[ AddIns ]\n"
                                  "  AddIn1Desc\t=Notes\n"
                                  "this line has no equals sign\n"
                                  "AddIn1Cmd=notes --new \n"
                                  "[Settings\n"
                                  "\t[Settings]  \r\n"
                                  " LastClass = Biology\r\n"
                                  "\x01\x02 binary-ish\n"));
        // Blanks around the key are not part of it; the value keeps its own.
        const auto values = [] {
            return QStringList{get("AddIns", "AddIn1Desc"), get("AddIns", "AddIn1Cmd"), get("Settings", "LastClass")};
        };
        QCOMPARE(values(), QStringList({"Notes", "notes --new ", " Biology"}));

        QVERIFY(save("Settings", "LastSemester", "Fall 2026"));
        QCOMPARE(fileBytes(file()), QByteArray("; written by hand\n"
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
                                              "\n"));
        Settings::resetForTests();
        QCOMPARE(values(), QStringList({"Notes", "notes --new ", " Biology"}));
        QCOMPARE(get("Settings", "LastSemester"), QString("Fall 2026"));
    }

    void earlierFilesReadBackUnchanged()
    {
        // A file as the store has always written it.
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
        QVERIFY(writeBytes(file(), written));
        QCOMPARE(get("ClassFolders", "C/C++ 101"), QString("Red"));
        QCOMPARE(get("ClassFolders", " blank "), QString("x = y; 'q' \"qq\""));
        QCOMPARE(get("ClassFolders", "blank"), QString());
        QCOMPARE(get("ClassFolders", "100% sure"), QString("line\nbreak\r"));
        QCOMPARE(get("ClassFolders", "[Bracket]"), QString("\ttab\t"));
        QCOMPARE(get("classfolders", QString::fromUtf8("\xc3\x89T\xc3\x89 2026")), QString::fromUtf8("\xc2\xa0nbsp\xc2\xa0"));
        QCOMPARE(get("A=B", "K"), QString("50%"));

        // Written back, every line stands as it did.
        QVERIFY(save("ClassFolders", "C/C++ 101", "Blue"));
        QCOMPARE(fileBytes(file()), QByteArray(written).replace("C/C++ 101=Red", "C/C++ 101=Blue").replace("k=50%", "k=50%25"));
    }

    void anyCharactersRoundTrip()
    {
        const QStringList names = {"Women's Studies", "C/C++ 101", "a\\b", "x=y;z", "[Bracket]", "Été 2026", "100% sure",
                                   "line\nbreak", QString::fromUtf8("\xc2\xa0nbsp key"), "tab\tinside", "%41",
                                   "  two blanks  ", "="};
        for (const QString &n : names)
            QVERIFY(save(n, n, n + " = value; 'quoted' \"too\" %41"));
        Settings::resetForTests();
        for (const QString &n : names)
            QCOMPARE(get(n, n), n + " = value; 'quoted' \"too\" %41");
        // Keys and sections match without regard to letter case; missing reads "".
        QCOMPARE(get("women's studies", "WOMEN'S STUDIES"), "Women's Studies = value; 'quoted' \"too\" %41");
        QCOMPARE(get("A", "A"), QString());
        QCOMPARE(Settings::get("Other App", "C/C++ 101", "C/C++ 101"), QString());
        // One file per application name, under XDG_CONFIG_HOME.
        QVERIFY(file().startsWith(TestEnv::configFolder()));
        QVERIFY(!QFile::exists(Settings::fileFor(Settings::ExeApp)));
    }

    // Copies of the program started from different program folders share
    // the user's settings file: saving at the same time, none loses a key
    // another saved.
    void savesOfProgramsAtTheSameTimeAreAllKept()
    {
        constexpr int count = 300;
        QVERIFY(save("Settings", "LastClass", "Biology"));
        std::vector<std::unique_ptr<QProcess>> copies;
        for (const char *prefix : {"first", "second"}) {
            copies.push_back(std::make_unique<QProcess>());
            copies.back()->start(TestEnv::helperProgram(), {"settings", prefix, QString::number(count)});
            QVERIFY(copies.back()->waitForStarted(20000));
        }
        // This one saves too while they do.
        const auto running = [&] {
            return std::any_of(copies.begin(), copies.end(), [](const auto &p) { return p->state() != QProcess::NotRunning; });
        };
        int own = 0;
        for (; running() && own < 5000; ++own) {
            QVERIFY(save("Probe", QString("third%1").arg(own), QString::number(own)));
            QCoreApplication::processEvents();
        }
        for (auto &p : copies) {
            QVERIFY(p->state() == QProcess::NotRunning || p->waitForFinished(120000));
            QCOMPARE(p->readAllStandardOutput().trimmed(), QByteArray("saved 300"));
        }
        Settings::resetForTests();
        QStringList lost;
        for (const auto &[prefix, saved] : {std::pair{"first", count}, {"second", count}, {"third", own}})
            for (int n = 0; n < saved; ++n)
                if (get("Probe", QString("%1%2").arg(prefix).arg(n)) != QString::number(n))
                    lost << QString("%1%2").arg(prefix).arg(n);
        QVERIFY2(lost.isEmpty(), qPrintable(QString("%1 keys lost: %2").arg(lost.size()).arg(lost.mid(0, 10).join(", "))));
        QCOMPARE(get("Settings", "LastClass"), QString("Biology"));
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
        QVERIFY(save("Settings", "LastClass", "Biology"));
        if (kind == "file") {
            FileOps::denyChanges(file());
        } else if (kind == "folder") {
            FileOps::denyChanges(Settings::folder());
        } else if (kind == "directory") {
            QVERIFY(QFile::remove(file()));
            QVERIFY(QDir().mkpath(file()));
        } else {
            FileOps::denyReading(file());
            QVERIFY(setModified(statOf(file()).st_mtim, 2));
        }
        const auto onDisk = [] { return QFileInfo(file()).isDir() ? QByteArray("<folder>") : fileBytes(file()); };
        const QByteArray before = onDisk();

        QList<Settings::Failure> told;
        Settings::setFailureReport([&](const Settings::Failure &f) { told << f; });
        QVERIFY(!save("Settings", "LastClass", "Chemistry"));
        QVERIFY(!save("Settings", "LastSemester", "Fall 2026"));
        QCOMPARE(told.size(), 1);
        QCOMPARE(told.first().file, file());
        QVERIFY2(told.first().problem.contains(reason), qPrintable(told.first().problem));
        QVERIFY(MessageBox::shown().isEmpty()); // the settings store shows no window itself
        // Once per run, whichever file fails.
        QVERIFY(QDir().mkpath(Settings::fileFor(Settings::ExeApp)));
        QVERIFY(!Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0"));
        QCOMPARE(told.size(), 1);

        // Nothing on disk changed; a save of an unchanged value is quiet too.
        QCOMPARE(onDisk(), before);
        QVERIFY(!save("Settings", "LastSemester", "Fall 2026"));
        QCOMPARE(told.size(), 1);
        // The program goes on with what it was given.
        QCOMPARE(get("Settings", "LastClass"), QString("Chemistry"));

        // Once the store can be written, the next save keeps everything held
        // (and what a file that could not be read holds).
        FileOps::clearDenied();
        if (kind == "directory")
            QVERIFY(QDir(file()).removeRecursively());
        QVERIFY(save("Settings", "LastClass", "Physics"));
        Settings::resetForTests();
        QCOMPARE(get("Settings", "LastClass"), QString("Physics"));
        QCOMPARE(get("Settings", "LastSemester"), QString("Fall 2026"));
        QCOMPARE(told.size(), 1);
        // Told again in the next run.
        QVERIFY(!Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0"));
        QCOMPARE(told.size(), 2);
        Settings::setFailureReport({});
    }
};

TARVELA_TEST_CLASS(SettingsTest)
#include "tst_settings.moc"
