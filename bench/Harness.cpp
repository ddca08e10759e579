#include "Harness.h"

#include "platform/MessageBox.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Harness {

namespace {

// The runs of an action: at least MinRuns, at most the runs asked for, and
// no more once the action has taken BudgetMs.
constexpr int MinRuns = 10;
constexpr int FullRuns = 40;
constexpr int QuickRuns = 3;
constexpr qint64 BudgetMs = 20000;
// The raw baseline replays the statements of this many timed runs at most.
constexpr int RawRuns = 10;

template <class T> T medianOf(QVector<T> values)
{
    if (values.isEmpty())
        return T();
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double percentile(QVector<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    // Nearest rank.
    const int rank = std::clamp(static_cast<int>(std::ceil(p / 100.0 * values.size())), 1, static_cast<int>(values.size()));
    return values.at(rank - 1);
}

QString ms(double value)
{
    if (value <= 0)
        return QStringLiteral("-");
    return QString::number(value, 'f', value < 10 ? 2 : 1);
}

// The timed part of a run, in a function of its own so that a profiler can
// count it alone: valgrind --tool=callgrind --toggle-collect='Harness::timedRun*'
__attribute__((noinline)) void timedRun(const Action &action, int run)
{
    action.timed(run);
    drain();
}

} // namespace

QString grouped(qint64 n)
{
    QString digits = QString::number(n);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return digits;
}

void drain()
{
    QAbstractEventDispatcher *dispatcher = QCoreApplication::eventDispatcher();
    int idle = 0;
    for (int pass = 0; pass < 1000 && idle < 2; ++pass) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const bool worked = dispatcher && dispatcher->processEvents(QEventLoop::AllEvents);
        idle = worked ? 0 : idle + 1;
    }
}

double peakMemoryMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression hwm(QStringLiteral("^VmHWM:\\s+(\\d+)\\s+kB"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = hwm.match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toDouble() / 1024.0 : 0;
}

Runner::Runner(const QString &databasePath, bool quick, int runs)
    : m_quick(quick), m_runs(runs), m_databasePath(databasePath)
{
}

Outcome Runner::measure(const Action &action)
{
    Outcome out;
    out.key = action.key;
    out.label = action.label;
    out.targetMs = action.targetMs;
    std::fprintf(stderr, "  %-34s", qPrintable(action.label));
    std::fflush(stderr);

    if (action.setup)
        action.setup();
    drain();

    const int warm = m_quick ? 1 : 2;
    const int wanted = m_runs > 0 ? m_runs : (m_quick ? QuickRuns : FullRuns);
    QVector<double> times;
    QVector<QStringList> statements;
    QVector<int> connections;
    QElapsedTimer budget;
    budget.start();
    for (int run = 0; run < warm + wanted; ++run) {
        if (run >= warm + MinRuns && budget.elapsed() > BudgetMs && m_runs <= 0)
            break;
        if (action.before)
            action.before(run);
        drain();
        const int boxesBefore = static_cast<int>(MessageBox::shown().size());
        const int opened = SqlTrace::connectionsOpened();
        SqlTrace::startRecording();
        QElapsedTimer clock;
        clock.start();
        timedRun(action, run);
        const qint64 ns = clock.nsecsElapsed();
        const QStringList sent = SqlTrace::take();
        const int connectionsUsed = SqlTrace::connectionsOpened() - opened;
        QString problem = action.after ? action.after(run) : QString();
        const auto &boxes = MessageBox::shown();
        if (boxes.size() > boxesBefore)
            problem += QStringLiteral("%1a message box was shown: \"%2\"")
                           .arg(problem.isEmpty() ? QString() : QStringLiteral("; "), boxes.last().text.left(120));
        drain();
        if (!problem.isEmpty() && !out.problems.contains(problem))
            out.problems << problem;
        if (run < warm)
            continue;
        times << ns / 1e6;
        if (statements.size() < RawRuns)
            statements << sent;
        connections << connectionsUsed;
    }
    out.runs = static_cast<int>(times.size());
    out.median = medianOf(times);
    out.p95 = percentile(times, 95);
    out.connections = medianOf(connections);

    // The same statements on one raw connection, kept open for the whole size.
    if (!m_raw)
        m_raw = std::make_unique<SqlTrace::RawConnection>(m_databasePath);
    if (!m_raw->isOpen()) {
        out.problems << QStringLiteral("raw connection: ") + m_raw->error();
    } else if (!statements.isEmpty()) {
        m_raw->run(statements.first()); // warms the connection's page cache
        QVector<double> rawTimes;
        QVector<int> counts;
        QVector<qint64> rows;
        for (const QStringList &list : std::as_const(statements)) {
            QElapsedTimer clock;
            clock.start();
            const SqlTrace::RawConnection::Result r = m_raw->run(list);
            rawTimes << clock.nsecsElapsed() / 1e6;
            counts << r.statements + r.skipped;
            rows << r.rows;
            out.skipped = std::max(out.skipped, r.skipped);
        }
        out.rawMedian = medianOf(rawTimes);
        out.statements = medianOf(counts);
        out.rows = medianOf(rows);
        out.sample = statements.first();
        const QString failed = m_raw->takeError();
        if (!failed.isEmpty())
            out.problems << QStringLiteral("a statement failed on the raw connection: ") + failed;
    }
    std::fprintf(stderr, " %3d runs, median %s ms\n", out.runs, qPrintable(ms(out.median)));
    return out;
}

void printTable(const QString &title, const QVector<Outcome> &outcomes, double peakMB, double peakTargetMB,
                bool showStatements)
{
    std::printf("\n%s\n", qPrintable(title));
    const QString header = QStringLiteral("%1 %2 %3 %4 %5  %6 %7 %8 %9  %10")
                               .arg(QStringLiteral("action"), -34)
                               .arg(QStringLiteral("median"), 8)
                               .arg(QStringLiteral("p95"), 8)
                               .arg(QStringLiteral("raw"), 8)
                               .arg(QStringLiteral("ratio"), 7)
                               .arg(QStringLiteral("runs"), 4)
                               .arg(QStringLiteral("conns"), 5)
                               .arg(QStringLiteral("stmts"), 5)
                               .arg(QStringLiteral("rows"), 9)
                               .arg(QStringLiteral("goal (median <= ms, ratio <= 3x)"));
    std::printf("%s\n%s\n", qPrintable(header), qPrintable(QString(header.size(), QLatin1Char('-'))));
    for (const Outcome &o : outcomes) {
        const double ratio = o.rawMedian > 0 ? o.median / o.rawMedian : 0;
        QStringList missed;
        if (o.targetMs > 0 && o.median > o.targetMs)
            missed << QStringLiteral("time");
        if (ratio > 3)
            missed << QStringLiteral("ratio");
        const QString goal = (o.targetMs > 0 ? QStringLiteral("<= %1").arg(o.targetMs) : QStringLiteral("-"))
            + (missed.isEmpty() ? QStringLiteral("  met") : QStringLiteral("  MISSED ") + missed.join(QLatin1Char('+')));
        std::printf("%s\n", qPrintable(QStringLiteral("%1 %2 %3 %4 %5  %6 %7 %8 %9  %10")
                                           .arg(o.label, -34)
                                           .arg(ms(o.median), 8)
                                           .arg(ms(o.p95), 8)
                                           .arg(ms(o.rawMedian), 8)
                                           .arg(ratio > 0 ? QString::number(ratio, 'f', 1) + QLatin1Char('x') : QStringLiteral("-"), 7)
                                           .arg(o.runs, 4)
                                           .arg(o.connections, 5)
                                           .arg(o.statements, 5)
                                           .arg(grouped(o.rows), 9)
                                           .arg(goal)));
    }
    std::printf("%s\n", qPrintable(QStringLiteral("peak memory (VmHWM): %1 MB").arg(peakMB, 0, 'f', 1)
                                   + (peakTargetMB > 0 ? QStringLiteral("  (goal <= %1 MB: %2)")
                                                             .arg(peakTargetMB)
                                                             .arg(peakMB <= peakTargetMB ? QStringLiteral("met") : QStringLiteral("MISSED"))
                                                       : QString())));
    for (const Outcome &o : outcomes) {
        if (o.skipped > 0)
            std::printf("note: %s: %d statement(s) that add or remove rows were not run raw\n", qPrintable(o.label), o.skipped);
        for (const QString &p : o.problems)
            std::printf("PROBLEM: %s: %s\n", qPrintable(o.label), qPrintable(p));
    }
    for (const Outcome &o : outcomes) {
        if (!showStatements)
            break;
        std::printf("\nstatements of one run of %s:\n", qPrintable(o.label));
        for (const QString &sql : o.sample)
            std::printf("  %s\n", qPrintable(sql.simplified().left(200)));
    }
    std::fflush(stdout);
}

} // namespace Harness
