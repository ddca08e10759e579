#include "Schema.h"

#include <QStringList>

namespace Schema {

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
    const QString where = i.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + i.where;
    return QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"%2\" (%3)%4").arg(i.name, i.table, i.columns, where);
}

const QStringList &seedAssignmentTypes()
{
    static const QStringList seeds = {
        QStringLiteral("Homework"), QStringLiteral("In-Class Test"), QStringLiteral("Take-Home Test"),
        QStringLiteral("Journal"), QStringLiteral("Reading"), QStringLiteral("Quiz"), QStringLiteral("Final Paper")};
    return seeds;
}

} // namespace Schema
