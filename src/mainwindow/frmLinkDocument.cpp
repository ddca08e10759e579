#include "frmLinkDocument.h"

#include "platform/Artwork.h"
#include "platform/Controls.h"
#include "platform/FileLists.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Shell.h"
#include "store/CurrentSelection.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString DocumentPath = QStringLiteral("DocumentPath");

DataSource *currentAssignments()
{
    CurrentSelection *selection = CurrentSelection::get();
    return selection ? selection->datAssignments() : nullptr;
}
} // namespace

QString frmLinkDocument::instructions()
{
    return QStringLiteral("Use the navigation controls to locate the document you want to associate with your assignment.  "
                          "Once you've found the document, double click on it or click on the Link button at the bottom to "
                          "create the link.");
}

frmLinkDocument::frmLinkDocument()
{
    setObjectName(QStringLiteral("frmLinkDocument"));
    setWindowTitle(QStringLiteral("Create Document Link"));

    auto *panel = new Panel(this);
    panel->setObjectName(QStringLiteral("SSPanel1"));
    auto *picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(Artwork::picture(QStringLiteral("document"), 48));
    Label1 = new QLabel(instructions(), panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    auto *band = new QHBoxLayout(panel);
    band->addWidget(picture, 0, Qt::AlignTop);
    band->addWidget(Label1, 1);

    Drive1 = new DriveList(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    // Long place names must not widen the folder side.
    Drive1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Drive1->setMinimumContentsLength(16);
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1 = new FileList(this);
    File1->setObjectName(QStringLiteral("File1"));
    cmdLink = new QPushButton(QStringLiteral("&Link"), this);
    cmdLink->setObjectName(QStringLiteral("cmdLink"));
    cmdLink->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *lists = new QGridLayout;
    lists->addWidget(Drive1, 0, 0);
    lists->addWidget(Dir1, 1, 0);
    lists->addWidget(File1, 0, 1, 2, 1);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdLink);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(600, 440);

    connect(Drive1, &DriveList::Change, this, &frmLinkDocument::Drive1_Change);
    connect(Dir1, &FolderList::Change, this, &frmLinkDocument::Dir1_Change);
    connect(Dir1, &FolderList::refused, this, &frmLinkDocument::tellUnreadable);
    connect(File1, &FileList::DblClick, this, &frmLinkDocument::File1_DblClick);
    connect(cmdLink, &QPushButton::clicked, this, &frmLinkDocument::cmdLink_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLinkDocument::cmdCancel_Click);
}

void frmLinkDocument::Form_Load()
{
    // The lists start in the home folder, or the first place that can be read.
    QStringList starts{QDir::homePath()};
    for (const FileLists::Place &p : FileLists::places())
        starts << p.path;
    for (const QString &start : starts) {
        try {
            Dir1->setPath(start);
            Drive1->setDrive(start);
            break;
        } catch (const RuntimeError &) {
        }
    }
}

void frmLinkDocument::tellUnreadable(const QString &description)
{
    MessageBox::show(description, MessageBox::OkOnly, MessageBox::Exclamation, QStringLiteral("Folder not available"));
}

void frmLinkDocument::Drive1_Change()
{
    try {
        Dir1->setPath(Drive1->drive());
    } catch (const RuntimeError &e) {
        // Back to the place of the folder still shown.
        Drive1->setDrive(Dir1->path());
        tellUnreadable(e.description());
    }
}

void frmLinkDocument::Dir1_Change()
{
    try {
        File1->setPath(Dir1->path());
    } catch (const RuntimeError &e) {
        File1->clear();
        tellUnreadable(e.description());
    }
}

bool frmLinkDocument::hasCurrentAssignment()
{
    DataSource *assignments = currentAssignments();
    return assignments && assignments->hasCurrentRow();
}

void frmLinkDocument::File1_DblClick()
{
    const QString name = File1->fileName();
    if (name.isEmpty())
        return;
    if (!hasCurrentAssignment()) {
        MessageBox::show(QStringLiteral("There is no assignment to link the document to.  Select an assignment first."),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("No assignment!"));
        return;
    }
    DataSource *assignments = currentAssignments();
    try {
        assignments->saveRow({{DocumentPath, FileLists::joinPath(File1->path(), name)}});
    } catch (const RuntimeError &e) {
        // Nothing stored; the window stays for another choice.
        MessageBox::show(e.description(), MessageBox::OkOnly, MessageBox::Exclamation, QStringLiteral("No link"));
        return;
    }
    // Arriving on the row again lets the main window show the link.
    try {
        Recordset &rs = assignments->recordset();
        rs.moveTo(rs.position());
    } catch (const RuntimeError &) {
    }
    Unload();
}

void frmLinkDocument::cmdLink_Click() { File1_DblClick(); }
void frmLinkDocument::cmdCancel_Click() { Unload(); }

void frmLinkDocument::linkCurrentAssignment()
{
    if (!hasCurrentAssignment()) {
        MessageBox::show(QStringLiteral("You cannot link a document unless an assignment is selected."), MessageBox::OkOnly,
                         MessageBox::Information, QStringLiteral("No assignment!"));
        return;
    }
    instance()->Show();
}

void frmLinkDocument::openCurrentDocument()
{
    if (!hasCurrentAssignment())
        return;
    QString path;
    try {
        path = currentAssignments()->recordset().value(DocumentPath).toString();
    } catch (const RuntimeError &) {
        return;
    }
    // What the desktop answers is not looked at: a missing file gives no message.
    if (!path.isEmpty())
        Shell::open(path);
}
