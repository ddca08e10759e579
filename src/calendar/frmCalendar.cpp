#include "frmCalendar.h"

#include "CalendarItems.h"
#include "DaySchedule.h"
#include "DayView.h"
#include "platform/Trap.h"
#include "MonthMarks.h"
#include "MonthView.h"
#include "frmCalItem.h"
#include "balloons/assistant.h"
#include "platform/MessageBox.h"
#include "platform/Settings.h"
#include "store/CurrentSelection.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/modTransport.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <QScreen>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

using Trap::guarded;

namespace {
const QString AssignmentDue = QStringLiteral("AssignmentDue");
QString automaticallyCreated() { return QStringLiteral("Cannot delete that record, it was automatically created!"); }
}

frmCalendar::frmCalendar()
{
    setObjectName(QStringLiteral("frmCalendar"));
    setWindowTitle(QStringLiteral("Tarvela Calendar"));

    datTasks = new DataSource(this, QStringLiteral("datTasks"));
    datTasks->setRecordSource(QStringLiteral("Tasks"));
    datAssignments = new DataSource(this, QStringLiteral("datAssignments"));
    datAssignments->setRecordSource(QStringLiteral("Assignments"));
    datCalendar = new DataSource(this, QStringLiteral("datCalendar"));
    datCalendar->setRecordSource(QStringLiteral("CalItems"));

    SSSplitter1 = new QSplitter(Qt::Horizontal, this);
    SSSplitter1->setObjectName(QStringLiteral("SSSplitter1"));
    SSSplitter1->setChildrenCollapsible(false);

    SSDay1 = new DayView(SSSplitter1);
    SSDay1->setObjectName(QStringLiteral("SSDay1"));
    if (const Schema::Field *f = Schema::field(QStringLiteral("CalItems"), QStringLiteral("ItemText")))
        SSDay1->setMaxTextLength(f->length);

    gridTasks = new DataGrid(SSSplitter1);
    gridTasks->setObjectName(QStringLiteral("gridTasks"));
    gridTasks->setCaption(QStringLiteral("Tasks/To-Do List"));
    gridTasks->setDataSource(datTasks, {{QStringLiteral("Completed"), QStringLiteral("Completed")},
                                        {QStringLiteral("Description"), QStringLiteral("Details")},
                                        {QStringLiteral("Date"), QStringLiteral("Date")}});
    {
        // Completed and Date as wide as their captions (drawn bold for the
        // current column) and a date; the description takes the rest.
        QFont bold = gridTasks->view()->horizontalHeader()->font();
        bold.setBold(true);
        const QFontMetrics caption(bold);
        const QFontMetrics cell(gridTasks->view()->font());
        gridTasks->setColumnWidth(0, caption.horizontalAdvance(QStringLiteral("Completed")) + 16);
        gridTasks->setColumnWidth(2, std::max(caption.horizontalAdvance(QStringLiteral("Date")),
                                              cell.horizontalAdvance(QStringLiteral("12/31/2026")))
                                         + 16);
        gridTasks->setStretchColumn(1);
    }

    SSMonth1 = new MonthView(SSSplitter1);
    SSMonth1->setObjectName(QStringLiteral("SSMonth1"));

    SSSplitter1->addWidget(SSDay1);
    SSSplitter1->addWidget(gridTasks);
    SSSplitter1->addWidget(SSMonth1);
    SSSplitter1->setStretchFactor(0, 3);
    SSSplitter1->setStretchFactor(1, 2);
    SSSplitter1->setStretchFactor(2, 0);

    cmdAddEvent = new QPushButton(QStringLiteral("Add Event"), this);
    cmdAddEvent->setObjectName(QStringLiteral("cmdAddEvent"));
    SSCommand1 = new QPushButton(QStringLiteral("Delete Event"), this);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
    SSCommand2 = new QPushButton(QStringLiteral("Exit Calendar"), this);
    SSCommand2->setObjectName(QStringLiteral("SSCommand2"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdAddEvent);
    buttons->addWidget(SSCommand1);
    buttons->addStretch();
    buttons->addWidget(SSCommand2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSSplitter1, 1);
    layout->addLayout(buttons);
    resize(900, 600);

    gridTasks->view()->installEventFilter(this);
    connect(SSMonth1, &MonthView::SelChange, this, &frmCalendar::SSMonth1_SelChange);
    connect(SSMonth1, &MonthView::DblClick, this, &frmCalendar::SSMonth1_DblClick);
    connect(SSDay1, &DayView::CloseEdit, this, &frmCalendar::SSDay1_CloseEdit);
    connect(SSDay1, &DayView::DeleteTask, this, &frmCalendar::SSDay1_DeleteTask);
    connect(cmdAddEvent, &QPushButton::clicked, this, &frmCalendar::cmdAddEvent_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &frmCalendar::SSCommand1_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &frmCalendar::SSCommand2_Click);
}

void frmCalendar::open()
{
    guarded([] { instance()->Show(); });
}

void frmCalendar::Form_Load()
{
    // Beside the main window, on the screen.
    if (CurrentSelection *main = CurrentSelection::get()) {
        if (QWidget *m = main->mainWindow()) {
            // The frame is not known before the first show: the main
            // window's serves.
            const QRect outer = m->frameGeometry();
            const QSize frame = outer.size() - m->size();
            const QRect placed =
                placeBesideMainWindow(outer, m->screen() ? m->screen()->availableGeometry() : QRect());
            resize(placed.size() - frame);
            move(placed.topLeft());
        }
    }
    const int w = std::max(600, width());
    SSSplitter1->setSizes({w * 40 / 100, w * 33 / 100, w * 27 / 100});
    datTasks->setDatabaseName(DatabasePath);
    datCalendar->setDatabaseName(DatabasePath);
    datAssignments->setDatabaseName(DatabasePath);
    m_marksDone = false;
    m_dueMarks.clear();
    guarded([this] {
        datTasks->Refresh();
        // Of the assignments only the month and day of their due dates
        // matter here: each distinct date is read once, no row is kept.
        auto db = Database::open(DatabasePath);
        m_dueMarks = MonthMarks::ofDueDates(*db);
        db->close();
    });
    // The day view starts with the day the month view shows selected, so
    // that what is typed into it belongs to a date.
    showDay(SSMonth1->selectedDateText());
}

QRect frmCalendar::placeBesideMainWindow(const QRect &mainFrame, const QRect &available)
{
    QRect r(QPoint(mainFrame.width(), mainFrame.top()), mainFrame.size());
    if (available.isEmpty())
        return r;
    r.setSize(r.size().boundedTo(available.size()));
    r.moveLeft(std::clamp(r.left(), available.left(), available.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), available.top(), available.bottom() + 1 - r.height()));
    return r;
}

void frmCalendar::Form_Activate()
{
    if (m_marksDone)
        return;
    // Once per opening, even when reading fails: a failure is told once.
    m_marksDone = true;
    guarded([this] { markDays(); });
}

void frmCalendar::markDays()
{
    SSMonth1->setDayStyleText(AssignmentDue, QString());
    // The items' marks come from their Month and Day only, each pair read once.
    datCalendar->setRecordSource(QStringLiteral("SELECT * From CalItems"));
    auto db = Database::open(DatabasePath);
    const QVector<MonthMarks::MonthDay> items = MonthMarks::ofItems(*db);
    db->close();
    for (const MonthMarks::MonthDay &md : items)
        SSMonth1->setDayStyle(md.month, md.day, AssignmentDue);
    for (const MonthMarks::MonthDay &md : std::as_const(m_dueMarks))
        SSMonth1->setDayStyle(md.month, md.day, AssignmentDue);
    SSMonth1->Repaint();
}

void frmCalendar::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    // An entry still being typed is stored before the window goes.
    SSDay1->endEdit();
    if (CurrentSelection *main = CurrentSelection::get())
        guarded([main] { main->showMainWindow(); });
}

bool frmCalendar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == gridTasks->view() && event->type() == QEvent::FocusIn)
        gridTasks_GotFocus();
    return Form::eventFilter(watched, event);
}

void frmCalendar::SSMonth1_SelChange(const QString &selDate) { showDay(selDate); }

void frmCalendar::showDay(const QString &selDate)
{
    // An edit still open belongs to the day shown so far.
    SSDay1->endEdit();
    m_lastSelected = selDate;
    SSDay1->removeAll();
    SSDay1->setCaption(selDate);
    const auto date = MonthView::cellDate(selDate);
    if (!date)
        return;
    guarded([&] {
        auto db = Database::open(DatabasePath);
        const DaySchedule::Content content = DaySchedule::build(*db, *date);
        db->close();
        for (const DayEntry &e : content.entries)
            SSDay1->add(e.start, e.end, e.text, e.colour);
        if (content.details)
            setWindowTitle(QStringLiteral("Tarvela Calendar - ") + *content.details);
    });
}

void frmCalendar::SSMonth1_DblClick()
{
    QString text;
    if (const auto date = MonthView::cellDate(m_lastSelected))
        text = SSMonth1->dayText(*date);
    if (!text.isEmpty())
        return;
    if (MessageBox::show(QStringLiteral("There is no item current there.  Add one?"), MessageBox::YesNo, MessageBox::Question,
                         QStringLiteral("No item."))
        == MessageBox::Yes)
        cmdAddEvent_Click();
}

void frmCalendar::gridTasks_GotFocus()
{
    if (m_toDoHintComing
        || Settings::get(Settings::App, QStringLiteral("Settings"), QStringLiteral("asst_SeenToDo")) == QLatin1String("Y"))
        return;
    // Marked as seen only once the balloon was on the screen.
    QScopedValueRollback<bool> coming(m_toDoHintComing, true);
    if (AssistantMessage(QStringLiteral("The To-Do list is where you can add items that you don't want displayed on the "
                                        "calendar.  Think of it as a note pad rather than a day-timer.")))
        Settings::save(Settings::App, QStringLiteral("Settings"), QStringLiteral("asst_SeenToDo"), QStringLiteral("Y"));
}

void frmCalendar::SSCommand2_Click() { Unload(); }

void frmCalendar::cmdAddEvent_Click()
{
    guarded([] { frmCalItem::addEvent(); });
}

void frmCalendar::SSDay1_CloseEdit(int, const QTime &, const QTime &, const QString &)
{
    // Every entry of the day is considered; only what the user typed or
    // changed is stored, each once.
    const auto date = MonthView::cellDate(m_lastSelected);
    if (!date)
        return;
    guarded([&] {
        auto db = Database::open(DatabasePath);
        CalendarItems::storeTyped(*db, *date, SSDay1->entries());
        db->close();
    });
}

void frmCalendar::SSDay1_DeleteTask(bool *rtnCancel, bool *rtnDispPromptMsg)
{
    *rtnDispPromptMsg = false;
    const int index = SSDay1->selectedIndex();
    const auto date = MonthView::cellDate(m_lastSelected);
    if (index < 0 || !date) {
        *rtnCancel = true;
        return;
    }
    const DayEntry e = SSDay1->entry(index);
    bool deleted = false;
    const bool ok = guarded([&] {
        auto db = Database::open(DatabasePath);
        deleted = CalendarItems::deleteFirst(*db, *date, e.start, e.text);
        db->close();
    });
    if (!ok) {
        *rtnCancel = true; // the failure was told; the entry stays
        return;
    }
    if (!deleted) {
        MessageBox::show(automaticallyCreated(), MessageBox::OkOnly, MessageBox::NoIcon, QString());
        *rtnCancel = true;
    }
}

void frmCalendar::SSCommand1_Click()
{
    const int index = SSDay1->selectedIndex();
    if (index < 0) {
        AssistantMessage(QStringLiteral("In order to delete an event, you'll need to select one first.  Some events cannot be "
                                        "deleted, for example any events that have been added by Tarvela automatically based "
                                        "upon your assignment due dates."));
        SSDay1->Repaint();
        return;
    }
    const DayEntry e = SSDay1->entry(index);
    if (MessageBox::show(QStringLiteral("Are you sure you want to delete, \n'") + e.text + QStringLiteral("?'"),
                         MessageBox::YesNoCancel, MessageBox::Question, QStringLiteral("Confirm event deletion"))
        != MessageBox::Yes)
        return;
    const auto date = MonthView::cellDate(m_lastSelected);
    if (!date)
        return;
    guarded([&] {
        auto db = Database::open(DatabasePath);
        const bool deleted = CalendarItems::deleteFirst(*db, *date, e.start, e.text);
        db->close();
        // The entry stays in sight until the day is selected again; the
        // next edit of the day does not store it anew.
        if (deleted)
            SSDay1->setTyped(index, false);
        else
            MessageBox::show(automaticallyCreated(), MessageBox::OkOnly, MessageBox::NoIcon, QString());
    });
}
