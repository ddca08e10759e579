#include "TestEnv.h"

#include "platform/CellText.h"
#include "platform/Controls.h"
#include "platform/DateText.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTreeWidget>

namespace {
// Counts the events of a kind a widget receives, and where it is drawn.
struct EventCount : QObject {
    QEvent::Type type;
    int count = 0;
    QRegion drawn;
    EventCount(QWidget *w, QEvent::Type t) : QObject(w), type(t) { w->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *e) override
    {
        count += e->type() == type ? 1 : 0;
        if (e->type() == QEvent::Paint)
            drawn += static_cast<QPaintEvent *>(e)->region();
        return false;
    }
};

bool activate(QWidget *w)
{
    w->activateWindow();
    const bool active = QTest::qWaitForWindowActive(w, 2000);
    QCoreApplication::processEvents();
    return active;
}
} // namespace

// The program's name, folders, the date and time forms it reads and
// writes, and how its lists draw themselves.
class PlatformTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void windowTitlesCarryNoProgramName()
    {
        // The platform would add a display name to every window title
        // ("No Database — Tarvela Desk"): none is set.
        Platform::nameApplication();
        QCOMPARE(QCoreApplication::applicationName(), QString("TarvelaDesk"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    }

    void datesInTheFormsUsersType_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("M/d/yyyy") << "12/9/2026" << QVariant(QDate(2026, 12, 9));
        QTest::newRow("mm/dd/yyyy") << "02/03/2027" << QVariant(QDate(2027, 2, 3));
        QTest::newRow("two-digit 29") << "1/2/29" << QVariant(QDate(2029, 1, 2));
        QTest::newRow("two-digit 30") << "1/2/30" << QVariant(QDate(1930, 1, 2));
        QTest::newRow("iso") << "2026-12-09" << QVariant(QDate(2026, 12, 9));
        QTest::newRow("3:00 PM") << "3:00 PM" << QVariant(QTime(15, 0));
        QTest::newRow("3:00 pm") << "3:00 pm" << QVariant(QTime(15, 0));
        QTest::newRow("15:00") << "15:00" << QVariant(QTime(15, 0));
        QTest::newRow("3 PM") << "3 PM" << QVariant(QTime(15, 0));
        QTest::newRow("12:30 AM") << "12:30 AM" << QVariant(QTime(0, 30));
        QTest::newRow("12:05 PM") << "12:05 PM" << QVariant(QTime(12, 5));
        QTest::newRow("long time") << "3:05:09 AM" << QVariant(QTime(3, 5, 9));
        QTest::newRow("both") << "12/9/2026 3:00 PM" << QVariant(QDateTime(QDate(2026, 12, 9), QTime(15, 0)));
        QTest::newRow("1500") << "1500" << QVariant();
        QTest::newRow("13 PM") << "13 PM" << QVariant();
        QTest::newRow("2/30/2026") << "2/30/2026" << QVariant();
        QTest::newRow("empty") << "" << QVariant();
        QTest::newRow("words") << "tomorrow" << QVariant();
    }
    void datesInTheFormsUsersType()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        QCOMPARE(DateText::parse(text), expected);
    }

    void writtenForms()
    {
        QCOMPARE(DateText::mmddyyyy(QDate(2026, 3, 4)), QString("03/04/2026"));
        QCOMPARE(DateText::shortDate(QDate(2026, 3, 4)), QString("3/4/2026"));
        QCOMPARE(DateText::hmmAmPm(QTime(0, 5)), QString("12:05 AM"));
        QCOMPARE(DateText::hmmAmPm(QTime(15, 0)), QString("3:00 PM"));
        QCOMPARE(DateText::hhmmAmPm(QTime(9, 7)), QString("09:07 AM"));
        QCOMPARE(DateText::general(QVariant(QTime(15, 0))), QString("3:00:00 PM"));
    }

    // A list draws its cells again when its window becomes active or
    // inactive only where the two states look different; a box open in a
    // cell is still told.
    void listsDrawAgainOnActivationOnlyWhereItShows()
    {
        QWidget window;
        window.setGeometry(10, 40, 300, 230);
        QTableWidget table(3, 2, &window);
        table.setGeometry(0, 0, 300, 200);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c)
                table.setItem(r, c, new QTableWidgetItem(QString("cell %1 %2").arg(r).arg(c)));
        auto *box = new QLineEdit(&window);
        box->move(0, 205);
        keepCellsOnActivation(&table);
        window.show();
        QWidget other; // beside it, hiding none of it
        other.setGeometry(400, 40, 100, 100);
        other.show();
        QVERIFY(activate(&window));
        table.setCurrentCell(0, 0);
        box->setFocus();
        for (int i = 0; i < 5; ++i) // what that draws is drawn
            QCoreApplication::processEvents();
        const QPoint farCell = table.visualItemRect(table.item(2, 1)).center();
        auto *painted = new EventCount(table.viewport(), QEvent::Paint);
        QVERIFY(activate(&other));
        QVERIFY(activate(&window));
        QVERIFY(!painted->drawn.contains(farCell));
        // Drawn otherwise when inactive: drawn again.
        QPalette palette = table.palette();
        palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::gray);
        table.setPalette(palette);
        QCoreApplication::processEvents();
        painted->drawn = QRegion();
        QVERIFY(activate(&other));
        QVERIFY(painted->drawn.contains(farCell));
        // A cell being typed into hears of it.
        QVERIFY(activate(&window));
        table.editItem(table.item(0, 0));
        auto *editor = table.viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        table.setPalette(QPalette());
        const auto *told = new EventCount(editor, QEvent::WindowDeactivate);
        QVERIFY(activate(&other));
        QCOMPARE(told->count, 1);
    }

    // The cells of a list drawn from texts laid out once look exactly as
    // the style draws them, the first time and again: short and cut-off
    // texts, several lines, every script, check boxes, pictures, numbers to
    // the right, chosen, current and disabled cells.
    void cellsLookAsTheStyleDrawsThem()
    {
        const QStringList texts = {"Homework 3: Photosynthesis", "Essay on the history of a long title cut off somewhere",
                                   "\u03A3\u039F\u03A6\u0399\u0391 essay", "\u00DCbung zur \u00C4rztekammer",
                                   "\u05E9\u05DC\u05D5\u05DD hello", "\u0645\u0631\u062D\u0628\u0627", "Party \U0001F600 time",
                                   "", "12", "  leading blanks", "two\nlines", "fi office", "x\u0301y"};
        QPixmap picture(16, 16);
        picture.fill(Qt::blue);
        for (const bool wrap : {false, true}) {
            QTableWidget table(int(texts.size()), 4);
            table.setWordWrap(wrap);
            table.resize(640, 480);
            for (int r = 0; r < texts.size(); ++r) {
                table.setItem(r, 0, new QTableWidgetItem(texts.at(r)));
                table.setItem(r, 1, new QTableWidgetItem(texts.at((r + 3) % texts.size())));
                auto *checked = new QTableWidgetItem(texts.at((r + 5) % texts.size()));
                checked->setCheckState(Qt::CheckState(r % 3));
                checked->setIcon(QIcon(picture));
                table.setItem(r, 2, checked);
                auto *number = new QTableWidgetItem(QString::number(r * 37));
                number->setTextAlignment(r % 2 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
                table.setItem(r, 3, number);
            }
            table.setColumnWidth(0, 150);
            table.setColumnWidth(1, 210);
            table.item(3, 1)->setFlags(Qt::NoItemFlags);
            table.show();
            QVERIFY(activate(&table));
            table.selectRow(4);
            table.setCurrentCell(5, 0);
            QTreeWidget tree;
            tree.setHeaderHidden(true);
            tree.resize(240, 300);
            for (int i = 0; i < 5; ++i) {
                auto *node = new QTreeWidgetItem(&tree, QStringList{texts.at(i)});
                node->setIcon(0, QIcon(picture));
                new QTreeWidgetItem(node, QStringList{texts.at(i + 5)});
                node->setExpanded(true);
            }
            tree.setCurrentItem(tree.topLevelItem(1));
            for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(&table), static_cast<QAbstractItemView *>(&tree)}) {
                const QImage byStyle = view->grab().toImage();
                view->setItemDelegate(new CellTextDelegate(view));
                QCOMPARE(view->grab().toImage(), byStyle);
                QCOMPARE(view->grab().toImage(), byStyle); // drawn again from what was laid out
            }
        }
    }

    void programFolderAndDriveA()
    {
        QCOMPARE(Platform::programFolder(), TestEnv::programFolder());
        QCOMPARE(Platform::driveAFolder(), TestEnv::driveA());
        QVERIFY(!Platform::fileExistsNoCase(TestEnv::programFolder(), "tarvela.mdb"));
        QFile f(TestEnv::programFolder() + "/TARVELA.MDB");
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(Platform::fileExistsNoCase(TestEnv::programFolder(), "tarvela.mdb"));
        QCOMPARE(Platform::findFileNoCase(TestEnv::programFolder(), "tarvela.mdb"), f.fileName());
    }

    void programFolderChoice_data()
    {
        QTest::addColumn<QString>("tarvelaHome");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("TARVELA_HOME") << "/srv/desk/" << false << "/x" << "/srv/desk";
        QTest::newRow("TARVELA_HOME, writable") << "/srv/desk" << true << "" << "/srv/desk";
        QTest::newRow("writable") << "" << true << "/x" << "/opt/td/bin";
        QTest::newRow("read-only") << "" << false << "/x/data" << "/x/data/tarvela-desk";
        QTest::newRow("read-only, no XDG_DATA_HOME") << "" << false << "" << "/home/ann/.local/share/tarvela-desk";
        QTest::newRow("read-only, relative XDG_DATA_HOME") << "" << false << "data" << "/home/ann/.local/share/tarvela-desk";
    }
    void programFolderChoice()
    {
        QFETCH(QString, tarvelaHome);
        QFETCH(bool, writable);
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, expected);
        QCOMPARE(Platform::chooseProgramFolder(tarvelaHome, "/opt/td/bin", writable, xdgDataHome, "/home/ann"), expected);
    }

    void readOnlyProgramKeepsItsDataInTheUsersFolder()
    {
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        TestEnv::addResetHook([dataHome] {
            if (dataHome.isEmpty())
                qunsetenv("XDG_DATA_HOME");
            else
                qputenv("XDG_DATA_HOME", dataHome);
        });
        qunsetenv("TARVELA_HOME");
        qputenv("XDG_DATA_HOME", (TestEnv::root() + "/data").toUtf8());
        QCOMPARE(Platform::programFolder(), QCoreApplication::applicationDirPath());
        FileOps::denyChanges(QCoreApplication::applicationDirPath());
        QCOMPARE(Platform::programFolder(), TestEnv::root() + "/data/tarvela-desk");
        QVERIFY(QFileInfo(TestEnv::root() + "/data/tarvela-desk").isDir());
    }

    void programFilesFromTheProgramFolderElseTheInstalledOnes_data()
    {
        QTest::addColumn<QStringList>("inProgramFolder");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both") << QStringList{"TIPOFDAY.TXT"} << QStringList{"TIPOFDAY.TXT"} << "program/TIPOFDAY.TXT";
        QTest::newRow("installed only") << QStringList{} << QStringList{"TIPOFDAY.TXT"} << "installed/TIPOFDAY.TXT";
        QTest::newRow("installed, other case") << QStringList{"tipofday.bak"} << QStringList{"tipofday.txt"} << "installed/tipofday.txt";
        QTest::newRow("neither") << QStringList{} << QStringList{} << "program/TIPOFDAY.TXT";
    }
    void programFilesFromTheProgramFolderElseTheInstalledOnes()
    {
        QFETCH(QStringList, inProgramFolder);
        QFETCH(QStringList, installed);
        QFETCH(QString, expected);
        const QString root = TestEnv::root();
        QVERIFY(QDir().mkpath(root + "/installed"));
        for (const auto &[folder, names] : {std::pair{QString("program"), inProgramFolder}, std::pair{QString("installed"), installed}}) {
            for (const QString &name : names) {
                QFile f(root + "/" + folder + "/" + name);
                QVERIFY(f.open(QIODevice::WriteOnly));
            }
        }
        QCOMPARE(Platform::programFilePath("TIPOFDAY.TXT", root + "/program", root + "/installed"), root + "/" + expected);
    }
};

TARVELA_TEST_CLASS(PlatformTest)
#include "tst_platform.moc"
