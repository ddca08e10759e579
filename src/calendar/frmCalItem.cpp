#include "frmCalItem.h"

#include "platform/Trap.h"
#include "platform/Artwork.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/modTransport.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

// ------------------------------------------------------------------ the date box

SpinDateCombo::SpinDateCombo(QWidget *parent) : DateCombo(parent)
{
    auto *arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    auto arrow = [this, arrows](const char *name, Qt::ArrowType type, int days) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setArrowType(type);
        b->setFixedSize(18, 11);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, days] { stepBy(days); });
        arrows->addWidget(b);
    };
    arrow("up", Qt::UpArrow, 1);
    arrow("down", Qt::DownArrow, -1);
    if (auto *row = qobject_cast<QHBoxLayout *>(layout()))
        row->insertLayout(1, arrows);
    lineEdit()->installEventFilter(this);
    setTwoDigitDates(true);
}

void SpinDateCombo::stepBy(int days)
{
    const QDate from = DateText::parseDate(text()).value_or(Clock::today());
    setText(DateText::mmddyyyy(from.addDays(days)));
}

bool SpinDateCombo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return DateCombo::eventFilter(watched, event);
}

// ------------------------------------------------------------------ the window

namespace {
// Tells why a box's text is refused; the text stays for the user to correct.
bool refuse(QWidget *box, const QString &message, const QString &title)
{
    box->setFocus(Qt::OtherFocusReason);
    MessageBox::show(message, MessageBox::OkOnly, MessageBox::Information, title);
    return false;
}

} // namespace

frmCalItem::frmCalItem()
{
    setObjectName(QStringLiteral("frmCalItem"));
    setWindowTitle(QStringLiteral("Calendar Item Details"));
    Data1 = new DataSource(this, QStringLiteral("Data1"));
    Data1->setRecordSource(QStringLiteral("CalItems"));

    auto *panel = new Panel(this);
    panel->setObjectName(QStringLiteral("SSPanel1"));
    auto *image = new QLabel(panel);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(Artwork::picture(QStringLiteral("today"), 48));
    auto *intro = wrappedLabel(panel, "Label1",
                        QStringLiteral("Enter or select the date for this item below.  Clicking on the up/down arrows will "
                                       "increment and decrement the date.  The larger arrow will present a calendar that you "
                                       "can choose your date with."));
    auto *panelRow = new QHBoxLayout(panel);
    panelRow->addWidget(image, 0, Qt::AlignTop);
    panelRow->addWidget(intro, 1);

    cmbEventDate = new SpinDateCombo(this);
    cmbEventDate->setObjectName(QStringLiteral("cmbEventDate"));
    Text3 = new QLineEdit(this);
    Text3->setObjectName(QStringLiteral("Text3"));
    txtEventSummary = new QLineEdit(this);
    txtEventSummary->setObjectName(QStringLiteral("txtEventSummary"));
    if (const Schema::Field *f = Schema::field(QStringLiteral("CalItems"), QStringLiteral("ItemText")))
        limitCharacters(txtEventSummary, f->length);
    txtEventDetails = new QPlainTextEdit(this);
    txtEventDetails->setObjectName(QStringLiteral("txtEventDetails"));
    txtEventDetails->setTabChangesFocus(true);
    chkVisual = new QCheckBox(QStringLiteral("Display alarm?"), this);
    chkVisual->setObjectName(QStringLiteral("chkVisual"));
    cmdDone = new QPushButton(QStringLiteral("&Done"), this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDone->setDefault(true);

    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(cmbEventDate, 1);
    dateRow->addSpacing(12);
    dateRow->addWidget(wrappedLabel(this, "Label4", QStringLiteral("Time:")));
    dateRow->addWidget(Text3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(dateRow);
    layout->addWidget(wrappedLabel(this, "Label2", QStringLiteral("Enter a summary title for the event:")));
    layout->addWidget(txtEventSummary);
    layout->addWidget(wrappedLabel(this, "Label3", QStringLiteral("Type in more detailed information for this event.")));
    layout->addWidget(txtEventDetails, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkVisual);
    bottom->addStretch();
    bottom->addWidget(cmdDone);
    layout->addLayout(bottom);
    resize(440, 380);

    Data1->bind(cmbEventDate, QStringLiteral("ItemDate"));
    Data1->bind(Text3, QStringLiteral("ItemTime"));
    Data1->bind(txtEventSummary, QStringLiteral("ItemText"));
    Data1->bind(txtEventDetails, QStringLiteral("ItemDetails"));
    Data1->bind(chkVisual, QStringLiteral("AlarmEnabledNotice"));
    connect(cmdDone, &QPushButton::clicked, this, &frmCalItem::cmdDone_Click);
}

void frmCalItem::Form_Load()
{
    Data1->setDatabaseName(DatabasePath);
    Trap::guarded([this] { Data1->Refresh(); });
}

void frmCalItem::addEvent()
{
    frmCalItem *w = existing();
    // An item being edited keeps what was typed into it: refused entries
    // stay in their boxes to be put right first.
    if (w && (!w->checkTime() || !w->checkDate())) {
        w->Show();
        return;
    }
    w = instance();
    w->Show();
    w->Data1->setDatabaseName(databaseFileIn(Platform::programFolder()));
    Recordset &rs = w->Data1->recordset();
    rs.AddNew();
    const QString today = DateText::mmddyyyy(Clock::today());
    w->cmbEventDate->setText(today);
    w->txtEventSummary->setText(QStringLiteral("Event added ") + today);
    try {
        rs.Update();
    } catch (const RuntimeError &) {
        rs.CancelUpdate();
        w->Data1->showCurrentRow();
        throw;
    }
    rs.MoveLast();
}

bool frmCalItem::checkTime()
{
    const QString typed = Text3->text();
    if (typed.trimmed().isEmpty())
        return true;
    if (const auto time = DateText::timeOfDay(typed)) {
        // A date with a time (or a date alone) is read as its time of day,
        // as the class time boxes read it, and stored so.
        if (!DateText::parseTime(typed))
            Text3->setText(time->second() ? DateText::longTime(*time) : DateText::hmmAmPm(*time));
        return true;
    }
    return refuse(Text3,
                  QStringLiteral("\"%1\" is not a time.  Enter the time of the item in the #:## AM/PM way, for example "
                                 "3:00 PM, or leave the box empty.")
                      .arg(typed),
                  QStringLiteral("Invalid time!"));
}

bool frmCalItem::checkDate()
{
    const QString typed = cmbEventDate->text();
    if (typed.trimmed().isEmpty() || DateText::parseDate(typed))
        return true;
    return refuse(cmbEventDate,
                  QStringLiteral("\"%1\" is not a date.  Enter the date of the item as month/day/year, for example "
                                 "12/25/2024.")
                      .arg(typed),
                  QStringLiteral("Invalid date!"));
}

void frmCalItem::cmdDone_Click()
{
    if (!checkTime() || !checkDate())
        return;
    const auto date = DateText::parseDate(cmbEventDate->text());
    try {
        if (Data1->hasCurrentRow()) {
            if (date)
                Data1->saveRow({{QStringLiteral("Day"), date->day()},
                                {QStringLiteral("Month"), date->month()},
                                {QStringLiteral("Year"), date->year()}});
            else
                Data1->saveBoundControls();
        }
    } catch (const RuntimeError &e) {
        // The window stays with the entries, to be corrected.
        Trap::tell(e, MessageBox::Exclamation);
        return;
    }
    Unload();
}

void frmCalItem::Form_QueryUnload(bool &cancel)
{
    // The close box keeps the row and its edits, once they can be stored.
    if (!checkTime() || !checkDate())
        cancel = true;
}
