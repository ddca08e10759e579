#include "Schema.h"

#include <QStringList>

namespace Schema {

QString quoted(const QString &text) { return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"'); }

namespace {
Field key(const char *name) { return Field{QString::fromLatin1(name), Type::Long, 0}; }
Field lng(const char *name) { return Field{QString::fromLatin1(name), Type::Long, 0}; }
Field shrt(const char *name) { return Field{QString::fromLatin1(name), Type::Integer, 0}; }
Field dbl(const char *name, double minimum, double maximum)
{
    return Field{QString::fromLatin1(name), Type::Double, 0, minimum, maximum};
}
Field date(const char *name) { return Field{QString::fromLatin1(name), Type::DateTime, 0}; }
Field yesno(const char *name) { return Field{QString::fromLatin1(name), Type::Boolean, 0}; }
Field text(const char *name, int length = 255) { return Field{QString::fromLatin1(name), Type::Text, length}; }
Field memo(const char *name) { return Field{QString::fromLatin1(name), Type::Memo, 0}; }

QVector<Table> build()
{
    return {
        {QStringLiteral("Assignments"),
         {key("ID"), lng("Class_ID"), text("AssignmentType"), date("DateDue"), lng("MaxPointsPossible"),
          lng("ActualPoints"), memo("Comments"), date("DateEntered"), date("DateGraded"),
          text("AssignmentTitle", 200), text("DocumentPath", 255), yesno("Completed")}},
        {QStringLiteral("AssignmentTypes"),
         {key("ID"), text("AssignmentTypeText", 50), memo("AssignmentTypeDescription")}},
        {QStringLiteral("CalItems"),
         {key("ID"), date("ItemDate"), date("ItemTime"), yesno("AlarmEnabledAudio"), yesno("AlarmEnabledNotice"),
          lng("AlarmBefore"), text("ItemText"), shrt("Day"), shrt("Month"), shrt("Year"), memo("ItemDetails"),
          text("AlarmAudioFile")}},
        {QStringLiteral("Classes"),
         {key("ID"), lng("Semester_ID"), date("StartDate"), date("EndDate"), lng("PointsPossible"),
          lng("Points_Grade_A"), lng("Points_Grade_B"), lng("Points_Grade_C"), lng("Points_Grade_D"),
          lng("Points_Grade_F"), text("TeacherName"), text("ClassName"), text("TeacherPhone"), memo("ClassNotes"),
          date("MondayFrom"), date("MondayTo"), date("TuesdayFrom"), date("TuesdayTo"), date("WednesdayFrom"),
          date("WednesdayTo"), date("ThursdayFrom"), date("ThursdayTo"), date("FridayFrom"), date("FridayTo"),
          date("SaturdayFrom"), date("SaturdayTo"), date("SundayFrom"), date("SundayTo"), text("TeacherEMail", 50),
          dbl("CreditHours", 0, MaxCreditHours), yesno("ClassClosed"), text("FinalLetterGrade", 50), yesno("AppliesToGPA")}},
        {QStringLiteral("Contacts"),
         {key("Contact_ID"), date("AddDate"), memo("Picture"), text("Name", 100), text("EMail", 100),
          text("Address1", 100), text("Address2", 100), text("City", 100), text("State", 50), text("ZIP", 50),
          text("Phone1", 50), text("Phone2", 50)}},
        {QStringLiteral("QuizItems"),
         {key("ID"), lng("Quiz_ID"), text("Question", 250), text("Answer", 250)}},
        {QStringLiteral("Quizzes"),
         {key("ID"), text("Title", 100), date("DateAdded"), date("LastTaken"), text("LastUser", 150),
          lng("LastScore")}},
        {QStringLiteral("Semesters"),
         {key("ID"), text("Title", 100), lng("TotalClasses"), date("DateAdded"), date("StartDate"), date("EndDate"),
          lng("TotalHours"), text("SemesterOrQuarter", 50)}},
        {QStringLiteral("Tasks"),
         {key("TaskID"), date("Date"), yesno("Completed"), memo("Details")}},
    };
}
} // namespace

const QVector<Table> &tables()
{
    static const QVector<Table> all = build();
    return all;
}

const Table *table(const QString &name)
{
    for (const Table &t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const Field *field(const QString &tableName, const QString &name)
{
    const Table *t = table(tableName);
    if (!t)
        return nullptr;
    for (const Field &f : t->fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QString declaredType(const Field &f)
{
    switch (f.type) {
    case Type::Boolean: return QStringLiteral("BOOLEAN");
    case Type::Integer: return QStringLiteral("SMALLINT");
    case Type::Long: return QStringLiteral("INTEGER");
    case Type::Double: return QStringLiteral("DOUBLE");
    case Type::DateTime: return QStringLiteral("DATETIME_TEXT");
    case Type::Text: return QStringLiteral("TEXT(%1)").arg(f.length);
    case Type::Memo: return QStringLiteral("LONGTEXT");
    }
    return QString();
}

QString createStatement(const Table &t)
{
    QStringList columns;
    for (int i = 0; i < t.fields.size(); ++i) {
        const Field &f = t.fields[i];
        QString col = QStringLiteral("\"%1\" ").arg(f.name);
        if (i == 0) {
            col += QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        } else {
            col += declaredType(f);
            if (f.type == Type::Text || f.type == Type::Memo)
                col += QStringLiteral(" COLLATE NOCASE");
            if (f.type == Type::Text)
                // length() counts characters, as the store's own check does.
                col += QStringLiteral(" CHECK (length(\"%1\") <= %2)").arg(f.name).arg(f.length);
        }
        columns << col;
    }
    return QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(t.name, columns.join(QStringLiteral(", ")));
}

const QVector<Index> &indexes()
{
    // The keys the grade book, the tree, the quizzer and the day lookups of
    // the calendar and today's events filter and sort on.
    static const QVector<Index> all = {
        {QStringLiteral("idxAssignmentsClassDue"), QStringLiteral("Assignments"), QStringLiteral("Class_ID, DateDue")},
        {QStringLiteral("idxAssignmentsDueDay"), QStringLiteral("Assignments"), QStringLiteral("date(DateDue)")},
        {QStringLiteral("idxAssignmentsTitle"), QStringLiteral("Assignments"), QStringLiteral("AssignmentTitle")},
        {QStringLiteral("idxClassesSemester"), QStringLiteral("Classes"), QStringLiteral("Semester_ID")},
        {QStringLiteral("idxQuizItemsQuiz"), QStringLiteral("QuizItems"), QStringLiteral("Quiz_ID")},
        {QStringLiteral("idxCalItemsDay"), QStringLiteral("CalItems"), QStringLiteral("date(ItemDate)")},
        {QStringLiteral("idxTasksDay"), QStringLiteral("Tasks"), QStringLiteral("date(\"Date\")")},
        // The calendar's marks: the months and days of the due dates and of
        // the items, each read once.
        {QStringLiteral("idxAssignmentsDueMonthDay"), QStringLiteral("Assignments"), QStringLiteral("substr(DateDue, 6, 5)"),
         storedDateCondition(QStringLiteral("DateDue"))},
        {QStringLiteral("idxAssignmentsDueOtherForms"), QStringLiteral("Assignments"), QStringLiteral("DateDue"),
         QStringLiteral("NOT ") + storedDateCondition(QStringLiteral("DateDue"))},
        {QStringLiteral("idxCalItemsMonthDay"), QStringLiteral("CalItems"), QStringLiteral("Month, Day")},
    };
    static const QVector<Index> withYesNo = [] {
        QVector<Index> out = all;
        for (const Table &t : tables())
            for (const Field &f : t.fields)
                if (f.type == Type::Boolean)
                    out.push_back({QStringLiteral("idx%1%2Null").arg(t.name, f.name), t.name, QStringLiteral("\"%1\"").arg(f.name),
                                   QStringLiteral("\"%1\" IS NULL").arg(f.name)});
        return out;
    }();
    return withYesNo;
}

QString createIndexStatement(const Index &i)
{
    return QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"%2\" (%3)").arg(i.name, i.table, i.columns)
        + (i.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + i.where);
}

QString storedDateCondition(const QString &field)
{
    const QString digits = QStringLiteral("[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]");
    return QStringLiteral("((%1 GLOB '%2' OR (%1 GLOB '%2 [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' AND substr(%1, 12, 2) <= '23' "
                          "AND substr(%1, 15, 2) <= '59' AND substr(%1, 18, 2) <= '59')) AND substr(%1, 1, 4) <> '0000')")
        .arg(field, digits);
}

const TextIndex &assignmentText()
{
    static const TextIndex index{QStringLiteral("idxAssignmentsText"), QStringLiteral("Assignments"), QStringLiteral("ID"),
                                 {QStringLiteral("AssignmentTitle"), QStringLiteral("Comments")}};
    return index;
}

namespace {
QString quote(const QString &name) { return QLatin1Char('"') + name + QLatin1Char('"'); }
QString triggerName(const TextIndex &i, const char *on) { return i.name + QLatin1String(on); }
} // namespace

QList<QPair<QString, QString>> definitions(const TextIndex &i)
{
    QStringList fields, added, removed;
    for (const QString &f : i.fields) {
        fields << quote(f);
        added << QStringLiteral("new.") + quote(f);
        removed << QStringLiteral("old.") + quote(f);
    }
    const QString list = fields.join(QStringLiteral(", "));
    // A row goes in with the texts it has now and out with the texts it had,
    // exactly as they went in.
    const QString insert = QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (new.%3, %4);")
                               .arg(quote(i.name), list, quote(i.key), added.join(QStringLiteral(", ")));
    const QString remove = QStringLiteral("INSERT INTO %1 (%1, rowid, %2) VALUES ('delete', old.%3, %4);")
                               .arg(quote(i.name), list, quote(i.key), removed.join(QStringLiteral(", ")));
    return {
        // Pieces of three characters in any script, with the capitals of
        // many scripts taken for small letters; the search asks for each
        // letter in every case it has, so that the engine's idea of letter
        // case never decides what is found. Only the keys are kept, not where
        // in a text a piece stands.
        {i.name, QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, content=%3, content_rowid=%4, "
                                "tokenize='trigram', detail=none, columnsize=0)")
                     .arg(quote(i.name), list, quote(i.table), quote(i.key))},
        {triggerName(i, "Insert"), QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN %3 END")
                                       .arg(quote(triggerName(i, "Insert")), quote(i.table), insert)},
        {triggerName(i, "Delete"), QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN %3 END")
                                       .arg(quote(triggerName(i, "Delete")), quote(i.table), remove)},
        {triggerName(i, "Update"), QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF %2, %3 ON %4 BEGIN %5 %6 END")
                                       .arg(quote(triggerName(i, "Update")), quote(i.key), list, quote(i.table), remove, insert)},
    };
}

bool isWhole(const TextIndex &i, const QHash<QString, QString> &fileObjects)
{
    // Made otherwise (by an earlier version, say), it is made afresh.
    for (const auto &[name, statement] : definitions(i))
        if (fileObjects.value(name.toLower()) != statement)
            return false;
    return true;
}

QStringList createStatements(const TextIndex &i)
{
    const QList<QPair<QString, QString>> parts = definitions(i);
    QStringList statements;
    for (const auto &part : parts.mid(1))
        statements << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(quote(part.first));
    statements << QStringLiteral("DROP TABLE IF EXISTS %1").arg(quote(i.name)) << parts.first().second
               << QStringLiteral("INSERT INTO %1 (%1) VALUES ('rebuild')").arg(quote(i.name))
               << QStringLiteral("INSERT INTO %1 (%1) VALUES ('optimize')").arg(quote(i.name));
    for (const auto &part : parts.mid(1))
        statements << part.second;
    return statements;
}

const QStringList &seedAssignmentTypes()
{
    static const QStringList seeds = {
        QStringLiteral("Homework"), QStringLiteral("In-Class Test"), QStringLiteral("Take-Home Test"),
        QStringLiteral("Journal"), QStringLiteral("Reading"), QStringLiteral("Quiz"), QStringLiteral("Final Paper")};
    return seeds;
}

} // namespace Schema
