// tarvela_bench: times what the user waits for in the main window and the
// windows it opens, on a generated ten-year database at 1x and 10x the
// assignments, against raw SQLite running the same statements.
//
//   tarvela_bench [--quick] [--only <action>[,<action>...]] [--size 1x|10x]
//                 [--runs N] [--sql] [--data <folder>]
#include "Dataset.h"
#include "Harness.h"
#include "SqlTrace.h"

#include "calendar/frmCalendar.h"
#include "calendar/frmToday.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmSearch.h"
#include "platform/Clock.h"
#include "platform/Form.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/ProgramLock.h"
#include "platform/Settings.h"
#include "quizzer/Quizzer.h"
#include "quizzer/frmQuizBuilder.h"
#include "setup/ClassTransfer.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/Database.h"
#include "store/GradeBookQueries.h"
#include "store/clsTarvelaDB.h"
#include "store/modTransport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

using Harness::Action;
using Harness::drain;

namespace {

struct Options {
    bool quick = false;
    QStringList only;
    QStringList sizes{QStringLiteral("1x"), QStringLiteral("10x")};
    bool sizeGiven = false;
    int runs = 0;
    QString data;
    bool sql = false;
};

const QStringList &actionKeys()
{
    static const QStringList keys = {QStringLiteral("startup"), QStringLiteral("activation"), QStringLiteral("tree"),
                                     QStringLiteral("class"),   QStringLiteral("semester"),   QStringLiteral("points"),
                                     QStringLiteral("edit"),    QStringLiteral("gpa"),        QStringLiteral("today"),
                                     QStringLiteral("calendar"), QStringLiteral("search"),    QStringLiteral("nohits"),
                                     QStringLiteral("quiz"),     QStringLiteral("import")};
    return keys;
}

// The medians (ms) some actions should reach at each database size. An
// action without a row here keeps the target its own entry gives at both.
struct SizeTarget {
    const char *key;
    double at1x;
    double at10x;
};
constexpr SizeTarget SizeTargets[] = {
    {"activation", 5, 5},
    {"class", 5, 5},
    {"calendar", 10, 16},
    {"search", 5, 16},
    {"nohits", 5, 16},
    {"quiz", 8, 8},
};

void applyTargets(QVector<Harness::Action> &actions, int factor)
{
    for (Harness::Action &a : actions)
        for (const SizeTarget &t : SizeTargets)
            if (a.key == QLatin1String(t.key))
                a.targetMs = factor == 10 ? t.at10x : t.at1x;
}

void usage()
{
    std::fprintf(stderr,
                 "usage: tarvela_bench [--quick] [--only ACTION[,ACTION...]] [--size 1x|10x] [--runs N] [--sql] [--data FOLDER]\n"
                 "  --quick  a few runs per action, a smoke check\n"
                 "  --only   the named actions only\n"
                 "  --size   one database size only (default: 1x, then 10x, each in a process of its own)\n"
                 "  --runs   exactly N timed runs per action\n"
                 "  --sql    the statements of one run of each action after the table\n"
                 "  --data   where the generated databases are kept (default: build/bench-data)\n"
                 "actions: %s\n",
                 qPrintable(actionKeys().join(QStringLiteral(", "))));
}

bool parse(const QStringList &args, Options &o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString a = args.at(i);
        auto value = [&]() -> QString { return i + 1 < args.size() ? args.at(++i) : QString(); };
        if (a == QLatin1String("--quick")) {
            o.quick = true;
        } else if (a == QLatin1String("--only")) {
            for (const QString &k : value().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                if (!actionKeys().contains(k)) {
                    std::fprintf(stderr, "unknown action: %s\n", qPrintable(k));
                    return false;
                }
                o.only << k;
            }
        } else if (a == QLatin1String("--size")) {
            const QString s = value();
            if (s != QLatin1String("1x") && s != QLatin1String("10x")) {
                std::fprintf(stderr, "unknown size: %s\n", qPrintable(s));
                return false;
            }
            o.sizes = {s};
            o.sizeGiven = true;
        } else if (a == QLatin1String("--runs")) {
            o.runs = value().toInt();
        } else if (a == QLatin1String("--sql")) {
            o.sql = true;
        } else if (a == QLatin1String("--data")) {
            o.data = value();
        } else {
            return false;
        }
    }
    return true;
}

Dataset::Shape shapeOf(const QString &size)
{
    Dataset::Shape shape;
    shape.factor = size == QLatin1String("10x") ? 10 : 1;
    return shape;
}

QString dataFolder(const Options &o, const QString &size)
{
    const QString base = !o.data.isEmpty() ? o.data : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../bench-data"));
    return QDir::cleanPath(QDir(base).filePath(size));
}

bool copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo &f : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(f.fileName());
        if (f.isDir() ? !copyFolder(f.filePath(), target) : !QFile::copy(f.filePath(), target))
            return false;
    }
    return true;
}

// Closes every window without its unload handling (no compaction window,
// no return to the main window), as the tests do.
void disposeAll()
{
    for (int pass = 0; pass < 3; ++pass) {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            w->hide();
            w->deleteLater();
        }
        drain();
    }
}

// Everything a run of the program holds goes: its windows, its connections,
// the settings it read and its lock on the folder.
void endProgram()
{
    disposeAll();
    Database::closeAll();
    Settings::resetForTests();
    ProgramLock::release();
}

void dispose(QWidget *w)
{
    if (!w)
        return;
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->hide();
    w->deleteLater();
    drain();
}

template <class T> T *child(QWidget *w, const char *name)
{
    return w ? w->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

// The main window's timers would fire in the middle of timed runs.
void quietTimers(frmMain *m)
{
    for (const char *name : {"tmrCalculateGPA", "tmrTimeDate", "tmrCheckCalendar"})
        if (auto *t = child<QTimer>(m, name))
            t->stop();
}

class Bench
{
public:
    explicit Bench(const Options &o) : m_options(o) {}

    int runSize(const QString &size)
    {
        const Dataset::Shape shape = shapeOf(size);
        const QString source = dataFolder(m_options, size);
        QString error;
        if (!Dataset::ensure(source, shape, &error)) {
            std::fprintf(stderr, "cannot make the %s database: %s\n", qPrintable(size), qPrintable(error));
            return 1;
        }
        // A fresh copy: the runs write settings and grid edits.
        QTemporaryDir root;
        const QString program = root.filePath(QStringLiteral("program"));
        const QString config = root.filePath(QStringLiteral("config"));
        QDir().mkpath(program);
        QDir().mkpath(root.filePath(QStringLiteral("a")));
        if (!QFile::copy(QDir(source).filePath(clsTarvelaDB::databaseFileName()), QDir(program).filePath(clsTarvelaDB::databaseFileName()))
            || !copyFolder(Dataset::configFolder(source), config)) {
            std::fprintf(stderr, "cannot copy the %s database into %s\n", qPrintable(size), qPrintable(root.path()));
            return 1;
        }
        qputenv("TARVELA_HOME", program.toUtf8());
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        qputenv("TARVELA_DRIVE_A", root.filePath(QStringLiteral("a")).toUtf8());
        Clock::set(QDateTime(Dataset::today(), QTime(9, 0)));
        frmMain::splashMilliseconds = 0;
        MessageBox::clearShown();

        std::fprintf(stderr, "Timing %s (%s runs per action):\n", qPrintable(size), m_options.quick ? "3" : "up to 40");
        Harness::Runner runner(QDir(program).filePath(clsTarvelaDB::databaseFileName()), m_options.quick, m_options.runs);
        QVector<Harness::Outcome> outcomes;
        QVector<Action> all = actions();
        applyTargets(all, shape.factor);
        for (const Action &a : std::as_const(all)) {
            if (!m_options.only.isEmpty() && !m_options.only.contains(a.key))
                continue;
            outcomes << runner.measure(a);
        }
        // The program's lock goes before its folder does.
        endProgram();
        const double peak = Harness::peakMemoryMB();
        Harness::printTable(QStringLiteral("Tarvela Desk benchmark, %1: %2 semesters, %3 classes, %4 assignments, %5 calendar "
                                           "items, %6 tasks, %7 quizzes x %8 questions, %9 contacts")
                                .arg(size)
                                .arg(shape.semesters)
                                .arg(shape.semesters * shape.classesPerSemester)
                                .arg(Harness::grouped(shape.assignments()))
                                .arg(Harness::grouped(shape.calendarItems))
                                .arg(Harness::grouped(shape.tasks))
                                .arg(shape.quizzes)
                                .arg(shape.questionsPerQuiz)
                                .arg(Harness::grouped(shape.contacts))
                                + QStringLiteral("\ntimes in ms; raw = the same statements on one sqlite3 connection, every "
                                                 "column of every row read; conns = connections opened per run"),
                            outcomes, peak, size == QLatin1String("10x") ? 80 : 0, m_options.sql);
        return 0;
    }

private:
    frmMain *main()
    {
        frmMain *m = frmMain::existing();
        if (!m) {
            m = frmMain::instance();
            drain();
        }
        quietTimers(m);
        if (!m->isVisible()) {
            m->show();
            drain();
        }
        return m;
    }

    QTreeWidget *tree() { return child<QTreeWidget>(main(), "SSTree2"); }

    QTreeWidgetItem *node(const QString &text)
    {
        const auto items = tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return items.isEmpty() ? nullptr : items.first();
    }

    // Brings a node into sight and remembers where a click lands on it.
    void aimAt(const QString &text)
    {
        m_target = text;
        m_aim = QPoint();
        QTreeWidgetItem *item = node(text);
        if (!item)
            return;
        tree()->scrollToItem(item);
        drain();
        m_aim = tree()->visualItemRect(item).center();
    }

    void clickAimed()
    {
        if (!m_aim.isNull())
            QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier, m_aim);
        drain();
    }

    QString captionShows(const QString &text)
    {
        if (m_aim.isNull())
            return QStringLiteral("no node ") + m_target;
        auto *grid = child<DataGrid>(main(), "gridAssignments");
        return grid && grid->caption() == text ? QString() : QStringLiteral("the grid does not show ") + text;
    }

    QStringList names(bool classes)
    {
        QStringList out;
        QTreeWidget *t = tree();
        for (int i = 0; i < t->topLevelItemCount(); ++i) {
            QTreeWidgetItem *s = t->topLevelItem(i);
            if (!classes)
                out << s->text(0);
            for (int j = 0; classes && j < s->childCount(); ++j)
                out << s->child(j)->text(0);
        }
        return out;
    }

    QVector<Action> actions()
    {
        QVector<Action> list;

        // Each start finds the program as a new process does: no window, no
        // connection to the file, no settings read, the folder not locked.
        list.push_back({QStringLiteral("startup"), QStringLiteral("start-up beyond the splash"), 60,
                        [] { disposeAll(); },
                        [](int) { endProgram(); },
                        [](int) {
                            frmMain::instance();
                            drain();
                        },
                        [](int) {
                            frmMain *m = frmMain::existing();
                            if (!m || !m->isVisible())
                                return QStringLiteral("the main window was not shown");
                            return Form::activeForm() ? QString() : QStringLiteral("no window was activated");
                        }});

        list.push_back({QStringLiteral("activation"), QStringLiteral("return to the main window"), 5,
                        [this] {
                            main();
                            if (!m_other) {
                                m_other = new Form;
                                m_other->setObjectName(QStringLiteral("benchOtherWindow"));
                                m_other->setWindowTitle(QStringLiteral("another window"));
                                m_other->resize(240, 120);
                                m_other->Show();
                            }
                        },
                        [this](int) {
                            m_other->show();
                            m_other->activateWindow();
                            drain();
                        },
                        [this](int) {
                            main()->activateWindow();
                            drain();
                        },
                        [this](int) {
                            QString problem;
                            if (Form::activeForm() != main())
                                problem = QStringLiteral("the main window's activation did not run");
                            return problem;
                        }});

        list.push_back({QStringLiteral("tree"), QStringLiteral("tree rebuild (RefreshTree)"), 5,
                        [this] { main(); }, nullptr,
                        [this](int) {
                            main()->RefreshTree();
                            drain();
                        },
                        [this](int) {
                            return names(true).size() == 400 ? QString()
                                                             : QStringLiteral("%1 class nodes").arg(names(true).size());
                        }});

        list.push_back({QStringLiteral("class"), QStringLiteral("class click"), 5,
                        [this] {
                            main();
                            m_names = names(true);
                        },
                        [this](int run) { aimAt(m_names.value((run * 37 + 5) % std::max<qsizetype>(1, m_names.size()))); },
                        [this](int) { clickAimed(); },
                        [this](int) { return captionShows(m_target); }});

        list.push_back({QStringLiteral("semester"), QStringLiteral("semester click"), 5,
                        [this] {
                            main();
                            m_names = names(false);
                        },
                        [this](int run) { aimAt(m_names.value((run * 7 + 3) % std::max<qsizetype>(1, m_names.size()))); },
                        [this](int) { clickAimed(); },
                        [this](int) {
                            auto *panel = main()->findChild<QWidget *>(QStringLiteral("SSPanel4"));
                            const QString shown = panel ? panel->property("text").toString() : QString();
                            return m_aim.isNull() ? QStringLiteral("no node ") + m_target
                                : shown.endsWith(m_target) ? QString()
                                                           : QStringLiteral("the status bar shows \"%1\"").arg(shown);
                        }});

        // The grade figures of a closed class of the seventh year, in the
        // main window as the user works in it: the active window.
        auto gradedClass = [this] {
            main()->activateWindow();
            drain();
            const QStringList classes = names(true);
            aimAt(classes.value(std::min<qsizetype>(300, classes.size() - 1)));
            clickAimed();
        };
        list.push_back({QStringLiteral("points"), QStringLiteral("points totals (RefreshPoints)"), 1, gradedClass, nullptr,
                        [this](int) {
                            main()->RefreshPoints();
                            drain();
                        },
                        [this](int) {
                            auto *l = child<QLabel>(main(), "lblCurrentPoints");
                            return l && !l->text().isEmpty() ? QString() : QStringLiteral("no points shown");
                        }});

        list.push_back({QStringLiteral("edit"), QStringLiteral("grid cell edit (with AfterUpdate)"), 3, gradedClass,
                        [this](int run) {
                            QTableView *v = child<DataGrid>(main(), "gridAssignments")->view();
                            v->setFocus();
                            v->setCurrentIndex(v->model()->index(run % 10, 4));
                            drain();
                        },
                        [this](int run) {
                            QTableView *v = child<DataGrid>(main(), "gridAssignments")->view();
                            const QModelIndex cell = v->model()->index(run % 10, 4);
                            const int old = cell.data(Qt::DisplayRole).toInt();
                            m_typed = QString::number(old == 30 + run % 7 ? 31 + run % 7 : 30 + run % 7);
                            v->edit(cell);
                            QLineEdit *editor = nullptr;
                            for (QLineEdit *e : v->viewport()->findChildren<QLineEdit *>())
                                if (e->isVisible())
                                    editor = e;
                            if (editor) {
                                editor->setText(m_typed);
                                QTest::keyClick(editor, Qt::Key_Return);
                            }
                            drain();
                        },
                        [this](int run) {
                            QTableView *v = child<DataGrid>(main(), "gridAssignments")->view();
                            const QString now = v->model()->index(run % 10, 4).data(Qt::DisplayRole).toString();
                            return now == m_typed ? QString() : QStringLiteral("the cell shows %1, not %2").arg(now, m_typed);
                        }});

        list.push_back({QStringLiteral("gpa"), QStringLiteral("GPA (CalculateGPA)"), 1, [this] { main(); }, nullptr,
                        [this](int) {
                            main()->CalculateGPA(false);
                            drain();
                        },
                        [this](int) {
                            auto *l = child<QLabel>(main(), "lblGPA");
                            return l && !l->text().isEmpty() ? QString() : QStringLiteral("no GPA shown");
                        }});

        list.push_back({QStringLiteral("today"), QStringLiteral("today's events (load)"), 5, [this] { main(); },
                        [](int) { dispose(frmToday::existing()); },
                        [](int) {
                            frmToday::instance();
                            drain();
                        },
                        [](int) {
                            frmToday *w = frmToday::existing();
                            auto *list = child<QListWidget>(w, "lstToday");
                            const QString problem = w && w->isVisible() && list && list->count() > 0
                                ? QString()
                                : QStringLiteral("today's events were not listed");
                            dispose(w);
                            return problem;
                        }});

        list.push_back({QStringLiteral("calendar"), QStringLiteral("open the calendar"), 0, [this] { main(); },
                        [](int) { dispose(frmCalendar::existing()); },
                        [](int) {
                            frmCalendar::open();
                            drain();
                        },
                        [](int) {
                            frmCalendar *w = frmCalendar::existing();
                            const QString problem = w && w->isVisible() ? QString() : QStringLiteral("the calendar was not shown");
                            dispose(w);
                            return problem;
                        }});

        // The search window opened, a text typed and Find pressed.
        auto search = [](const QString &text) {
            frmSearch *w = frmSearch::instance();
            w->Show();
            child<QLineEdit>(w, "txtSearch")->setText(text);
            child<QPushButton>(w, "cmdFind")->click();
            drain();
        };
        auto listed = [](bool many) {
            frmSearch *w = frmSearch::existing();
            auto *list = child<QListWidget>(w, "lstResults");
            auto *said = child<QLabel>(w, "lblResults");
            const int count = list ? list->count() : -1;
            const bool right = many ? count > 100 : count == 0 && said && said->text() == QLatin1String("Found 0 results.");
            dispose(w);
            return right ? QString() : QStringLiteral("the search listed %1 results").arg(count);
        };
        list.push_back({QStringLiteral("search"), QStringLiteral("search (finds many)"), 0, [this] { main(); },
                        [](int) { dispose(frmSearch::existing()); }, [search](int) { search(Dataset::searchWord()); },
                        [listed](int) { return listed(true); }});
        list.push_back({QStringLiteral("nohits"), QStringLiteral("search (finds nothing)"), 0, [this] { main(); },
                        [](int) { dispose(frmSearch::existing()); }, [search](int) { search(Dataset::absentWord()); },
                        [listed](int) { return listed(false); }});

        list.push_back({QStringLiteral("quiz"), QStringLiteral("open the quiz builder"), 0, [this] { main(); },
                        [this](int) {
                            dispose(frmQuizBuilder::existing());
                            main();
                        },
                        [](int) {
                            Quizzer::openQuizBuilder();
                            drain();
                        },
                        [this](int) {
                            frmQuizBuilder *w = frmQuizBuilder::existing();
                            auto *t = child<QTreeWidget>(w, "treeQuizzes");
                            const QString problem = w && w->isVisible() && t && t->topLevelItemCount() == 200
                                ? QString()
                                : QStringLiteral("the quiz builder did not list the quizzes");
                            dispose(w);
                            main();
                            return problem;
                        }});
        // Class > Import of a file holding a class with 2,000 assignments,
        // into the current semester; the class a run added goes before the
        // next run, so that every run adds to the same file.
        list.push_back({QStringLiteral("import"), QStringLiteral("class import (2,000 assignments)"), 300,
                        [this] {
                            main();
                            writeImportFile(2000);
                        },
                        [this](int) {
                            if (m_imported.isValid())
                                GradeBookQueries::deleteClass(DatabasePath, m_imported);
                            m_imported = QVariant();
                            m_lastClass = Database::open(DatabasePath)->readRows(QStringLiteral("SELECT max(ID) FROM Classes")).rows.value(0).value(0);
                            MessageBox::setNextAnswers({MessageBox::Yes});
                        },
                        [this](int) {
                            main()->mnuClassImport_Click();
                            drain();
                        },
                        [this](int) {
                            const auto added = Database::open(DatabasePath)->readRows(
                                QStringLiteral("SELECT c.ID, count(a.ID) FROM Classes c LEFT JOIN Assignments a ON a.Class_ID = c.ID "
                                               "WHERE c.ID > ? GROUP BY c.ID"),
                                {m_lastClass});
                            QString problem;
                            if (added.rows.size() != 1 || added.rows[0].value(1).toInt() != 2000)
                                problem = QStringLiteral("the import did not add one class with 2,000 assignments");
                            else
                                m_imported = added.rows[0].value(0);
                            // The command's question is expected; any other box is a problem.
                            const auto &shown = MessageBox::shown();
                            if (shown.isEmpty() || shown.last().title != QLatin1String("Importing classes")
                                || shown.last().buttons != MessageBox::YesNo)
                                return problem.isEmpty() ? QStringLiteral("a message box was shown: \"%1\"").arg(shown.value(shown.size() - 1).text.left(120))
                                                         : problem;
                            MessageBox::clearShown();
                            return problem;
                        }});
        return list;
    }

    // A class with `count` assignments in the transfer file on drive A:.
    static void writeImportFile(int count)
    {
        ClassTransfer::Content content;
        content.classValues = {QStringLiteral("Imported Seminar"), QStringLiteral("Dr. Imported"), QStringLiteral("555-0199"),
                               QStringLiteral("imported@example.edu")};
        for (int day = 0; day < 7; ++day)
            content.classValues << QTime(9, 0) << QTime(10, 15);
        content.classValues << Dataset::today().addDays(-60) << Dataset::today().addDays(60) << 20000 << 18000 << 16000 << 14000
                            << 12000 << 0;
        for (int i = 0; i < count; ++i)
            content.assignments << QVariantList{QStringLiteral("Homework"), Dataset::today().addDays(i % 120 - 60), 10,
                                                QStringLiteral("Read chapter %1 and answer its questions").arg(i % 40 + 1),
                                                QStringLiteral("Exercise %1").arg(i + 1)};
        QFile file(QDir(Platform::driveAFolder()).filePath(ClassTransfer::fileName()));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(ClassTransfer::encode(ClassTransfer::lines(content)));
    }

    Options m_options;
    QPointer<Form> m_other;
    QStringList m_names;
    QString m_target;
    QPoint m_aim;
    QString m_typed;
    QVariant m_imported;  // the class the last import run added
    QVariant m_lastClass; // the newest class before an import run
};

// The offscreen platform tells of every window size hint it cannot pass on,
// and Qt of a missing runtime folder; neither says anything about the program.
void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg
        && (text.contains(QLatin1String("propagateSizeHints")) || text.contains(QLatin1String("XDG_RUNTIME_DIR"))))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every connection the program opens is watched from the first one on.
    SqlTrace::install();
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    Platform::setTestMode(true);

    Options options;
    if (app.arguments().contains(QStringLiteral("--help"))) {
        usage();
        return 0;
    }
    if (!parse(app.arguments(), options)) {
        usage();
        return 2;
    }
    if (options.sizeGiven) {
        Bench bench(options);
        return bench.runSize(options.sizes.first());
    }
    // Each size in a process of its own, so that each has its own peak
    // memory; the databases are made first, outside the measured processes.
    for (const QString &size : options.sizes) {
        QString error;
        if (!Dataset::ensure(dataFolder(options, size), shapeOf(size), &error)) {
            std::fprintf(stderr, "cannot make the %s database: %s\n", qPrintable(size), qPrintable(error));
            return 1;
        }
    }
    int status = 0;
    for (const QString &size : options.sizes) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), app.arguments().mid(1) + QStringList{QStringLiteral("--size"), size});
        if (!child.waitForStarted() || !child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit)
            status = 1;
        else if (child.exitCode() != 0)
            status = child.exitCode();
    }
    return status;
}
