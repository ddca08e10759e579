#include "Dataset.h"

#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/clsTarvelaDB.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

namespace {

// Bump when the generated content changes: cached files are then made again.
constexpr int GeneratorVersion = 2;

// A small deterministic generator (splitmix64), the same on every machine.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<quint64>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T, size_t N> const T &pick(const T (&list)[N]) { return list[below(static_cast<int>(N))]; }

private:
    quint64 m_state;
};

const char *const Subjects[] = {"Biology", "Chemistry", "Physics", "Calculus", "Statistics", "Algebra", "Geometry",
                                "English Composition", "World Literature", "American History", "European History",
                                "Psychology", "Sociology", "Economics", "Philosophy", "Art History", "Music Theory",
                                "Spanish", "French", "German", "Computer Science", "Data Structures", "Linear Algebra",
                                "Organic Chemistry", "Microbiology", "Anatomy", "Astronomy", "Geology", "Ecology",
                                "Political Science", "Anthropology", "Linguistics", "Creative Writing", "Public Speaking",
                                "Accounting", "Marketing", "Nutrition", "Genetics", "Ethics", "Drawing"};
const char *const Topics[] = {"Photosynthesis", "Cell structure", "Newton's laws", "Derivatives", "Integrals",
                              "Probability", "Essay draft", "Reading response", "Lab report", "Chapter review",
                              "Vocabulary", "Source analysis", "Case study", "Problem set", "Field notes", "Proofs",
                              "Thermodynamics", "Reaction rates", "Market models", "Sonnet analysis", "Map work",
                              "Research proposal", "Peer review", "Annotated bibliography", "Midterm review",
                              "Final project", "Group presentation", "Experiment design", "Data analysis",
                              "Book report", "Poetry", "Translation", "Grammar drill", "Listening exercise",
                              "Sketchbook", "Portfolio", "Debate prep", "Timeline", "Summary", "Reflection"};
const char *const Words[] = {"review", "the", "notes", "chapter", "bring", "calculator", "page", "questions", "draft",
                             "final", "group", "partner", "library", "sources", "cite", "outline", "check", "answers",
                             "extra", "credit", "late", "submitted", "online", "paper", "copy", "teacher", "office",
                             "hours", "graded", "rubric", "figures", "table", "appendix", "pages", "exercise", "odd",
                             "even", "problems", "section", "read"};
const char *const FirstNames[] = {"Anna", "Ben", "Carla", "David", "Elena", "Farid", "Grace", "Hugo", "Ines", "Jonas",
                                  "Keiko", "Liam", "Maria", "Nils", "Olga", "Pedro", "Quinn", "Rosa", "Samir", "Tara"};
const char *const LastNames[] = {"Alvarez", "Becker", "Chen", "Dubois", "Evans", "Fischer", "Garcia", "Hansen", "Ito",
                                 "Jensen", "Kowalski", "Lopez", "Moreau", "Novak", "O'Brien", "Petrov", "Rossi",
                                 "Schmidt", "Tanaka", "Weber"};
const char *const Cities[] = {"Springfield", "Riverton", "Lakeside", "Hillcrest", "Fairview", "Maplewood", "Oakdale",
                              "Brookfield"};
const char *const States[] = {"CA", "NY", "TX", "WA", "OR", "IL", "MA", "CO"};
const char *const Colours[] = {"Yellow", "Cyan", "Black", "Blue", "Brown", "Light Cyan", "Dark Green", "Green",
                               "Grey", "Light Blue", "Orange", "Pink", "Purple", "Red", "White"};
const char *const Letters[] = {"A", "A-", "B+", "B", "B-", "C+", "C", "A", "B+", "B"};
const char *const EventTexts[] = {"Study group", "Dentist", "Career fair", "Club meeting", "Advisor meeting",
                                  "Work shift", "Library study", "Gym", "Call home", "Tutoring"};
const char *const TaskTexts[] = {"Buy printer ink", "Return library books", "Pay tuition", "Register for classes",
                                 "Email advisor", "Renew bus pass", "Back up laptop", "Order textbooks",
                                 "Clean desk", "Update resume"};

QString s(const char *text) { return QString::fromUtf8(text); }
QString iso(const QDate &d) { return d.toString(Qt::ISODate); }
QString hms(int h, int m) { return QTime(h, m).toString(QStringLiteral("HH:mm:ss")); }

QString sentence(Random &r, int minWords, int maxWords)
{
    QStringList words;
    const int n = r.between(minWords, maxWords);
    for (int i = 0; i < n; ++i)
        words << s(r.pick(Words));
    QString text = words.join(QLatin1Char(' '));
    text[0] = text[0].toUpper();
    return text + QLatin1Char('.');
}

struct Term {
    const char *name;
    int startMonth, startDay, endMonth, endDay;
};
const Term Terms[] = {{"Winter", 1, 6, 3, 20}, {"Spring", 3, 30, 6, 12}, {"Summer", 6, 22, 8, 28}, {"Fall", 9, 5, 12, 18}};

QString termTitle(int index) { return QStringLiteral("%1 %2").arg(s(Terms[index % 4].name)).arg(2016 + index / 4); }
QDate termStart(int index)
{
    const Term &t = Terms[index % 4];
    return QDate(2016 + index / 4, t.startMonth, t.startDay);
}
QDate termEnd(int index)
{
    const Term &t = Terms[index % 4];
    return QDate(2016 + index / 4, t.endMonth, t.endDay);
}
QString className(int semester, int k)
{
    const int subject = (semester * 7 + k * 3) % static_cast<int>(std::size(Subjects));
    return QStringLiteral("%1 %2 (%3)").arg(s(Subjects[subject])).arg(101 + (semester / 4) * 10 + k).arg(termTitle(semester));
}

QString stampText(const Dataset::Shape &shape)
{
    return QStringLiteral("generator %1, factor %2, assignments %3\n").arg(GeneratorVersion).arg(shape.factor).arg(shape.assignments());
}

void progress(const char *what, QElapsedTimer &clock)
{
    std::fprintf(stderr, "  %-28s %6.1f s\n", what, clock.elapsed() / 1000.0);
}

// Runs an insert through the store.
void insert(Database &db, const char *sql, const QVariantList &values) { db.execute(QString::fromLatin1(sql), values); }

void fill(Database &db, const Dataset::Shape &shape, QElapsedTimer &clock)
{
    Random r(0x7A12E1A5u + static_cast<quint64>(shape.factor));
    const QDate today = Dataset::today();
    const int lastSemesterIndex = shape.semesters - 1;
    const int classes = shape.semesters * shape.classesPerSemester;
    const int perClass = shape.assignments() / classes;

    db.beginTrans();
    int classId = 0;
    for (int sem = 0; sem < shape.semesters; ++sem) {
        const QDate start = termStart(sem);
        const QDate end = termEnd(sem);
        const bool closed = sem != lastSemesterIndex;
        struct Planned {
            int classId;
            QDate entered;
            QVariantList values;
        };
        QVector<Planned> work;
        int hours = 0;
        const int semesterId = sem + 1;
        for (int k = 0; k < shape.classesPerSemester; ++k) {
            ++classId;
            const int credit = k == shape.classesPerSemester - 1 ? 1 : r.between(3, 4);
            hours += credit;
            // The class's work, planned first so that its points are known.
            qint64 possible = 0;
            const int span = std::max(1, static_cast<int>(start.daysTo(end)));
            for (int n = 0; n < perClass; ++n) {
                const QString type = Schema::seedAssignmentTypes().at(r.below(Schema::seedAssignmentTypes().size()));
                const QDate due = start.addDays(r.below(span + 1));
                static const int maxima[] = {10, 20, 25, 50, 100};
                const int max = r.pick(maxima);
                possible += max;
                const bool graded = closed || due < today;
                const QVariant points = graded ? QVariant(max * r.between(55, 100) / 100) : QVariant();
                const QDate entered = due.addDays(-r.between(1, 14));
                const QVariant documentPath = r.chance(5)
                    ? QVariant(QStringLiteral("/home/student/Documents/%1/work-%2.odt").arg(termTitle(sem)).arg(n + 1))
                    : QVariant();
                work.push_back({classId, entered,
                                {classId, type, iso(due), max, points, r.chance(60) ? QVariant(sentence(r, 4, 18)) : QVariant(),
                                 iso(entered), graded ? QVariant(iso(due.addDays(r.between(1, 7)))) : QVariant(),
                                 QStringLiteral("%1 %2: %3").arg(type).arg(n + 1).arg(s(r.pick(Topics))), documentPath,
                                 graded ? 1 : 0}});
            }
            const bool monday = r.chance(60), tuesday = !monday, wednesday = monday, thursday = tuesday, friday = r.chance(30);
            const int hour = r.between(8, 16);
            auto from = [&](bool on) { return on ? QVariant(hms(hour, 0)) : QVariant(); };
            auto to = [&](bool on) { return on ? QVariant(hms(hour + 1, 15)) : QVariant(); };
            const QString teacher = QStringLiteral("%1 %2").arg(s(r.pick(FirstNames)), s(r.pick(LastNames)));
            insert(db,
                   "INSERT INTO Classes (Semester_ID, StartDate, EndDate, PointsPossible, Points_Grade_A, Points_Grade_B, "
                   "Points_Grade_C, Points_Grade_D, Points_Grade_F, TeacherName, ClassName, TeacherPhone, ClassNotes, "
                   "MondayFrom, MondayTo, TuesdayFrom, TuesdayTo, WednesdayFrom, WednesdayTo, ThursdayFrom, ThursdayTo, "
                   "FridayFrom, FridayTo, TeacherEMail, CreditHours, ClassClosed, FinalLetterGrade, AppliesToGPA) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                   {semesterId, iso(start), iso(end), possible, possible * 9 / 10, possible * 8 / 10, possible * 7 / 10,
                    possible * 6 / 10, 0, teacher, className(sem, k), QStringLiteral("555-01%1").arg(r.between(10, 99)),
                    sentence(r, 6, 20), from(monday), to(monday), from(tuesday), to(tuesday), from(wednesday), to(wednesday),
                    from(thursday), to(thursday), from(friday), to(friday),
                    QStringLiteral("%1@college.example.edu").arg(teacher.toLower().replace(QLatin1Char(' '), QLatin1Char('.')).remove(QLatin1Char('\''))),
                    static_cast<double>(credit), closed ? 1 : 0, closed ? QVariant(s(r.pick(Letters))) : QVariant(), 1});
        }
        insert(db,
               "INSERT INTO Semesters (Title, TotalClasses, DateAdded, StartDate, EndDate, TotalHours, SemesterOrQuarter) "
               "VALUES (?, ?, ?, ?, ?, ?, ?)",
               {termTitle(sem), shape.classesPerSemester, iso(start.addDays(-10)), iso(start), iso(end), hours,
                QStringLiteral("Quarter")});
        // The work of a term is entered as the term goes, all classes mixed.
        std::stable_sort(work.begin(), work.end(), [](const Planned &a, const Planned &b) { return a.entered < b.entered; });
        for (const Planned &p : work)
            insert(db,
                   "INSERT INTO Assignments (Class_ID, AssignmentType, DateDue, MaxPointsPossible, ActualPoints, Comments, "
                   "DateEntered, DateGraded, AssignmentTitle, DocumentPath, Completed) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                   p.values);
    }
    progress("semesters, classes, work", clock);

    // Calendar items and tasks over the ten years, a few of them today.
    const QDate first(2016, 1, 1), last(2025, 12, 31);
    const int days = static_cast<int>(first.daysTo(last));
    auto datesOver = [&](int count, int todayCount) {
        QVector<QDate> dates;
        for (int i = 0; i < count - todayCount; ++i)
            dates << first.addDays(r.below(days + 1));
        for (int i = 0; i < todayCount; ++i)
            dates << today;
        std::sort(dates.begin(), dates.end());
        return dates;
    };
    for (const QDate &d : datesOver(shape.calendarItems, 3)) {
        const bool timed = r.chance(90);
        insert(db,
               "INSERT INTO CalItems (ItemDate, ItemTime, AlarmEnabledAudio, AlarmEnabledNotice, AlarmBefore, ItemText, "
               "Day, Month, Year, ItemDetails) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
               {iso(d), timed ? QVariant(hms(r.between(7, 20), r.chance(50) ? 0 : 30)) : QVariant(), 0, r.chance(20) ? 1 : 0,
                15, QStringLiteral("%1 with %2").arg(s(r.pick(EventTexts)), s(r.pick(FirstNames))), d.day(), d.month(),
                d.year(), r.chance(30) ? QVariant(sentence(r, 5, 15)) : QVariant()});
    }
    for (const QDate &d : datesOver(shape.tasks, 2))
        insert(db, "INSERT INTO Tasks (\"Date\", Completed, Details) VALUES (?, ?, ?)",
               {iso(d), d < today ? 1 : 0, QStringLiteral("%1 (%2)").arg(s(r.pick(TaskTexts)), sentence(r, 2, 6))});
    progress("calendar items, tasks", clock);

    for (int q = 1; q <= shape.quizzes; ++q) {
        const QDate added = first.addDays(r.below(days + 1));
        insert(db, "INSERT INTO Quizzes (Title, DateAdded, LastTaken, LastUser, LastScore) VALUES (?, ?, ?, ?, ?)",
               {QStringLiteral("Quiz %1: %2").arg(q, 3, 10, QLatin1Char('0')).arg(s(r.pick(Subjects))), iso(added),
                iso(added.addDays(r.between(1, 60))), QStringLiteral("student"), r.between(20, 50)});
        for (int n = 1; n <= shape.questionsPerQuiz; ++n)
            insert(db, "INSERT INTO QuizItems (Quiz_ID, Question, Answer) VALUES (?, ?, ?)",
                   {q, QStringLiteral("Question %1: %2?").arg(n).arg(sentence(r, 6, 16).chopped(1)), sentence(r, 1, 6)});
    }
    for (int c = 0; c < shape.contacts; ++c) {
        const QString first = s(r.pick(FirstNames)), lastName = s(r.pick(LastNames));
        insert(db,
               "INSERT INTO Contacts (AddDate, Name, EMail, Address1, Address2, City, State, ZIP, Phone1, Phone2) "
               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
               {iso(QDate(2016, 1, 1).addDays(r.below(days))), QStringLiteral("%1 %2 %3").arg(first, lastName).arg(c + 1),
                QStringLiteral("%1.%2%3@mail.example.org").arg(first.toLower(), QString(lastName).remove(QLatin1Char('\'')).toLower()).arg(c + 1),
                QStringLiteral("%1 Main Street").arg(r.between(1, 999)), r.chance(20) ? QVariant(QStringLiteral("Apt %1").arg(r.between(1, 40))) : QVariant(),
                s(r.pick(Cities)), s(r.pick(States)), QString::number(r.between(10000, 99999)),
                QStringLiteral("555-01%1").arg(r.between(10, 99)), r.chance(40) ? QVariant(QStringLiteral("555-02%1").arg(r.between(10, 99))) : QVariant()});
    }
    db.commitTrans();
    progress("quizzes, contacts", clock);
}

// The settings a student of ten years has: a colour for most classes, the
// last semester and class, no tips at start.
void writeSettings(const Dataset::Shape &shape)
{
    Random r(0xC0105u);
    for (int sem = 0; sem < shape.semesters; ++sem)
        for (int k = 0; k < shape.classesPerSemester; ++k)
            if (r.chance(90))
                Settings::save(Settings::App, QStringLiteral("ClassFolders"), className(sem, k), s(r.pick(Colours)));
    Settings::save(Settings::App, QStringLiteral("Settings"), QStringLiteral("LastSemester"), Dataset::lastSemester());
    Settings::save(Settings::App, QStringLiteral("Settings"), QStringLiteral("LastClass"), Dataset::lastClass());
    Settings::save(Settings::ExeApp, QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("0"));
}

} // namespace

namespace Dataset {

QDate today() { return QDate(2025, 10, 15); }
QString lastSemester() { return termTitle(39); }
QString lastClass() { return className(39, 0); }
QString searchWord() { return QStringLiteral("Photosynthesis"); }
QString absentWord() { return QStringLiteral("Zebrafish"); }
QString configFolder(const QString &folder) { return QDir(folder).filePath(QStringLiteral("config")); }

bool ensure(const QString &folder, const Shape &shape, QString *error)
{
    const QString stampPath = QDir(folder).filePath(QStringLiteral("dataset.txt"));
    {
        QFile stamp(stampPath);
        if (stamp.open(QIODevice::ReadOnly) && QString::fromUtf8(stamp.readAll()) == stampText(shape)
            && QFile::exists(QDir(folder).filePath(clsTarvelaDB::databaseFileName())))
            return true;
    }
    std::fprintf(stderr, "Generating the %dx database in %s (once; later runs reuse it)\n", shape.factor, qPrintable(folder));
    QElapsedTimer clock;
    clock.start();
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    clsTarvelaDB creator;
    if (!creator.Create_Tarvela_DB(folder)) {
        *error = creator.lastError();
        return false;
    }
    try {
        auto db = Database::open(QDir(folder).filePath(clsTarvelaDB::databaseFileName()));
        fill(*db, shape, clock);
        db->close();
    } catch (const RuntimeError &e) {
        *error = e.description();
        return false;
    }
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", configFolder(folder).toUtf8());
    writeSettings(shape);
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
    progress("settings", clock);
    QFile stamp(stampPath);
    if (!stamp.open(QIODevice::WriteOnly) || stamp.write(stampText(shape).toUtf8()) < 0) {
        *error = QStringLiteral("cannot write %1").arg(stampPath);
        return false;
    }
    return true;
}

} // namespace Dataset
