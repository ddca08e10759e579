#include "frmEditClass.h"

#include "frmEditClassSchedule.h"
#include "store/CurrentSelection.h"
#include "store/modTransport.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "platform/TextCodec.h"
#include "platform/Trap.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QGroupBox *frame(QWidget *parent, const QString &caption)
{
    return new QGroupBox(caption, parent);
}

void tell(const RuntimeError &e) { Trap::tell(e, MessageBox::Exclamation); }

} // namespace

frmEditClass::frmEditClass()
{
    setObjectName(QStringLiteral("frmEditClass"));
    setWindowTitle(QStringLiteral("Tarvela Class Editor"));

    datClasses = new DataSource(this, QStringLiteral("datClasses"));

    QGroupBox *title = frame(this, QStringLiteral("Class Title"));
    Text6 = named<QLineEdit>(title, "Text6");
    (new QVBoxLayout(title))->addWidget(Text6);

    QGroupBox *teacher = frame(this, QStringLiteral("Teacher Info"));
    Text7 = named<QLineEdit>(teacher, "Text7");
    Text8 = named<QLineEdit>(teacher, "Text8");
    Text9 = named<QLineEdit>(teacher, "Text9");
    auto *teacherRows = new QFormLayout(teacher);
    teacherRows->addRow(QStringLiteral("Name:"), Text7);
    teacherRows->addRow(QStringLiteral("Phone:"), Text8);
    teacherRows->addRow(QStringLiteral("E-Mail:"), Text9);

    QGroupBox *hours = frame(this, QStringLiteral("Credit Hours"));
    Text10 = named<QLineEdit>(hours, "Text10");
    (new QVBoxLayout(hours))->addWidget(Text10);

    QGroupBox *notes = frame(this, QStringLiteral("Class Notes:"));
    Text11 = named<QPlainTextEdit>(notes, "Text11");
    (new QVBoxLayout(notes))->addWidget(Text11);

    QGroupBox *gpa = frame(this, QStringLiteral("GPA Application"));
    auto *gpaText = new QLabel(QStringLiteral("If the box below is checked, then the letter grade achieved in this class (after the "
                                              "class has been closed out) is applied to your overall grade point average."),
                               gpa);
    gpaText->setWordWrap(true);
    SSCheck1 = new QCheckBox(QStringLiteral("Class applies to overall GPA?"), gpa);
    SSCheck1->setObjectName(QStringLiteral("SSCheck1"));
    auto *gpaRows = new QVBoxLayout(gpa);
    gpaRows->addWidget(gpaText);
    gpaRows->addWidget(SSCheck1);

    QGroupBox *points = frame(this, QStringLiteral("Point Structure"));
    auto *pointsText = new QLabel(QStringLiteral("Enter the minimum points necessary for each letter grade in the class."), points);
    pointsText->setWordWrap(true);
    Text1 = named<QLineEdit>(points, "Text1");
    Text2 = named<QLineEdit>(points, "Text2");
    Text3 = named<QLineEdit>(points, "Text3");
    Text4 = named<QLineEdit>(points, "Text4");
    Text5 = named<QLineEdit>(points, "Text5");
    auto *pointRows = new QFormLayout;
    pointRows->addRow(QStringLiteral("Minimum for A:"), Text1);
    pointRows->addRow(QStringLiteral("Minimum for B:"), Text2);
    pointRows->addRow(QStringLiteral("Minimum for C:"), Text3);
    pointRows->addRow(QStringLiteral("Minimum for D:"), Text4);
    pointRows->addRow(QStringLiteral("Max Points:"), Text5);
    auto *pointsLayout = new QVBoxLayout(points);
    pointsLayout->addWidget(pointsText);
    pointsLayout->addLayout(pointRows);

    Command1 = new QPushButton(QStringLiteral("&Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    SSCommand1 = new QPushButton(QStringLiteral("Edit Schedule"), this);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(title, 0, 0);
    grid->addWidget(teacher, 1, 0);
    grid->addWidget(hours, 2, 0);
    grid->addWidget(notes, 3, 0);
    grid->addWidget(gpa, 0, 1, 2, 1);
    grid->addWidget(points, 2, 1, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(SSCommand1);
    buttons->addStretch();
    buttons->addWidget(Command1);
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setRowStretch(3, 1);
    resize(560, 420);

    datClasses->bind(Text6, QStringLiteral("ClassName"));
    datClasses->bind(Text7, QStringLiteral("TeacherName"));
    datClasses->bind(Text8, QStringLiteral("TeacherPhone"));
    datClasses->bind(Text9, QStringLiteral("TeacherEMail"));
    datClasses->bind(Text10, QStringLiteral("CreditHours"));
    datClasses->bind(Text11, QStringLiteral("ClassNotes"));
    datClasses->bind(SSCheck1, QStringLiteral("AppliesToGPA"));
    datClasses->bind(Text1, QStringLiteral("Points_Grade_A"));
    datClasses->bind(Text2, QStringLiteral("Points_Grade_B"));
    datClasses->bind(Text3, QStringLiteral("Points_Grade_C"));
    datClasses->bind(Text4, QStringLiteral("Points_Grade_D"));
    datClasses->bind(Text5, QStringLiteral("PointsPossible"));

    connect(datClasses, &DataSource::Reposition, this, [this] {
        Trap::guarded([this] {
            m_shownName = datClasses->hasCurrentRow() ? datClasses->recordset().value(QStringLiteral("ClassName")).toString()
                                                      : QString();
        });
    });
    connect(datClasses, &DataSource::rowsChanged, this, Trap::slot(this, &frmEditClass::followRename));
    connect(Command1, &QPushButton::clicked, this, Trap::slot(this, &frmEditClass::Command1_Click));
    connect(SSCommand1, &QPushButton::clicked, this, Trap::slot(this, &frmEditClass::SSCommand1_Click));
}

void frmEditClass::Form_Load()
{
    datClasses->setDatabaseName(DatabasePath);
    datClasses->setRecordSource(QStringLiteral("Classes"));
    try {
        datClasses->Refresh();
    } catch (const RuntimeError &e) {
        tell(e);
    }
}

void frmEditClass::Form_Activate()
{
    // The editor follows the main window's current class.
    CurrentSelection *main = CurrentSelection::get();
    if (!main || !main->datClasses()->hasCurrentRow())
        return;
    try {
        const QVariant id = main->datClasses()->recordset().value(QStringLiteral("ID"));
        bool found = !datClasses->noRows() && datClasses->recordset().FindFirst(QStringLiteral("ID"), id);
        if (!found) {
            // A class made since the editor read its rows: read them again.
            // Should the class be gone, the editor stays with the class it showed.
            const QVariant shown = datClasses->hasCurrentRow() ? datClasses->recordset().value(QStringLiteral("ID")) : QVariant();
            datClasses->Refresh();
            if (!datClasses->noRows() && !datClasses->recordset().FindFirst(QStringLiteral("ID"), id) && !shown.isNull())
                datClasses->recordset().FindFirst(QStringLiteral("ID"), shown);
        }
    } catch (const RuntimeError &e) {
        // Most likely what was typed for the class shown could not be stored:
        // the editor stays on that class so that it can be corrected.
        tell(e);
    }
}

void frmEditClass::followRename()
{
    if (!datClasses->hasCurrentRow())
        return;
    const QString name = datClasses->recordset().value(QStringLiteral("ClassName")).toString();
    const QString section = QStringLiteral("Settings");
    const QString remembered = Settings::get(Settings::App, section, QStringLiteral("LastClass"));
    // The next start finds the class under the name it has now.
    if (!m_shownName.isEmpty() && !name.isEmpty() && name != m_shownName
        && TextCodec::caseFolded(remembered) == TextCodec::caseFolded(m_shownName))
        Settings::save(Settings::App, section, QStringLiteral("LastClass"), name);
    m_shownName = name;
}

void frmEditClass::Command1_Click()
{
    try {
        datClasses->saveRow();
    } catch (const RuntimeError &) {
        // The closing stores the boxes once more and tells what failed.
    }
    Unload();
}

void frmEditClass::SSCommand1_Click()
{
    try {
        if (!datClasses->hasCurrentRow())
            return;
        const QVariant id = datClasses->recordset().value(QStringLiteral("ID"));
        frmEditClassSchedule *schedule = frmEditClassSchedule::instance();
        schedule->datClasses->setDatabaseName(datClasses->databaseName());
        schedule->datClasses->setRecordSource(datClasses->recordSource(), datClasses->recordSourceParams());
        schedule->datClasses->Refresh();
        schedule->datClasses->recordset().FindFirst(QStringLiteral("ID"), id);
        schedule->ShowModal();
    } catch (const RuntimeError &e) {
        tell(e);
    }
}
