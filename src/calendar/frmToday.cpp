#include "frmToday.h"

#include "store/modTransport.h"
#include "platform/Clock.h"
#include "platform/Artwork.h"
#include "platform/Controls.h"
#include "platform/DateText.h"
#include "platform/RuntimeError.h"
#include "store/Database.h"
#include "store/Recordset.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmToday::frmToday()
{
    setObjectName(QStringLiteral("frmToday"));
    setWindowTitle(QStringLiteral("Today's Events"));
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(Artwork::picture(QStringLiteral("today"), 40));
    auto *label = new QLabel(QStringLiteral("Events for Today..."), this);
    label->setObjectName(QStringLiteral("Label1"));
    auto *panel = new Panel(this);
    panel->setObjectName(QStringLiteral("SSPanel1"));
    lstToday = new QListWidget(this);
    lstToday->setObjectName(QStringLiteral("lstToday"));
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    auto *top = new QHBoxLayout(panel);
    top->addWidget(picture);
    top->addWidget(label, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(lstToday, 1);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
    resize(360, 260);
    connect(cmdOK, &QPushButton::clicked, this, &frmToday::cmdOK_Click);
}

void frmToday::Form_Load()
{
    bool anyRows = false;
    const QDate today = Clock::today();
    auto ofToday = [&](const QVariant &v) {
        const auto d = DateText::toDate(v);
        return d && *d == today;
    };
    struct Source {
        const char *table;
        const char *key;
        const char *dateField;
        const char *textField;
        bool due;
    };
    const Source sources[] = {
        {"Assignments", "ID", "DateDue", "AssignmentTitle", true},
        {"CalItems", "ID", "ItemDate", "ItemText", false},
        {"Tasks", "TaskID", "Date", "Details", false},
    };
    // Only today's rows are read, through the index on the day of the date
    // (as the calendar's day view reads a day).
    const QVariantList day{today.toString(Qt::ISODate)};
    std::shared_ptr<Database> db;
    try {
        db = Database::open(DatabasePath);
    } catch (const RuntimeError &) {
    }
    // Every failing step is passed over; what could be read is listed.
    for (const Source &s : sources) {
        if (!db)
            break;
        const QString table = QString::fromLatin1(s.table);
        const QString key = QString::fromLatin1(s.key);
        const QString dateField = QString::fromLatin1(s.dateField);
        const QString textField = QString::fromLatin1(s.textField);
        try {
            // Any row at all, of whatever date, has the window shown.
            auto any = db->openRecordset(QStringLiteral("SELECT \"%1\" FROM \"%2\" LIMIT 1").arg(key, table), Database::Snapshot);
            if (!any->isEmpty())
                anyRows = true;
            any->Close();
            // Today's rows, in the order of the table.
            auto rs = db->openRecordset(QStringLiteral("SELECT \"%1\", \"%2\", \"%3\" FROM \"%4\" WHERE date(\"%2\") = ? ORDER BY \"%1\"")
                                            .arg(key, dateField, textField, table),
                                        Database::Snapshot, day);
            while (!rs->isEOF()) {
                const QString text = rs->value(textField).toString();
                if (ofToday(rs->value(dateField)) && !text.isEmpty())
                    lstToday->addItem(s.due ? text + QStringLiteral(" is due today.") : text);
                rs->MoveNext();
            }
            rs->Close();
        } catch (const RuntimeError &) {
        }
    }
    if (db)
        db->close();
    if (anyRows)
        Show();
    else
        Unload();
}

void frmToday::cmdOK_Click() { Unload(); }
