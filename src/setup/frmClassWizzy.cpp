#include "frmClassWizzy.h"

#include "ClassTimes.h"
#include "balloons/assistant.h"
#include "store/modTransport.h"
#include "platform/Artwork.h"
#include "platform/Controls.h"
#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "platform/Trap.h"
#include "bound/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Values.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const TimeFields[ClassTimes::BoxCount] = {
    "MondayFrom",   "MondayTo",   "TuesdayFrom", "TuesdayTo", "WednesdayFrom", "WednesdayTo", "ThursdayFrom",
    "ThursdayTo",   "FridayFrom", "FridayTo",    "SaturdayFrom", "SaturdayTo", "SundayFrom",  "SundayTo"};

const char *const DayLabels[7] = {"Mondays:", "Tuesdays:", "Wednesdays:", "Thursdays:", "Fridays:", "Saturdays:", "Sundays:"};

QLabel *prompt(QWidget *parent, const QString &caption)
{
    auto *l = new QLabel(caption, parent);
    l->setWordWrap(true);
    return l;
}

QGroupBox *stepFrame(QWidget *parent, int step, QLabel *&picture, const char *pictureName)
{
    auto *frame = new QGroupBox(QStringLiteral("Add Class Wizard - Step %1").arg(step), parent);
    frame->setObjectName(QStringLiteral("Frame%1").arg(step));
    picture = named<QLabel>(frame, pictureName);
    picture->setPixmap(Artwork::picture(QStringLiteral("books"), 64));
    return frame;
}

// Lays a step out: its picture on the left, its boxes on the right.
void arrange(QGroupBox *frame, QLabel *picture, QLayout *content)
{
    auto *row = new QHBoxLayout(frame);
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addLayout(content, 1);
}

} // namespace

frmClassWizzy::frmClassWizzy()
{
    setObjectName(QStringLiteral("frmClassWizzy"));
    setWindowTitle(QStringLiteral("Add Class Wizard"));

    datClasses = new DataSource(this, QStringLiteral("datClasses"));
    datSemesters = new DataSource(this, QStringLiteral("datSemesters"));

    // Step 1: semester, name and dates.
    Frame1 = stepFrame(this, 1, imgBooks, "imgBooks");
    cboSemester = named<QComboBox>(Frame1, "cboSemester");
    cboSemester->installEventFilter(this);
    txtClassName = named<QLineEdit>(Frame1, "txtClassName");
    cboStart = named<DateCombo>(Frame1, "cboStart");
    cboEnd = named<DateCombo>(Frame1, "cboEnd");
    auto *step1 = new QVBoxLayout;
    step1->addWidget(prompt(Frame1, QStringLiteral("Select the semester for the new class from the drop-down list below.  ")));
    step1->addWidget(cboSemester);
    step1->addWidget(prompt(Frame1, QStringLiteral("Type in the name for the new class in the text box below.  For example, Biology 101.")));
    step1->addWidget(txtClassName);
    step1->addWidget(prompt(Frame1, QStringLiteral("Select or enter the start date for the class below.  By default, the start and "
                                                   "end dates for the semester are entered for you.")));
    step1->addWidget(cboStart);
    step1->addWidget(prompt(Frame1, QStringLiteral("Select or enter the last day for this class.")));
    step1->addWidget(cboEnd);
    step1->addStretch();
    arrange(Frame1, imgBooks, step1);

    // Step 2: credit hours and point thresholds.
    Frame2 = stepFrame(this, 2, imgBooks2, "imgBooks2");
    txtCreditHours = named<QLineEdit>(Frame2, "txtCreditHours");
    txtPointsPossible = named<QLineEdit>(Frame2, "txtPointsPossible");
    txtPoints_Grade_A = named<QLineEdit>(Frame2, "txtPoints_Grade_A");
    txtPoints_Grade_B = named<QLineEdit>(Frame2, "txtPoints_Grade_B");
    txtPoints_Grade_C = named<QLineEdit>(Frame2, "txtPoints_Grade_C");
    txtPoints_Grade_D = named<QLineEdit>(Frame2, "txtPoints_Grade_D");
    auto *step2 = new QFormLayout;
    step2->addRow(prompt(Frame2, QStringLiteral("Enter the credit hours for this class:")), txtCreditHours);
    step2->addRow(prompt(Frame2, QStringLiteral("Enter the total possible points:")), txtPointsPossible);
    step2->addRow(prompt(Frame2, QStringLiteral("Minimum points for an A:")), txtPoints_Grade_A);
    step2->addRow(prompt(Frame2, QStringLiteral("Minimum points for a B:")), txtPoints_Grade_B);
    step2->addRow(prompt(Frame2, QStringLiteral("Minimum points for a C:")), txtPoints_Grade_C);
    step2->addRow(prompt(Frame2, QStringLiteral("Minimum points for a D:")), txtPoints_Grade_D);
    arrange(Frame2, imgBooks2, step2);

    // Step 3: the weekly times, one row per weekday.
    Frame3 = stepFrame(this, 3, imgBooks3, "imgBooks3");
    auto *step3 = new QGridLayout;
    step3->addWidget(prompt(Frame3, QStringLiteral("Start Time")), 0, 1);
    step3->addWidget(prompt(Frame3, QStringLiteral("End Time")), 0, 2);
    for (int day = 0; day < 7; ++day)
        step3->addWidget(prompt(Frame3, QString::fromLatin1(DayLabels[day])), day + 1, 0);
    for (int i = 0; i < ClassTimes::BoxCount; ++i) {
        Text[i] = new QLineEdit(Frame3);
        Text[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        step3->addWidget(Text[i], i / 2 + 1, i % 2 + 1);
    }
    step3->setRowStretch(8, 1);
    arrange(Frame3, imgBooks3, step3);

    // Step 4: teacher and notes.
    Frame4 = stepFrame(this, 4, imgBooks4, "imgBooks4");
    txtTeacherName = named<QLineEdit>(Frame4, "txtTeacherName");
    txtTeacherPhone = named<QLineEdit>(Frame4, "txtTeacherPhone");
    txtTeacherEMail = named<QLineEdit>(Frame4, "txtTeacherEMail");
    Text18 = named<QPlainTextEdit>(Frame4, "Text18");
    auto *step4 = new QVBoxLayout;
    step4->addWidget(prompt(Frame4, QStringLiteral("Name of the teacher:")));
    step4->addWidget(txtTeacherName);
    step4->addWidget(prompt(Frame4, QStringLiteral("Teacher's phone number:")));
    step4->addWidget(txtTeacherPhone);
    step4->addWidget(prompt(Frame4, QStringLiteral("Teacher's E-Mail address:")));
    step4->addWidget(txtTeacherEMail);
    step4->addWidget(prompt(Frame4, QStringLiteral("Any additional notes:")));
    step4->addWidget(Text18, 1);
    arrange(Frame4, imgBooks4, step4);

    // The class's semester key travels in a box the user never sees.
    txtSemesterID = named<QLineEdit>(this, "txtSemesterID");
    txtSemesterID->setVisible(false);

    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Command2 = new QPushButton(QStringLiteral("<< &Previous"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    cmdNext = new QPushButton(QStringLiteral("&Next >>"), this);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(cmdNext);

    // The four steps share one place; one of them shows at a time.
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1, 1);
    layout->addWidget(Frame2, 1);
    layout->addWidget(Frame3, 1);
    layout->addWidget(Frame4, 1);
    layout->addLayout(buttons);
    showStep(1);
    resize(520, 420);

    datClasses->bind(txtClassName, QStringLiteral("ClassName"));
    datClasses->bind(cboStart, QStringLiteral("StartDate"));
    datClasses->bind(cboEnd, QStringLiteral("EndDate"));
    datClasses->bind(txtSemesterID, QStringLiteral("Semester_ID"));
    datClasses->bind(txtCreditHours, QStringLiteral("CreditHours"));
    datClasses->bind(txtPointsPossible, QStringLiteral("PointsPossible"));
    datClasses->bind(txtPoints_Grade_A, QStringLiteral("Points_Grade_A"));
    datClasses->bind(txtPoints_Grade_B, QStringLiteral("Points_Grade_B"));
    datClasses->bind(txtPoints_Grade_C, QStringLiteral("Points_Grade_C"));
    datClasses->bind(txtPoints_Grade_D, QStringLiteral("Points_Grade_D"));
    for (int i = 0; i < ClassTimes::BoxCount; ++i)
        datClasses->bind(Text[i], QString::fromLatin1(TimeFields[i]));
    datClasses->bind(txtTeacherName, QStringLiteral("TeacherName"));
    datClasses->bind(txtTeacherPhone, QStringLiteral("TeacherPhone"));
    datClasses->bind(txtTeacherEMail, QStringLiteral("TeacherEMail"));
    datClasses->bind(Text18, QStringLiteral("ClassNotes"));

    connect(datClasses, &DataSource::Reposition, this, Trap::slot(this, &frmClassWizzy::datClasses_Reposition));
    connect(cboSemester, &QComboBox::activated, this, Trap::slot(this, &frmClassWizzy::cboSemester_Click));
    connect(cmdNext, &QPushButton::clicked, this, Trap::slot(this, &frmClassWizzy::cmdNext_Click));
    connect(Command2, &QPushButton::clicked, this, Trap::slot(this, &frmClassWizzy::Command2_Click));
    connect(cmdCancel, &QPushButton::clicked, this, Trap::slot(this, &frmClassWizzy::cmdCancel_Click));
}

void frmClassWizzy::addClass()
{
    if (frmClassWizzy *open = existing()) {
        open->Show();
        return;
    }
    frmClassWizzy *wizard = instance();
    wizard->Show();
    if (wizard->isUnloaded())
        return;
    // The blank class row that the wizard fills.
    try {
        Recordset &rs = wizard->datClasses->recordset();
        rs.AddNew();
        rs.Update();
        rs.MoveLast();
    } catch (const RuntimeError &e) {
        Trap::tell(e);
        wizard->Unload();
    }
}

void frmClassWizzy::Form_Load()
{
    datClasses->setDatabaseName(DatabasePath);
    datSemesters->setDatabaseName(DatabasePath);
    // Every class has a key, so this source starts empty; the opener's append
    // gives it its one row.
    datClasses->setRecordSource(QStringLiteral("SELECT * FROM Classes WHERE ID IS NULL"));
    try {
        datClasses->Refresh();
    } catch (const RuntimeError &e) {
        Trap::tell(e);
    }
}

// ------------------------------------------------------------- activation

void frmClassWizzy::Form_Activate()
{
    // The list, the step and the chosen semester are set once; a later
    // activation (back from another window) leaves the user's work alone.
    if (!m_prepared) {
        m_prepared = true;
        showStep(1);
        try {
            datSemesters->setRecordSource(QStringLiteral("SELECT * FROM Semesters"));
            datSemesters->Refresh();
            if (!datSemesters->noRows()) {
                Recordset &rs = datSemesters->recordset();
                while (!rs.isEOF()) {
                    const QVariant title = rs.value(QStringLiteral("Title"));
                    // A semester without a title cannot be looked up by it.
                    if (!title.isNull() && !title.toString().isEmpty())
                        cboSemester->addItem(title.toString());
                    rs.MoveNext();
                }
                if (cboSemester->count() > 0) {
                    cboSemester->setCurrentIndex(cboSemester->count() - 1);
                    cboSemester_Click();
                    if (isUnloaded())
                        return;
                }
            }
        } catch (const RuntimeError &e) {
            Trap::tell(e);
        }
    }
    if (Settings::get(Settings::App, QStringLiteral("Settings"), QStringLiteral("asst_SeenClassWizzy")) != QLatin1String("Y")) {
        // Marked as seen only once the balloon was on the screen.
        if (AssistantMessage(QStringLiteral("This wizard is used to add classes to your semesters.  Step-by-step, provide the "
                                            "information you're asked for so that your class can be added to your database.")))
            Settings::save(Settings::App, QStringLiteral("Settings"), QStringLiteral("asst_SeenClassWizzy"), QStringLiteral("Y"));
    }
}

// ------------------------------------------------------------ the semester

void frmClassWizzy::cboSemester_Click()
{
    try {
        datSemesters->setRecordSource(QStringLiteral("SELECT * FROM Semesters WHERE SAMETEXT(Title, ?)"), {cboSemester->currentText()});
        datSemesters->Refresh();
        if (datSemesters->noRows()) {
            MessageBox::show(QStringLiteral("You've selected a semester that doesn't exist!\nThe Add Class Wizard cannot continue."),
                             MessageBox::OkOnly, MessageBox::Critical, QStringLiteral("Invalid Semester!"));
            Unload();
            return;
        }
        const Recordset &rs = datSemesters->recordset();
        m_semesterId = rs.value(QStringLiteral("ID"));
        m_semesterStart = rs.value(QStringLiteral("StartDate"));
        m_semesterEnd = rs.value(QStringLiteral("EndDate"));
        m_semesterChosen = true;
    } catch (const RuntimeError &e) {
        Trap::tell(e);
        return;
    }
    applyChosenSemester();
}

void frmClassWizzy::applyChosenSemester()
{
    // Before the opener has appended the class row there is nothing to fill;
    // the arrival on that row fills it.
    if (!m_semesterChosen || !datClasses->hasCurrentRow())
        return;
    txtSemesterID->setText(Values::displayText(m_semesterId));
    if (const auto start = DateText::toDate(m_semesterStart))
        cboStart->setText(DateText::shortDate(*start));
    if (const auto end = DateText::toDate(m_semesterEnd))
        cboEnd->setText(DateText::shortDate(*end));
}

void frmClassWizzy::datClasses_Reposition() { applyChosenSemester(); }

bool frmClassWizzy::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cboSemester && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (!typed.isEmpty() && (typed.at(0).isPrint() || typed.at(0) == QLatin1Char('\b'))) {
            cboSemester_KeyPress();
            return true; // the key is discarded
        }
    }
    return Form::eventFilter(watched, event);
}

void frmClassWizzy::cboSemester_KeyPress()
{
    cboSemester->setCurrentIndex(-1);
    MessageBox::show(QStringLiteral("You can't type in a new semester.  You need to select one that already exists."),
                     MessageBox::OkOnly, MessageBox::Information, QStringLiteral("Invalid semester!"));
}

// ------------------------------------------------------------------ steps

int frmClassWizzy::currentStep() const
{
    if (!Frame1->isHidden())
        return 1;
    if (!Frame2->isHidden())
        return 2;
    if (!Frame3->isHidden())
        return 3;
    return 4;
}

void frmClassWizzy::showStep(int step)
{
    // The step going away is hidden first: two steps shown at once, even for
    // a moment, would make the window grow to hold both.
    QWidget *frames[] = {Frame1, Frame2, Frame3, Frame4};
    for (int i = 0; i < 4; ++i)
        if (i + 1 != step)
            frames[i]->hide();
    frames[step - 1]->show();
}

void frmClassWizzy::cmdNext_Click()
{
    const int step = currentStep();
    if (step < 4)
        showStep(step + 1);
    else
        Finish();
}

void frmClassWizzy::Command2_Click()
{
    const int step = currentStep();
    if (step > 1)
        showStep(step - 1);
}

// ----------------------------------------------------------------- finish

void frmClassWizzy::Finish()
{
    try {
        const QString name = txtClassName->text();
        // A class without a name or a semester would have no place in the
        // semester/class tree and could never be reached again.
        if (name.trimmed().isEmpty())
            throw RuntimeError(Err::General, QStringLiteral("The class has no name. Type one in step 1."));
        if (txtSemesterID->text().trimmed().isEmpty())
            throw RuntimeError(Err::General, QStringLiteral("The class has no semester. Choose one from the list in step 1."));

        // No other class may carry the name (letter case aside, in every script).
        auto db = Database::open(DatabasePath);
        QString sql = QStringLiteral("SELECT * FROM Classes WHERE SAMETEXT(ClassName, ?)");
        QVariantList params{name};
        if (datClasses->hasCurrentRow()) {
            sql += QStringLiteral(" AND ID <> ?");
            params << datClasses->recordset().value(QStringLiteral("ID"));
        }
        auto same = db->openRecordset(sql, Database::Snapshot, params);
        const bool duplicate = !same->isEmpty();
        same->Close();
        if (duplicate) {
            MessageBox::show(QStringLiteral("There is already a class by that name.  There can only be on occurance of a single "
                                            "name as a class."),
                             MessageBox::OkOnly, MessageBox::Information, QStringLiteral("Duplicate Class."));
            Unload();
            db->close();
            return;
        }
        db->close();

        // The teacher joins the address book.
        db = Database::open(DatabasePath);
        auto contact = db->openRecordset(QStringLiteral("Contacts"), Database::Dynaset);
        contact->AddNew();
        contact->setValue(QStringLiteral("Name"), txtTeacherName->text());
        if (!txtTeacherPhone->text().isEmpty())
            contact->setValue(QStringLiteral("Phone1"), txtTeacherPhone->text());
        if (!txtTeacherEMail->text().isEmpty())
            contact->setValue(QStringLiteral("EMail"), txtTeacherEMail->text());
        if (txtTeacherName->text().isEmpty())
            contact->setValue(QStringLiteral("Name"), QStringLiteral("No name provided"));
        contact->Update();
        contact->Close();
        db->close();

        // A weekday time is kept as a time of day, whatever form it was typed in.
        for (QLineEdit *box : Text) {
            const ClassTimes::Checked checked = ClassTimes::check(box->text());
            if (checked.result == ClassTimes::Checked::Valid)
                box->setText(checked.text);
        }
        // Saving stores every bound box of the four steps.
        datClasses->saveRow({{QStringLiteral("AppliesToGPA"), true}});
        m_saved = true;
        Unload();
    } catch (const RuntimeError &e) {
        MessageBox::show(QStringLiteral("There was an error with one or more of the \nfields you entered.  Check dates and times \n"
                                        "to be sure they're entered correctly (mm/dd/yy for dates and hh:mm AM/PM for times).\n\n"
                                        "Exact error was : ")
                             + e.description(),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("Invalid Data"));
        showStep(1);
    }
}

// ------------------------------------------------------------ ways out

void frmClassWizzy::cmdCancel_Click()
{
    discardNewClass();
    Unload();
}

void frmClassWizzy::Form_QueryUnload(bool &)
{
    // Whatever way the wizard closes without its Finish, the blank row goes.
    if (!m_saved)
        discardNewClass();
}

void frmClassWizzy::discardNewClass()
{
    Recordset *rs = datClasses->recordsetOrNull();
    if (!rs)
        return;
    rs->CancelUpdate();
    // The source holds the appended row only; once it is gone there is
    // nothing more to delete.
    try {
        if (rs->hasCurrentRow())
            rs->Delete();
    } catch (const RuntimeError &) {
    }
}
