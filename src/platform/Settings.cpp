#include "Settings.h"

#include "FileOps.h"
#include "RuntimeError.h"
#include "TextCodec.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// One line of a section: a key and its value, or a line that could not be
// read as one, kept as it stood so that writing the file does not lose it.
struct Line {
    bool isEntry = true;
    QString key;
    QString value;
    QString raw;
};

struct Section {
    QString name;
    QVector<Line> lines;
    QHash<QString, int> index; // case-folded key -> first line holding it
};

struct Contents {
    QStringList head; // lines before the first section
    QVector<Section> sections;
    QHash<QString, int> index; // case-folded section name -> first section
};

// One value saved by this program.
struct Change {
    QString section;
    QString key;
    QString value;
};

// What the program holds of one settings file.
struct Store {
    bool loaded = false;
    FileOps::Identity seen; // the file as it was when read or last written
    QString unreadable;    // why the file could not be read ("" when it could)
    QVector<Change> pending; // saved here, not yet written to the file
    Contents data;          // the file as read, with the pending changes
};

QHash<QString, Store> g_stores;
int g_reads = 0;
int g_writes = 0;
bool g_failureTold = false;
std::function<void(const Settings::Failure &)> g_report;
int g_batchDepth = 0;
QStringList g_batched; // files whose writing waits for the batch's end

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Blanks and tabs around a key or section name; any other character (a
// non-breaking space, say) belongs to the name.
QString trimBlanks(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text.at(from)))
        ++from;
    while (to > from && isBlank(text.at(to - 1)))
        --to;
    return text.mid(from, to - from);
}

QString folded(const QString &name) { return TextCodec::caseFolded(name); }

// Characters that would break the line format are written as %XX.
QString escape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool edgeBlank = isBlank(c) && (i == 0 || i == text.size() - 1);
        if (c == QLatin1Char('%') || c == QLatin1Char('=') || c == QLatin1Char('[') || c == QLatin1Char(']')
            || c == QLatin1Char('\n') || c == QLatin1Char('\r') || edgeBlank) {
            out += QLatin1Char('%') + QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        } else {
            out += c;
        }
    }
    return out;
}

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// A "%" not followed by two hexadecimal digits stands for itself.
QString unescape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('%') && i + 2 < text.size() && isHexDigit(text.at(i + 1)) && isHexDigit(text.at(i + 2))) {
            out += QChar(text.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
            continue;
        }
        out += text.at(i);
    }
    return out;
}

// A later section of a name already present keeps its lines; the first of
// the name is the one found.
Section &addSection(Contents &c, const QString &name)
{
    const QString k = folded(name);
    if (!c.index.contains(k))
        c.index.insert(k, int(c.sections.size()));
    c.sections.push_back(Section{name, {}, {}});
    return c.sections.back();
}

void addEntry(Section &s, const QString &key, const QString &value)
{
    const QString k = folded(key);
    if (!s.index.contains(k))
        s.index.insert(k, int(s.lines.size()));
    s.lines.push_back(Line{true, key, value, QString()});
}

Contents parse(const QByteArray &bytes)
{
    Contents c;
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = trimBlanks(line);
        if (trimmed.isEmpty())
            continue;
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')) && trimmed.size() >= 2) {
            addSection(c, unescape(trimBlanks(trimmed.mid(1, trimmed.size() - 2))));
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (c.sections.isEmpty()) {
            c.head << line;
        } else if (eq < 0) {
            c.sections.back().lines.push_back(Line{false, QString(), QString(), line});
        } else {
            addEntry(c.sections.back(), unescape(trimBlanks(line.left(eq))), unescape(line.mid(eq + 1)));
        }
    }
    return c;
}

QByteArray render(const Contents &c)
{
    QString text;
    for (const QString &line : c.head)
        text += line + QLatin1Char('\n');
    for (const Section &s : c.sections) {
        text += QLatin1Char('[') + escape(s.name) + QStringLiteral("]\n");
        for (const Line &l : s.lines)
            text += (l.isEntry ? escape(l.key) + QLatin1Char('=') + escape(l.value) : l.raw) + QLatin1Char('\n');
        text += QLatin1Char('\n');
    }
    return text.toUtf8();
}

QString folderInPlace() { return QStringLiteral("A folder of that name stands where the file should be."); }

// Sets a key of a section; true when that changed its value.
bool set(Contents &c, const QString &section, const QString &key, const QString &value)
{
    const auto found = c.index.constFind(folded(section));
    Section &s = found == c.index.constEnd() ? addSection(c, section) : c.sections[*found];
    const auto e = s.index.constFind(folded(key));
    if (e == s.index.constEnd()) {
        addEntry(s, key, value);
        return true;
    }
    if (s.lines.at(*e).value == value)
        return false;
    s.lines[*e].value = value;
    return true;
}

// The store of a file, read again when the file changed since it was read
// (another copy of the program saved, or a hand edit). What this program
// saved and has not yet written stays over what was read.
Store &current(const QString &path)
{
    Store &store = g_stores[path];
    const FileOps::Identity now = FileOps::identity(path);
    // A file that could not be read is tried again, so that it is seen as
    // soon as it can be.
    if (store.loaded && store.unreadable.isEmpty() && now == store.seen)
        return store;
    ++g_reads;
    QVector<Change> pending = std::move(store.pending);
    store = Store();
    store.loaded = true;
    store.seen = now;
    if (now.isDir) {
        store.unreadable = folderInPlace();
    } else if (now.exists || now.statError != 0) {
        try {
            store.data = parse(FileOps::readFile(path));
        } catch (const RuntimeError &e) {
            if (e.number() != Err::FileNotFound)
                store.unreadable = QStringLiteral("The file could not be read, so it is left as it is.\n(%1)").arg(e.description());
        }
    }
    for (const Change &c : std::as_const(pending))
        set(store.data, c.section, c.key, c.value);
    store.pending = std::move(pending);
    return store;
}

// The lock every copy of the program takes on a settings file (through a
// file beside it) from reading what is on disk to writing the merged file,
// so that no copy writes over a save another made in between. The system
// lets it go when the program ends, however it ends. A lock that cannot be
// had (a folder that cannot be written; another copy stuck for seconds in
// its save) does not keep the save from being tried.
class SaveLock
{
public:
    explicit SaveLock(const QString &path)
    {
        const QString file = path + QStringLiteral(".lock");
        if (FileOps::isDenied(file))
            return;
        m_fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0)
            return;
        QDeadlineTimer deadline(WaitMs);
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK || deadline.hasExpired()) {
                ::close(m_fd);
                m_fd = -1;
                return;
            }
            ::usleep(1000);
        }
    }
    ~SaveLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SaveLock(const SaveLock &) = delete;
    SaveLock &operator=(const SaveLock &) = delete;

private:
    static constexpr int WaitMs = 5000;
    int m_fd = -1;
};

// Why a file could not be written, in the user's words.
QString writeProblem(const QString &path, const QString &detail)
{
    const QFileInfo info(path);
    if (info.isDir())
        return folderInPlace();
    if (!FileOps::canCreateIn(info.absolutePath()))
        return QStringLiteral("The folder %1 cannot be written to.").arg(QDir::toNativeSeparators(info.absolutePath()));
    if (info.exists() && (FileOps::isDenied(path) || !info.isWritable()))
        return QStringLiteral("The file is read-only.");
    return detail;
}

void tellFailure(const QString &path, const QString &problem)
{
    if (g_failureTold || !g_report)
        return;
    g_failureTold = true;
    g_report(Settings::Failure{path, problem});
}

// Writes what this program saved into the file as it is now on disk.
bool write(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const SaveLock lock(path);
    Store &store = current(path);
    if (!store.unreadable.isEmpty()) {
        tellFailure(path, store.unreadable);
        return false;
    }
    try {
        FileOps::writeFile(path, render(store.data));
    } catch (const RuntimeError &e) {
        tellFailure(path, writeProblem(path, e.description()));
        return false;
    }
    ++g_writes;
    store.pending.clear();
    store.seen = FileOps::identity(path);
    return true;
}

const Line *findEntry(const Contents &c, const QString &section, const QString &key)
{
    const auto s = c.index.constFind(folded(section));
    if (s == c.index.constEnd())
        return nullptr;
    const Section &sec = c.sections.at(*s);
    const auto e = sec.index.constFind(folded(key));
    return e == sec.index.constEnd() ? nullptr : &sec.lines.at(*e);
}

} // namespace

namespace Settings {

QString folder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(QStringLiteral("tarvela-desk"));
}

QString fileFor(const QString &app)
{
    // Application names are plain words; anything that cannot stand in a file
    // name is replaced.
    QString name = app;
    for (QChar &c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QChar(0))
            c = QLatin1Char('_');
    return QDir(folder()).filePath(name + QStringLiteral(".ini"));
}

QString get(const QString &app, const QString &section, const QString &key)
{
    const Line *e = findEntry(current(fileFor(app)).data, section, key);
    return e ? e->value : QString();
}

QString SectionValues::value(const QString &key) const { return m_values.value(folded(key)); }

SectionValues section(const QString &app, const QString &name)
{
    SectionValues out;
    const Contents &c = current(fileFor(app)).data;
    const auto s = c.index.constFind(folded(name));
    if (s == c.index.constEnd())
        return out;
    const auto &sec = c.sections.at(*s);
    for (auto e = sec.index.cbegin(); e != sec.index.cend(); ++e)
        out.m_values.insert(e.key(), sec.lines.at(*e).value);
    return out;
}

bool save(const QString &app, const QString &section, const QString &key, const QString &value)
{
    return save(app, section, {{key, value}});
}

bool save(const QString &app, const QString &section, const QList<QPair<QString, QString>> &values)
{
    const QString path = fileFor(app);
    Store &store = current(path);
    if (values.isEmpty())
        return true;
    for (const auto &[key, value] : values) {
        if (!set(store.data, section, key, value))
            continue;
        const auto same = std::find_if(store.pending.begin(), store.pending.end(), [&](const Change &c) {
            return folded(c.section) == folded(section) && folded(c.key) == folded(key);
        });
        if (same == store.pending.end())
            store.pending.push_back(Change{section, key, value});
        else
            same->value = value;
    }
    // Changes an earlier save could not write are tried again with the next.
    if (store.pending.isEmpty())
        return true;
    if (g_batchDepth > 0) {
        if (!g_batched.contains(path))
            g_batched << path;
        return true;
    }
    return write(path);
}

Batch::Batch() { ++g_batchDepth; }

Batch::~Batch()
{
    if (--g_batchDepth > 0)
        return;
    const QStringList paths = std::exchange(g_batched, {});
    for (const QString &path : paths)
        if (!g_stores[path].pending.isEmpty())
            write(path);
}

void setFailureReport(std::function<void(const Failure &)> report) { g_report = std::move(report); }

int fileReads() { return g_reads; }
int fileWrites() { return g_writes; }

void resetForTests()
{
    g_stores.clear();
    g_reads = 0;
    g_writes = 0;
    g_failureTold = false;
    g_batched.clear();
}

} // namespace Settings
