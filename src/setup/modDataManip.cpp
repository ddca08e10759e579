#include "modDataManip.h"

#include "store/modTransport.h"
#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"
#include "platform/Trap.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace {

std::optional<QDate> dateOf(const QString &text)
{
    const QVariant v = DateText::parse(text);
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return std::nullopt; // a time alone is no date
}

void refuse(const QString &text, const QString &title)
{
    MessageBox::show(text, MessageBox::OkOnly, MessageBox::Information, title);
}

} // namespace

bool AddSemester(const QString &title, const QString &startDate, const QString &endDate)
{
    if (title.trimmed().isEmpty()) {
        refuse(QStringLiteral("Couldn't add the new semester.\nNo title was specified!"), QStringLiteral("No Title!"));
        return false;
    }
    const int maxLength = Schema::field(QStringLiteral("Semesters"), QStringLiteral("Title"))->length;
    const qsizetype length = TextCodec::characterCount(title);
    if (length > maxLength) {
        refuse(QStringLiteral("Couldn't add the new semester.\nThe title is %1 characters long; it can have at most %2.")
                   .arg(length)
                   .arg(maxLength),
               QStringLiteral("Title too long!"));
        return false;
    }
    try {
        // Titles are compared as typed, without regard to letter case.
        auto db = Database::open(DatabasePath);
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Semesters WHERE SAMETEXT(Title, ?)"), Database::Snapshot,
                                    {title});
        const bool duplicate = !rs->isEmpty();
        rs->Close();
        db->close();
        if (duplicate) {
            refuse(QStringLiteral("Couldn't add the new semester.\nThat semester title was already in the database!"),
                   QStringLiteral("Duplicate title!"));
            return false;
        }
        const auto start = dateOf(startDate);
        if (!start) {
            refuse(QStringLiteral("Couldn't add the new semester!\nThe specified start date was invalid!"), QStringLiteral("Invalid start date"));
            return false;
        }
        const auto end = dateOf(endDate);
        if (!end) {
            refuse(QStringLiteral("Couldn't add the new semester!\nThe specified end date was invalid!"), QStringLiteral("Invalid end date"));
            return false;
        }
        db = Database::open(DatabasePath);
        auto table = db->openRecordset(QStringLiteral("Semesters"), Database::Dynaset);
        table->AddNew();
        table->setValue(QStringLiteral("Title"), title);
        table->setValue(QStringLiteral("StartDate"), *start);
        table->setValue(QStringLiteral("EndDate"), *end);
        table->Update();
        table->Close();
        db->close();
        return true;
    } catch (const RuntimeError &e) {
        Trap::tell(e, MessageBox::Critical, QStringLiteral("Couldn't add the new semester.\n"));
        return false;
    }
}
