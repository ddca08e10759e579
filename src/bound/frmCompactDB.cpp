#include "frmCompactDB.h"

#include "platform/Controls.h"

#include "store/clsTarvelaDB.h"
#include "platform/Clock.h"
#include "platform/Artwork.h"
#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QBoxLayout>
#include <QPushButton>
#include <cstdlib>

namespace {
const QString Section = QStringLiteral("Settings");
constexpr int WidthTwips = 6600;
constexpr int StatusTwips = 255;

QLabel *wrapped(QWidget *parent, const char *name, const QString &text)
{
    QLabel *l = wrappedLabel(parent, name, text);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}
} // namespace

void showNotices(clsTarvelaDB *db)
{
    QObject::connect(db, &clsTarvelaDB::Notice, db, [](const QString &text, const QString &title, clsTarvelaDB::NoticeKind kind) {
        MessageBox::show(text, MessageBox::OkOnly,
                         kind == clsTarvelaDB::NoticeKind::Critical ? MessageBox::Critical : MessageBox::Information, title);
    });
}

frmCompactDB::frmCompactDB()
{
    setObjectName(QStringLiteral("frmCompactDB"));
    setWindowTitle(QStringLiteral("Tarvela Database Optimization"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // The question and its answers in a layout of their own, so that every
    // text is whole at any font; the status line waits below them.
    m_body = new QWidget(this);
    auto *image = new QLabel(m_body);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(Artwork::picture(QStringLiteral("compact"), 48));
    auto *texts = new QVBoxLayout;
    texts->addWidget(wrapped(m_body, "Label1",
                             QStringLiteral("Periodically, it's a good idea to compact your Tarvela database.  Compacting a database "
                                            "removes all old references to records that may have been deleted, which aren't "
                                            "actually removed until you compact.")));
    texts->addWidget(wrapped(m_body, "Label2",
                             QStringLiteral("Compacting will not delete anything you need in Tarvela, it only performs "
                                            "behind-the-scenes cleanup.")));
    texts->addWidget(wrapped(m_body, "Label3", QStringLiteral("Would you like to have Tarvela compact the database now?")));
    Command2 = new QPushButton(QStringLiteral("&Yes"), m_body);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1 = new QPushButton(QStringLiteral("&No"), m_body);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    buttons->addStretch(1);
    texts->addLayout(buttons);
    Check1 = new QCheckBox(m_body);
    Check1->setObjectName(QStringLiteral("Check1"));
    auto *never = new QHBoxLayout;
    never->addWidget(Check1);
    QLabel *label4 = wrapped(m_body, "Label4", QStringLiteral("Check if you never want Tarvela to optimize."));
    label4->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    never->addWidget(label4, 1);
    texts->addLayout(never);
    auto *top = new QHBoxLayout(m_body);
    top->addWidget(image, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const int width = WidthTwips / Twips::PerPixel;
    // At least the designed height while asking, more where the texts need it.
    const int need = top->hasHeightForWidth() ? top->totalHeightForWidth(width) : top->totalSizeHint().height();
    m_askingHeight = qMax(AskingHeightTwips / Twips::PerPixel, need);
    m_body->setGeometry(0, 0, width, m_askingHeight);
    const int statusGap = (WorkingHeightTwips - AskingHeightTwips - StatusTwips) / Twips::PerPixel;
    lblStatus->setGeometry(0, m_askingHeight + statusGap / 2, width, StatusTwips / Twips::PerPixel);
    m_workingHeight = m_askingHeight + (WorkingHeightTwips - AskingHeightTwips) / Twips::PerPixel;
    setFixedSize(width, m_askingHeight);

    connect(Check1, &QCheckBox::clicked, this, &frmCompactDB::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmCompactDB::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmCompactDB::Command2_Click);
}

void frmCompactDB::Form_Load()
{
    hide();
    setFixedHeight(m_askingHeight);
    if (Settings::get(Settings::App, Section, QStringLiteral("NeverCompact")) == QLatin1String("True")) {
        Unload();
        return;
    }
    cTarveladb = new clsTarvelaDB(this);
    connect(cTarveladb, &clsTarvelaDB::StatusText, this, &frmCompactDB::cTarveladb_StatusText);
    showNotices(cTarveladb);
    const QString today = DateText::mmddyyyy(Clock::today());
    const QString last = Settings::get(Settings::App, Section, QStringLiteral("LastCompacted"));
    const auto lastDate = DateText::parseDate(last);
    if (last.isEmpty() || !lastDate) {
        // The first exit only starts the count, and so does a text that is no date.
        Settings::save(Settings::App, Section, QStringLiteral("LastCompacted"), today);
        Unload();
        return;
    }
    const qint64 days = std::llabs(lastDate->daysTo(*DateText::parseDate(today)));
    if (days >= 30)
        Show();
    else
        Unload();
}

void frmCompactDB::Check1_Click()
{
    Settings::save(Settings::App, Section, QStringLiteral("NeverCompact"),
                   Check1->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
}

void frmCompactDB::Command1_Click() { Unload(); }

void frmCompactDB::Command2_Click()
{
    setFixedHeight(m_workingHeight);
    Platform::doEvents();
    const bool done = cTarveladb->Compact_Tarvela_DB(Platform::programFolder());
    Platform::doEvents();
    // A failed compaction has told its own message; it is not reported as done.
    if (done) {
        Settings::save(Settings::App, Section, QStringLiteral("LastCompacted"), DateText::mmddyyyy(Clock::today()));
        MessageBox::show(QStringLiteral("Compacting of the database was completed!"), MessageBox::OkOnly,
                         MessageBox::Information, QStringLiteral("Done!"));
    }
    Unload();
}

void frmCompactDB::cTarveladb_StatusText(const QString &text) { lblStatus->setText(text); }
