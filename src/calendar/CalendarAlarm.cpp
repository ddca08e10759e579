#include "CalendarAlarm.h"

#include "platform/Trap.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "platform/TextCodec.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/Values.h"
#include "store/modTransport.h"

#include <QScopedValueRollback>
#include <QSet>
#include <QTimer>

namespace {
// A tick while an alarm's box is up does not alarm a second time.
bool g_checking = false;
// Items alarmed whose marker did not fit their text.
QSet<QString> g_alarmedUnmarked; // file, key, date and time, text
} // namespace

namespace CalendarAlarm {

QString marker() { return QStringLiteral(" (NOTIFIED)"); }

bool isDue(const QVariant &itemDate, const QVariant &itemTime, const QString &text, const QDateTime &now)
{
    const auto date = DateText::toDate(itemDate);
    const auto time = DateText::toTime(itemTime);
    if (!date || !time || *date != now.date())
        return false;
    if (time->hour() != now.time().hour() || time->minute() != now.time().minute())
        return false;
    return !text.isEmpty() && !text.endsWith(QStringLiteral("(NOTIFIED)"));
}

void check()
{
    const QDateTime now = Clock::now();
    auto db = Database::open(databaseFileIn(Platform::programFolder()));
    auto rs = db->openRecordset(QStringLiteral("CalItems"), Database::Dynaset);
    const Schema::Field *textField = Schema::field(QStringLiteral("CalItems"), QStringLiteral("ItemText"));
    for (; !rs->isEOF(); rs->MoveNext()) {
        const QString text = rs->value(QStringLiteral("ItemText")).toString();
        if (!isDue(rs->value(QStringLiteral("ItemDate")), rs->value(QStringLiteral("ItemTime")), text, now))
            continue;
        const QString id = QStringList{db->path(), rs->value(QStringLiteral("ID")).toString(),
                                       now.toString(QStringLiteral("yyyy-MM-dd HH:mm")), text}
                               .join(QLatin1Char('|'));
        if (g_alarmedUnmarked.contains(id))
            continue;
        if (Values::isTrue(rs->value(QStringLiteral("AlarmEnabledAudio"))))
            Sound::beep();
        if (Values::isTrue(rs->value(QStringLiteral("AlarmEnabledNotice"))))
            MessageBox::show(rs->value(QStringLiteral("ItemDetails")).toString(), MessageBox::OkOnly, MessageBox::Information,
                             text);
        if (textField && TextCodec::characterCount(text + marker()) > textField->length) {
            // The text is kept whole; the item is remembered instead.
            g_alarmedUnmarked.insert(id);
            continue;
        }
        rs->Edit();
        rs->setValue(QStringLiteral("ItemText"), text + marker());
        rs->Update();
    }
    rs->Close();
    db->close();
}

void tick(QTimer *timer)
{
    if (!timer->isActive()) {
        timer->start();
        return;
    }
    if (g_checking)
        return;
    QScopedValueRollback<bool> guard(g_checking, true);
    Trap::guarded(check);
}

} // namespace CalendarAlarm
