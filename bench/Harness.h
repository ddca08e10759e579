#pragma once
// Times the benchmark's actions: each action runs many times, every run is
// timed from the first call to the moment the event queue is empty again,
// and the statements a run sent to SQLite are run once more on one raw
// connection for the baseline.
#include "SqlTrace.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace Harness {

// Runs queued work (posted events, window-system events, deferred
// deletions) until nothing is left.
void drain();

// A count with thousands separated: "30,000".
QString grouped(qint64 n);

// The process's peak resident memory (VmHWM) in megabytes.
double peakMemoryMB();

struct Action {
    QString key;          // the name --only takes
    QString label;        // the name in the table
    double targetMs = 0;  // the median the action should reach; 0: none set
    std::function<void()> setup;            // once, untimed
    std::function<void(int run)> before;    // untimed, before each run
    std::function<void(int run)> timed;     // the action itself
    std::function<QString(int run)> after;  // untimed check; a text when the run did not do its work
};

struct Outcome {
    QString key;
    QString label;
    double targetMs = 0;
    int runs = 0;
    double median = 0;
    double p95 = 0;
    double rawMedian = 0;
    int connections = 0; // per run (median)
    int statements = 0;  // per run (median)
    qint64 rows = 0;     // rows the statements read (median)
    int skipped = 0;     // statements that insert or delete, not run raw
    QStringList problems;
    QStringList sample; // the statements of one run
};

class Runner
{
public:
    Runner(const QString &databasePath, bool quick, int runs);
    Outcome measure(const Action &action);

private:
    bool m_quick;
    int m_runs;
    std::unique_ptr<SqlTrace::RawConnection> m_raw;
    QString m_databasePath;
};

// The table of one database size.
// With showStatements, each action's statements of one run follow it.
void printTable(const QString &title, const QVector<Outcome> &outcomes, double peakMB, double peakTargetMB,
                bool showStatements);

} // namespace Harness
