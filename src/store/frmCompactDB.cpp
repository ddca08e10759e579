#include "frmCompactDB.h"

#include "clsTarvelaDB.h"
#include "platform/Clock.h"
#include "platform/Artwork.h"
#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <cstdlib>

namespace {
const QString Section = QStringLiteral("Settings");

QLabel *wrapped(QWidget *parent, const char *name, const QString &text, const QRect &twips)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(twips.x() / Twips::PerPixel, twips.y() / Twips::PerPixel, twips.width() / Twips::PerPixel,
                   twips.height() / Twips::PerPixel);
    return l;
}
} // namespace

frmCompactDB::frmCompactDB()
{
    setObjectName(QStringLiteral("frmCompactDB"));
    setWindowTitle(QStringLiteral("Tarvela Database Optimization"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(Artwork::picture(QStringLiteral("compact"), 48));
    image->setGeometry(8, 8, 48, 48);
    wrapped(this, "Label1",
            QStringLiteral("Periodically, it's a good idea to compact your Tarvela database.  Compacting a database removes all "
                           "old references to records that may have been deleted, which aren't actually removed until you compact."),
            QRect(1080, 120, 5280, 1140));
    wrapped(this, "Label2",
            QStringLiteral("Compacting will not delete anything you need in Tarvela, it only performs behind-the-scenes cleanup."),
            QRect(1080, 1290, 5280, 570));
    wrapped(this, "Label3", QStringLiteral("Would you like to have Tarvela compact the database now?"), QRect(1080, 1890, 5280, 330));
    Command2 = new QPushButton(QStringLiteral("&Yes"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(2280 / Twips::PerPixel, 2340 / Twips::PerPixel, 1200 / Twips::PerPixel, 375 / Twips::PerPixel);
    Command1 = new QPushButton(QStringLiteral("&No"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(3600 / Twips::PerPixel, 2340 / Twips::PerPixel, 1200 / Twips::PerPixel, 375 / Twips::PerPixel);
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(1080 / Twips::PerPixel, 2880 / Twips::PerPixel, 300 / Twips::PerPixel, 300 / Twips::PerPixel);
    wrapped(this, "Label4", QStringLiteral("Check if you never want Tarvela to optimize."), QRect(1440, 2900, 4920, 300));
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblStatus->setGeometry(0, 3480 / Twips::PerPixel, 6600 / Twips::PerPixel, 255 / Twips::PerPixel);
    setFixedSize(6600 / Twips::PerPixel, AskingHeightTwips / Twips::PerPixel);

    connect(Check1, &QCheckBox::clicked, this, &frmCompactDB::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmCompactDB::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmCompactDB::Command2_Click);
}

void frmCompactDB::Form_Load()
{
    hide();
    setFixedHeight(AskingHeightTwips / Twips::PerPixel);
    if (Settings::get(Settings::App, Section, QStringLiteral("NeverCompact")) == QLatin1String("True")) {
        Unload();
        return;
    }
    cTarveladb = new clsTarvelaDB(this);
    connect(cTarveladb, &clsTarvelaDB::StatusText, this, &frmCompactDB::cTarveladb_StatusText);
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
    setFixedHeight(WorkingHeightTwips / Twips::PerPixel);
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
