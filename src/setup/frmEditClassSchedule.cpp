#include "frmEditClassSchedule.h"

#include "store/modTransport.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Trap.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const BoxNames[ClassTimes::BoxCount] = {
    "txtMondayFrom",   "txtMondayTo",   "txtTuesdayFrom", "txtTuesdayTo",   "txtWednesdayFrom",
    "txtWednesdayTo",  "txtThursdayFrom", "txtThursdayTo", "txtFridayFrom", "txtFridayTo",
    "txtSaturdayFrom", "txtSaturdayTo", "txtSundayFrom",  "txtSundayTo"};

const char *const Fields[ClassTimes::BoxCount] = {
    "MondayFrom",   "MondayTo",   "TuesdayFrom", "TuesdayTo",    "WednesdayFrom", "WednesdayTo", "ThursdayFrom",
    "ThursdayTo",   "FridayFrom", "FridayTo",    "SaturdayFrom", "SaturdayTo",    "SundayFrom",  "SundayTo"};

const char *const DayHeads[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

} // namespace

frmEditClassSchedule::frmEditClassSchedule()
{
    setObjectName(QStringLiteral("frmEditClassSchedule"));
    setWindowTitle(QStringLiteral("Edit Class Schedule"));

    datClasses = new DataSource(this, QStringLiteral("datClasses"));

    auto *promptText = new QLabel(QStringLiteral("Enter the starting and ending times for this class in the grid below.  Make sure to "
                                                 "enter your times in the format #:## AM or PM.  For example, 3:00 AM is valid, but "
                                                 "1500 is not."),
                                  this);
    promptText->setWordWrap(true);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("From"), this), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("To"), this), 2, 0);
    for (int day = 0; day < 7; ++day) {
        auto *head = new QLabel(QString::fromLatin1(DayHeads[day]), this);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, day + 1);
    }
    for (int i = 0; i < ClassTimes::BoxCount; ++i) {
        m_boxes[i] = new QLineEdit(this);
        m_boxes[i]->setObjectName(QString::fromLatin1(BoxNames[i]));
        m_boxes[i]->installEventFilter(this);
        grid->addWidget(m_boxes[i], i % 2 + 1, i / 2 + 1);
        datClasses->bind(m_boxes[i], QString::fromLatin1(Fields[i]));
    }
    txtMondayFrom = m_boxes[0];
    txtMondayTo = m_boxes[1];
    txtTuesdayFrom = m_boxes[2];
    txtTuesdayTo = m_boxes[3];
    txtWednesdayFrom = m_boxes[4];
    txtWednesdayTo = m_boxes[5];
    txtThursdayFrom = m_boxes[6];
    txtThursdayTo = m_boxes[7];
    txtFridayFrom = m_boxes[8];
    txtFridayTo = m_boxes[9];
    txtSaturdayFrom = m_boxes[10];
    txtSaturdayTo = m_boxes[11];
    txtSundayFrom = m_boxes[12];
    txtSundayTo = m_boxes[13];

    cmdDone = new QPushButton(QStringLiteral("&Done"), this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdDone);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(promptText);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(620, 170);

    connect(cmdDone, &QPushButton::clicked, this, Trap::slot(this, &frmEditClassSchedule::cmdDone_Click));
}

void frmEditClassSchedule::Form_Load()
{
    datClasses->setDatabaseName(databaseFileIn(Platform::programFolder()));
}

void frmEditClassSchedule::Form_Activate()
{
    // Every stored time shows in the form it is entered in.
    validateAll();
}

void frmEditClassSchedule::validateAll()
{
    for (QLineEdit *box : m_boxes)
        ValidateTime(box);
}

void frmEditClassSchedule::ValidateTime(QLineEdit *box)
{
    const ClassTimes::Checked checked = ClassTimes::check(box->text());
    switch (checked.result) {
    case ClassTimes::Checked::Empty:
        box->clear();
        break;
    case ClassTimes::Checked::Valid:
        if (box->text() != checked.text)
            box->setText(checked.text);
        break;
    case ClassTimes::Checked::Invalid:
        box->clear();
        box->setFocus(Qt::OtherFocusReason);
        MessageBox::show(QStringLiteral("Something was wrong with the way you \nentered the time for that day.  Time \ncan be "
                                        "entered in the #:## AM/PM way.\n\nFor example, 3:00 AM is a valid time."),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("Invalid time!"));
        break;
    }
}

bool frmEditClassSchedule::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < ClassTimes::BoxCount; ++i) {
        if (watched != m_boxes[i])
            continue;
        switch (event->type()) {
        case QEvent::FocusIn:
            box_GotFocus(m_boxes[i]);
            break;
        case QEvent::FocusOut: {
            // Leaving the window for another one is no leaving of the box.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                box_LostFocus(m_boxes[i]);
            break;
        }
        case QEvent::KeyPress:
            if (box_KeyDown(i, static_cast<QKeyEvent *>(event)->key()))
                return true;
            break;
        default:
            break;
        }
        break;
    }
    return Form::eventFilter(watched, event);
}

void frmEditClassSchedule::box_GotFocus(QLineEdit *box) { box->selectAll(); }

void frmEditClassSchedule::box_LostFocus(QLineEdit *box) { ValidateTime(box); }

bool frmEditClassSchedule::box_KeyDown(int index, int key)
{
    // Shift, Ctrl and Alt make no difference.
    ClassTimes::Arrow arrow;
    switch (key) {
    case Qt::Key_Left: arrow = ClassTimes::Arrow::Left; break;
    case Qt::Key_Up: arrow = ClassTimes::Arrow::Up; break;
    case Qt::Key_Right: arrow = ClassTimes::Arrow::Right; break;
    case Qt::Key_Down: arrow = ClassTimes::Arrow::Down; break;
    default: return false;
    }
    const int target = ClassTimes::arrowTarget(index, arrow);
    if (target < 0)
        return false;
    m_boxes[target]->setFocus(Qt::OtherFocusReason);
    return true;
}

void frmEditClassSchedule::cmdDone_Click()
{
    validateAll();
    Unload();
}

void frmEditClassSchedule::Form_QueryUnload(bool &)
{
    // The close box checks the boxes as Done does, so that a time that
    // cannot be stored is told as such and nothing else is held back.
    validateAll();
    try {
        datClasses->saveRow();
    } catch (const RuntimeError &) {
        // The window's closing tells what could not be stored.
    }
}
