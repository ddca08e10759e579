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
        const char *sql;
        const char *dateField;
        const char *textField;
        bool due;
    };
    const Source sources[] = {
        {"SELECT * FROM Assignments", "DateDue", "AssignmentTitle", true},
        {"SELECT * FROM CalItems", "ItemDate", "ItemText", false},
        {"SELECT * FROM Tasks", "Date", "Details", false},
    };
    // Every failing step is passed over; what could be read is listed.
    for (const Source &s : sources) {
        try {
            auto db = Database::open(DatabasePath);
            auto rs = db->openRecordset(QString::fromLatin1(s.sql), Database::Snapshot);
            if (!rs->isEmpty())
                anyRows = true;
            while (!rs->isEOF()) {
                const QString text = rs->value(QString::fromLatin1(s.textField)).toString();
                if (ofToday(rs->value(QString::fromLatin1(s.dateField))) && !text.isEmpty())
                    lstToday->addItem(s.due ? text + QStringLiteral(" is due today.") : text);
                rs->MoveNext();
            }
            rs->Close();
            db->close();
        } catch (const RuntimeError &) {
        }
    }
    if (anyRows)
        Show();
    else
        Unload();
}

void frmToday::cmdOK_Click() { Unload(); }
