#pragma once
// What the program asks of SQLite, watched from inside the process: every
// connection the program opens is counted, and while recording, every
// statement it runs is kept with its bound values written in. A raw
// connection then runs the same statements through the sqlite3 C API alone,
// reading every column of every row, as the baseline of each action.
#include <QString>
#include <QStringList>

struct sqlite3;

namespace SqlTrace {

// Hooks every connection opened from now on. Call before the first open.
void install();

// Connections the program has opened so far.
int connectionsOpened();

// Starts keeping the statements run; take() returns them and stops.
void startRecording();
QStringList take();

// One connection of its own to a database file, opened with the C API.
class RawConnection
{
public:
    struct Result {
        int statements = 0;   // statements run
        qint64 rows = 0;      // rows read
        int skipped = 0;      // statements left out (they would add or remove rows)
    };

    explicit RawConnection(const QString &path);
    ~RawConnection();
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;

    bool isOpen() const { return m_db != nullptr; }
    // The last failure to open or to run a statement; taking it clears it.
    QString error() const { return m_error; }
    QString takeError()
    {
        QString e;
        e.swap(m_error);
        return e;
    }

    // Runs the statements in order, reading every column of every row.
    Result run(const QStringList &statements);

private:
    sqlite3 *m_db = nullptr;
    QString m_error;
    quint64 m_sink = 0; // what was read, so that no read is optimised away
};

} // namespace SqlTrace
