#include "frmAddAssignment.h"

#include "frmMain.h"
#include "store/modTransport.h"
#include "platform/Artwork.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Trap.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmAddAssignment::frmAddAssignment()
{
    setObjectName(QStringLiteral("frmAddAssignment"));
    setWindowTitle(QStringLiteral("Add New Assignment"));
    Data1 = new DataSource(this, QStringLiteral("Data1"));
    Data1->setRecordSource(QStringLiteral("Assignments"));
    datAssignmentTypes = new DataSource(this, QStringLiteral("datAssignmentTypes"));
    datAssignmentTypes->setRecordSource(QStringLiteral("AssignmentTypes"));

    auto label = [this](const char *name, const QString &text) { return wrappedLabel(this, name, text); };
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(Artwork::picture(QStringLiteral("books"), 64));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    SSDateCombo1 = new DateCombo(this);
    SSDateCombo1->setObjectName(QStringLiteral("SSDateCombo1"));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Command1 = new QPushButton(QStringLiteral("&Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto *fields = new QVBoxLayout;
    fields->addWidget(label("Label1", QStringLiteral("Enter a title for this assignment.  Use the title your teacher gave it, "
                                                     "or one that describes it well.")));
    fields->addWidget(Text1);
    fields->addWidget(label("Label2", QStringLiteral("Select or enter the type of assignment this is.")));
    fields->addWidget(Combo1);
    fields->addWidget(label("Label3", QStringLiteral("Select or enter the date the assignment is due:")));
    fields->addWidget(SSDateCombo1);
    fields->addWidget(label("Label4", QStringLiteral("Enter the maximum number of points that you can score on this individual "
                                                     "assignment:")));
    fields->addWidget(Text2);
    fields->addStretch();
    fields->addWidget(Command1, 0, Qt::AlignRight);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(image, 0, Qt::AlignTop);
    layout->addLayout(fields, 1);
    resize(440, 320);

    Data1->bind(Text1, QStringLiteral("AssignmentTitle"));
    Data1->bind(Combo1, QStringLiteral("AssignmentType"));
    Data1->bind(SSDateCombo1, QStringLiteral("DateDue"));
    Data1->bind(Text2, QStringLiteral("MaxPointsPossible"));
    connect(Command1, &QPushButton::clicked, this, Trap::slot(this, &frmAddAssignment::Command1_Click));
}

void frmAddAssignment::Form_Load()
{
    datAssignmentTypes->setDatabaseName(DatabasePath);
    Data1->setDatabaseName(DatabasePath);
    datAssignmentTypes->Refresh();
    Data1->Refresh();
}

void frmAddAssignment::Form_Activate()
{
    if (!datAssignmentTypes->hasCurrentRow())
        return;
    // The walk ends at the last row, so a later activation keeps the list.
    const QString typed = Combo1->currentText();
    Combo1->clear();
    Recordset &rs = datAssignmentTypes->recordset();
    rs.MoveFirst();
    while (!rs.isEOF()) {
        Combo1->addItem(rs.value(QStringLiteral("AssignmentTypeText")).toString());
        rs.MoveNext();
    }
    Combo1->setEditText(typed);
}

void frmAddAssignment::Command1_Click()
{
    try {
        Data1->saveRow();
    } catch (const RuntimeError &e) {
        // The window stays with the entries, to be corrected.
        Trap::tell(e, MessageBox::Exclamation);
        return;
    }
    if (frmMain *m = frmMain::existing()) {
        m->Show();
        m->findChild<DataGrid *>(QStringLiteral("gridAssignments"))->Refresh();
        m->datAssignments->Refresh();
    }
    Unload();
}
