#include "frmAssignmentDetail.h"

#include "platform/Artwork.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Trap.h"
#include "store/CurrentSelection.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"
#include "store/modTransport.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
DataSource *currentAssignments()
{
    CurrentSelection *selection = CurrentSelection::get();
    return selection ? selection->datAssignments() : nullptr;
}
} // namespace

frmAssignmentDetail::frmAssignmentDetail()
{
    setObjectName(QStringLiteral("frmAssignmentDetail"));
    setWindowTitle(QStringLiteral("Assignment Detail"));
    Data1 = new DataSource(this, QStringLiteral("Data1"));

    // The fields' values wrap: a long title or type never widens the window.
    auto value = [this](const char *name) { return wrappedLabel(this, name); };
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(Artwork::picture(QStringLiteral("books"), 48));
    Label1 = value("Label1");
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    Label1->setFont(bold);
    Label2 = value("Label2");
    Label3 = value("Label3");
    Label5 = value("Label5");
    Label7 = value("Label7");
    Label9 = value("Label9");
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Command1 = new QPushButton(QStringLiteral("&Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto *figures = new QFormLayout;
    figures->addRow(QStringLiteral("Maximum Points:"), Label2);
    figures->addRow(QStringLiteral("Actual Points:"), Label3);
    figures->addRow(QStringLiteral("Due:"), Label5);
    figures->addRow(QStringLiteral("Entered:"), Label7);
    figures->addRow(QStringLiteral("Assignment Type:"), Label9);
    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    auto *right = new QVBoxLayout;
    right->addWidget(Label1);
    right->addLayout(figures);
    top->addLayout(right, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("Comments:"), this));
    layout->addWidget(Text1, 1);
    layout->addLayout(buttons);
    resize(420, 400);

    Data1->bind(Label1, QStringLiteral("AssignmentTitle"));
    Data1->bind(Label2, QStringLiteral("MaxPointsPossible"));
    Data1->bind(Label3, QStringLiteral("ActualPoints"));
    Data1->bind(Label5, QStringLiteral("DateDue"));
    Data1->bind(Label7, QStringLiteral("DateEntered"));
    Data1->bind(Label9, QStringLiteral("AssignmentType"));
    Data1->bind(Text1, QStringLiteral("Comments"));
    connect(Command1, &QPushButton::clicked, this, &frmAssignmentDetail::Command1_Click);
}

void frmAssignmentDetail::Form_Load() { Data1->setDatabaseName(databaseFileIn(Platform::programFolder())); }

void frmAssignmentDetail::Form_Activate()
{
    // Without a current assignment the window keeps the one it shows.
    DataSource *assignments = currentAssignments();
    if (!assignments || !assignments->hasCurrentRow())
        return;
    try {
        const QVariant id = assignments->recordset().value(QStringLiteral("ID"));
        Data1->setDatabaseName(databaseFileIn(Platform::programFolder()));
        Data1->setRecordSource(QStringLiteral("SELECT * FROM Assignments WHERE ID = ?"), {id});
        Data1->Refresh();
    } catch (const RuntimeError &e) {
        Trap::tell(e);
    }
}

void frmAssignmentDetail::Command1_Click() { Unload(); }

void frmAssignmentDetail::showCurrentAssignment()
{
    DataSource *assignments = currentAssignments();
    if (!assignments || !assignments->hasCurrentRow())
        return;
    try {
        instance()->Show();
    } catch (const RuntimeError &) {
    }
}
