#include "FileHelpers.h"
#include "TestEnv.h"

#include "platform/FileLists.h"
#include "platform/FileOps.h"
#include "platform/RuntimeError.h"

// The place, folder and file lists of the file picker.
class FileListsTest : public TestCase
{
    Q_OBJECT

    static QString tree() { return TestEnv::root() + "/tree"; }

    static void makeTree()
    {
        for (const char *d : {"b folder", "A folder", ".hidden folder", "c folder/inner"})
            QVERIFY(QDir().mkpath(tree() + "/" + d));
        for (const char *f : {"zeta.txt", "Alpha.doc", "beta's notes.txt", ".secret"})
            QVERIFY(writeBytes(tree() + "/" + f, "x"));
    }

public:
    FileListsTest() { TestEnv::addResetHook([] { FileLists::setMediaForTests({}); }); }

private Q_SLOTS:
    void pathsJoinWithOneSeparator()
    {
        QCOMPARE(FileLists::joinPath("/", "a.txt"), QString("/a.txt"));
        QCOMPARE(FileLists::joinPath("/home/kim", "a.txt"), QString("/home/kim/a.txt"));
        QCOMPARE(FileLists::joinPath("/home/kim/", "Bob's paper.odt"), QString("/home/kim/Bob's paper.odt"));
    }

    void placesAreRootHomeAndMedia()
    {
        FileLists::setMediaForTests({{"USB (/media/usb)", "/media/usb"}});
        QStringList paths;
        for (const FileLists::Place &p : FileLists::places())
            paths << p.path;
        QCOMPARE(paths, QStringList({"/", QDir::cleanPath(QDir::homePath()), "/media/usb"}));
        DriveList drives;
        QCOMPARE(drives.count(), 3);
        QCOMPARE(drives.drive(), QString("/"));
        drives.setDrive("/media/usb/papers/old");
        QCOMPARE(drives.drive(), QString("/media/usb"));
        drives.setDrive("/srv/elsewhere");
        QCOMPARE(drives.drive(), QString("/"));
        // Media that went away drop out when the list is filled again; the choice falls back.
        FileLists::setMediaForTests({});
        drives.setDrive("/media/usb");
        drives.refill();
        QVERIFY(drives.findData("/media/usb") < 0);
        QCOMPARE(drives.drive(), QString("/"));
    }

    void foldersFromTheRootDownAndBelow()
    {
        makeTree();
        FolderList dirs;
        QSignalSpy changes(&dirs, &FolderList::Change);
        dirs.setPath(tree());
        QCOMPARE(dirs.path(), tree());
        QCOMPARE(changes.size(), 1);
        QStringList chain;
        for (QString p = tree(); chain.isEmpty() || chain.first() != "/"; p = QFileInfo(p).absolutePath())
            chain.prepend(p);
        // The chain, then the folder's own folders by name, letter case aside; hidden ones not listed.
        QCOMPARE(dirs.entries(), chain + QStringList({tree() + "/A folder", tree() + "/b folder", tree() + "/c folder"}));
        QCOMPARE(dirs.currentItem()->data(0, Qt::UserRole).toString(), tree());
        dirs.setPath(tree() + "/");
        QCOMPARE(changes.size(), 1); // the same folder
        const QStringList before = dirs.entries();

        // Unreadable folders are refused, and the list stays.
        QString why;
        QCOMPARE(TestEnv::errorNumber([&] { dirs.setPath(tree() + "/missing"); }, &why), 76);
        QVERIFY2(why.contains(tree() + "/missing"), qPrintable(why));
        FileOps::denyReading(tree() + "/A folder");
        QCOMPARE(TestEnv::errorNumber([&] { dirs.setPath(tree() + "/A folder"); }, &why), 70);
        QVERIFY2(why.contains("permission"), qPrintable(why));
        QCOMPARE(dirs.path(), tree());
        QCOMPARE(dirs.entries(), before);
        // Double-clicking such a folder tells why instead of raising.
        QSignalSpy refused(&dirs, &FolderList::refused);
        QTreeWidgetItem *denied = nullptr;
        for (QTreeWidgetItemIterator it(&dirs); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toString() == tree() + "/A folder")
                denied = *it;
        QVERIFY(denied);
        Q_EMIT dirs.itemActivated(denied, 0);
        QCOMPARE(refused.size(), 1);
        QCOMPARE(dirs.path(), tree());
        // Any other folder still opens; the root lists no empty entry.
        Q_EMIT dirs.itemActivated(dirs.topLevelItem(0), 0);
        QCOMPARE(dirs.path(), QString("/"));
        QCOMPARE(dirs.entries().first(), QString("/"));
        QVERIFY(!dirs.entries().contains(QString()));
    }

    void filesOfTheFolderWithoutHiddenOnes()
    {
        makeTree();
        FileList files;
        files.setPath(tree());
        QCOMPARE(files.names(), QStringList({"Alpha.doc", "beta's notes.txt", "zeta.txt"}));
        QCOMPARE(files.fileName(), QString()); // nothing chosen yet
        QVERIFY(files.selectFile("beta's notes.txt"));
        QCOMPARE(files.fileName(), QString("beta's notes.txt"));
        QVERIFY(!files.selectFile(".secret"));
        files.setPath(tree() + "/c folder");
        QVERIFY(files.names().isEmpty());
        QCOMPARE(files.fileName(), QString());
        FileOps::denyReading(tree());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, files.setPath(tree()));
        QCOMPARE(files.path(), tree() + "/c folder");
    }
};

TARVELA_TEST_CLASS(FileListsTest)
#include "tst_filelists.moc"
