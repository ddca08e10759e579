#pragma once
// The per-user settings store: string values kept by application name,
// section and key. One file per application name in the user's configuration
// folder. Sections and keys match without regard to letter case; keys and
// values keep whatever characters they hold.
//
// Each file is read once and kept in memory; it is read again only when it
// changed on disk (its size, modification time or identity), so a hand edit
// or another copy's save is seen at the next read. A save, only when a value
// actually changed, takes a lock that every copy of the program takes on the
// file, reads what is on disk (what another copy saved since), puts the
// values this program saved over it and writes the whole file under a
// temporary name renamed over the old one: no copy loses another's save.
// A file that cannot be written is reported once per run to the program,
// which tells the user.
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

namespace Settings {

// The value, or "" for a key never written.
QString get(const QString &app, const QString &section, const QString &key);

// Every key of one section with its value, as get() reads them, taken with
// one look at the file: for reading many keys of a section at once.
class SectionValues
{
public:
    // The value, or "" for a key never written.
    QString value(const QString &key) const;

private:
    friend SectionValues section(const QString &app, const QString &section);
    QHash<QString, QString> m_values; // case-folded key -> value
};
SectionValues section(const QString &app, const QString &section);
// Writes the value; returns false when the store could not be written (the
// failure is reported). Saving the value a key already holds writes nothing.
bool save(const QString &app, const QString &section, const QString &key, const QString &value);
// Writes several keys of one section with one write of the file.
bool save(const QString &app, const QString &section, const QList<QPair<QString, QString>> &values);

// While a batch stands, saves change what the program holds at once and
// the files are written when the outermost batch ends, each once: for a
// command that moves through several rows, remembering each on the way.
class Batch
{
public:
    Batch();
    ~Batch();
    Batch(const Batch &) = delete;
    Batch &operator=(const Batch &) = delete;
};

// A save that could not be written: the file, and why in words a person
// reads.
struct Failure {
    QString file;
    QString problem;
};
// Who is told of a save that could not be written: the first failure of a
// run goes to `report` (the program shows it to the user); without one, a
// failure is only returned.
void setFailureReport(std::function<void(const Failure &)> report);

// The folder holding the settings files.
QString folder();
// The file of one application name.
QString fileFor(const QString &app);

// The program's own application name and the executable's name.
inline const QString App = QStringLiteral("Tarvela Desk");
inline const QString ExeApp = QStringLiteral("TarvelaDesk");

// Test support: how many times a file was read from disk and written to it
// since the last reset, and a reset that also forgets what was read and
// whether a failure was already told in this run.
int fileReads();
int fileWrites();
void resetForTests();

} // namespace Settings
