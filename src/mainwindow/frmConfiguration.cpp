#include "frmConfiguration.h"

#include "platform/Artwork.h"
#include "platform/InputBox.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Trap.h"
#include "store/GradeBookQueries.h"
#include "store/modTransport.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using Trap::tell;
} // namespace

frmConfiguration::frmConfiguration()
{
    setObjectName(QStringLiteral("frmConfiguration"));
    setWindowTitle(QStringLiteral("Tarvela Configuration"));

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(Artwork::picture(QStringLiteral("books"), 48));
    SSFrame1 = new QGroupBox(QStringLiteral("Assignment Types"), this);
    SSFrame1->setObjectName(QStringLiteral("SSFrame1"));
    lstAssignmentTypes = new QListWidget(SSFrame1);
    lstAssignmentTypes->setObjectName(QStringLiteral("lstAssignmentTypes"));
    SSCommand1 = new QPushButton(QStringLiteral("Add"), SSFrame1);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
    SSCommand2 = new QPushButton(QStringLiteral("Remove"), SSFrame1);
    SSCommand2->setObjectName(QStringLiteral("SSCommand2"));
    cmdDone = new QPushButton(QStringLiteral("&Done"), this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    // Kept without a role, as the window always had it.
    txtItem = new QLineEdit(this);
    txtItem->setObjectName(QStringLiteral("txtItem"));
    txtItem->setVisible(false);

    auto *side = new QVBoxLayout;
    side->addWidget(SSCommand1);
    side->addWidget(SSCommand2);
    side->addStretch();
    auto *frame = new QHBoxLayout(SSFrame1);
    frame->addWidget(lstAssignmentTypes, 1);
    frame->addLayout(side);
    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(SSFrame1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdDone);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(400, 320);

    connect(SSCommand1, &QPushButton::clicked, this, &frmConfiguration::SSCommand1_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &frmConfiguration::SSCommand2_Click);
    // A Done button that did nothing would leave the user stuck: it closes.
    connect(cmdDone, &QPushButton::clicked, this, &frmConfiguration::cmdDone_Click);
}

void frmConfiguration::cmdDone_Click() { Unload(); }

void frmConfiguration::Form_Activate() { RefreshAssignmentTypes(); }

void frmConfiguration::RefreshAssignmentTypes()
{
    lstAssignmentTypes->clear();
    try {
        for (const QString &name : GradeBookQueries::assignmentTypes(DatabasePath))
            if (!name.trimmed().isEmpty())
                lstAssignmentTypes->addItem(name);
    } catch (const RuntimeError &e) {
        tell(e);
    }
}

void frmConfiguration::SSCommand1_Click()
{
    const QString answer = InputBox::ask(QStringLiteral("Enter the description for this assignment type."),
                                         QStringLiteral("New assignment type"), QString());
    if (answer.trimmed().isEmpty())
        return;
    // Stored as typed; the list shows it at the window's next activation.
    try {
        GradeBookQueries::addAssignmentType(DatabasePath, answer);
    } catch (const RuntimeError &e) {
        tell(e);
    }
}

void frmConfiguration::SSCommand2_Click()
{
    QListWidgetItem *chosen = lstAssignmentTypes->currentItem();
    if (!chosen || !chosen->isSelected())
        return;
    // Only the first row of that name goes, matched exactly as it is listed
    // ("quiz" does not remove "Quiz"); the list follows at the next activation.
    try {
        GradeBookQueries::removeAssignmentType(DatabasePath, chosen->text());
    } catch (const RuntimeError &e) {
        tell(e);
    }
}
