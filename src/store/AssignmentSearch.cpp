#include "AssignmentSearch.h"

#include "Database.h"
#include "Schema.h"
#include "platform/TextCodec.h"

#include <QHash>
#include <QSet>

#include <sqlite3.h>
#include <algorithm>

namespace AssignmentSearch {

QString Hit::entry() const
{
    QString entry;
    entry.reserve(assignmentTitle.size() + className.size() + 3);
    entry += assignmentTitle;
    entry += QLatin1String(" [");
    entry += className;
    entry += QLatin1Char(']');
    return entry;
}

QString countText(qsizetype hits) { return QStringLiteral("Found %1 results.").arg(hits); }

namespace {

// The pieces the text index keeps are this many characters long.
constexpr int PieceLength = 3;

// Every character that has another letter case, and each it has: the
// letters of every script with case (all of them in the first two planes).
const QString &casedCharacters()
{
    static const QString all = [] {
        QSet<char32_t> found;
        for (char32_t c = 0; c < 0x20000; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            for (const char32_t other : {QChar::toLower(c), QChar::toUpper(c), QChar::toTitleCase(c), QChar::toCaseFolded(c)}) {
                if (other != c) {
                    found.insert(c);
                    found.insert(other);
                }
            }
        }
        QList<char32_t> sorted(found.cbegin(), found.cend());
        std::sort(sorted.begin(), sorted.end());
        return QString::fromUcs4(sorted.constData(), sorted.size());
    }();
    return all;
}

// The characters that one character of the text matches when letter case
// is ignored, itself first: those that fold to the same character by the
// one folding rule the texts are matched with, so that both agree in every
// script.
const QList<char32_t> &sameLetters(char32_t c)
{
    static QHash<char32_t, QList<char32_t>> known;
    const auto it = known.constFind(c);
    if (it != known.cend())
        return *it;
    QList<char32_t> letters{c};
    const QString folded = TextCodec::caseFolded(QString::fromUcs4(&c, 1));
    for (const uint other : casedCharacters().toUcs4())
        if (other != c && TextCodec::caseFolded(QString::fromUcs4(reinterpret_cast<const char32_t *>(&other), 1)) == folded)
            letters << other;
    return *known.insert(c, letters);
}

// The character the text index keeps for a character of a text: its
// letters are folded to one case by the engine's own rules, which are asked
// of the engine itself (on a small index in memory of its own), once for each
// character. A character the engine cannot be asked about stands for itself,
// which asks the index for more ways of writing a piece, never fewer.
char32_t keptAs(char32_t c)
{
    static QHash<char32_t, char32_t> known;
    const auto it = known.constFind(c);
    if (it != known.cend())
        return *it;
    static sqlite3 *probe = [] {
        sqlite3 *db = nullptr;
        if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK
            || sqlite3_exec(db,
                            "CREATE VIRTUAL TABLE piece USING fts5(x, tokenize='trigram', detail=none);"
                            "CREATE VIRTUAL TABLE kept USING fts5vocab(piece, 'row');",
                            nullptr, nullptr, nullptr)
                != SQLITE_OK) {
            sqlite3_close(db);
            return static_cast<sqlite3 *>(nullptr);
        }
        return db;
    }();
    char32_t result = c;
    const QString three = QString::fromUcs4(&c, 1).repeated(PieceLength);
    sqlite3_stmt *insert = nullptr;
    sqlite3_stmt *read = nullptr;
    if (probe && sqlite3_exec(probe, "DELETE FROM piece", nullptr, nullptr, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(probe, "INSERT INTO piece (x) VALUES (?)", -1, &insert, nullptr) == SQLITE_OK
        && sqlite3_bind_text16(insert, 1, three.utf16(), int(three.size() * sizeof(QChar)), SQLITE_TRANSIENT) == SQLITE_OK
        && sqlite3_step(insert) == SQLITE_DONE
        && sqlite3_prepare_v2(probe, "SELECT term FROM kept", -1, &read, nullptr) == SQLITE_OK && sqlite3_step(read) == SQLITE_ROW) {
        const QList<uint> term =
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(read, 0)), sqlite3_column_bytes(read, 0)).toUcs4();
        if (term.size() == PieceLength && sqlite3_step(read) == SQLITE_DONE)
            result = term.first();
    }
    sqlite3_finalize(insert);
    sqlite3_finalize(read);
    known.insert(c, result);
    return result;
}

using Schema::quoted;

// What the text index is asked: the rows whose title or comments hold the
// first piece of the text and its last, each in every way of writing its
// letters in another case (the index itself takes capitals A to Z for small
// letters). Every row that holds the text is among them, and few others:
// those rows are then matched whole. Two pieces narrow the rows down about
// as well as more do, at less cost. Empty when the index cannot answer: a
// text shorter than a piece, or one with a character the index reads
// otherwise than the matcher does (none at all, or one that stands for
// undecodable bytes).
QString indexQuestion(const QString &text)
{
    const QList<uint> chars = text.toUcs4();
    const int count = static_cast<int>(chars.size());
    if (count < PieceLength)
        return QString();
    for (const uint c : chars)
        if (c == 0 || c == QChar::ReplacementCharacter)
            return QString();
    // One letter for each way the index keeps the letters matched alike.
    auto ways = [](char32_t c) {
        QList<char32_t> kept, asKept;
        for (const char32_t letter : sameLetters(c)) {
            const char32_t inIndex = keptAs(letter);
            if (!asKept.contains(inIndex)) {
                asKept << inIndex;
                kept << letter;
            }
        }
        return kept;
    };
    QStringList pieces;
    for (const int at : {0, count - PieceLength}) {
        QStringList written;
        for (const char32_t a : ways(chars.at(at)))
            for (const char32_t b : ways(chars.at(at + 1)))
                for (const char32_t c : ways(chars.at(at + 2))) {
                    const char32_t piece[] = {a, b, c};
                    written << quoted(QString::fromUcs4(piece, PieceLength));
                }
        const QString one = written.size() == 1 ? written.first() : QLatin1Char('(') + written.join(QStringLiteral(" OR ")) + QLatin1Char(')');
        if (!pieces.contains(one))
            pieces << one;
    }
    return pieces.join(QStringLiteral(" AND "));
}

// The text as it is matched: as it stands, letter case folded. Half of a
// UTF-16 pair is read as the engine reads it when the text is handed to it.
QString wantedText(Database &db, const QString &text)
{
    QString wanted = text;
    if (!text.isValidUtf16()) {
        db.eachRow(QStringLiteral("SELECT ?"), {text}, [&](sqlite3_stmt *row) {
            wanted = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(row, 0)));
        });
    }
    return TextCodec::caseFolded(wanted);
}

// A text field of the row as the matcher has always read it: the engine's
// text of the value up to its first zero character; an empty text for no
// value. `value` is the field as the row is listed (read first: the engine's
// text of a number may replace the number).
QString matchedText(sqlite3_stmt *row, int column, const QVariant &value)
{
    QString text = value.typeId() == QMetaType::Double
        ? QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(row, column)))
        : value.toString();
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0)
        text.truncate(zero);
    return text;
}

} // namespace

QVector<Hit> find(const QString &databasePath, const QString &text)
{
    QVector<Hit> hits;
    if (text.isEmpty())
        return hits;
    auto db = Database::open(databasePath);
    const QString wanted = wantedText(*db, text);
    // Without the text index (a file that cannot be written keeps the one it
    // has, or none), or for a text it cannot answer, every row is read.
    const Schema::TextIndex &index = Schema::assignmentText();
    const QString question = text.isValidUtf16() && Schema::isWhole(index, db->schemaObjects()) ? indexQuestion(text) : QString();
    const QString among = question.isEmpty()
        ? QString()
        : QStringLiteral("a.ID IN (SELECT rowid FROM \"%1\" WHERE \"%1\" MATCH ?) AND ").arg(index.name);
    // Each class's name and its semester's title, read once.
    QHash<qint64, QPair<QString, QString>> names;
    db->eachRow(QStringLiteral("SELECT a.ID, a.AssignmentTitle, a.Comments, c.ClassName, s.Title, c.ID "
                               "FROM Assignments AS a "
                               "JOIN Classes AS c ON c.ID = a.Class_ID "
                               "JOIN Semesters AS s ON s.ID = c.Semester_ID "
                               "WHERE ")
                    + among + QStringLiteral("c.ClassName <> '' AND s.Title <> '' ORDER BY a.ID"),
                question.isEmpty() ? QVariantList() : QVariantList{question}, [&](sqlite3_stmt *row) {
                    const QVariant title = Database::columnValue(row, 1);
                    if (!TextCodec::caseFolded(matchedText(row, 1, title)).contains(wanted)
                        && !TextCodec::caseFolded(matchedText(row, 2, Database::columnValue(row, 2))).contains(wanted))
                        return;
                    Hit h;
                    h.assignmentId = sqlite3_column_int(row, 0);
                    h.assignmentTitle = title.toString();
                    const qint64 classId = sqlite3_column_int64(row, 5);
                    auto known = names.constFind(classId);
                    if (known == names.cend())
                        known = names.insert(classId, {Database::columnValue(row, 3).toString(), Database::columnValue(row, 4).toString()});
                    h.className = known->first;
                    h.semesterTitle = known->second;
                    hits.push_back(h);
                });
    db->close();
    return hits;
}

} // namespace AssignmentSearch
