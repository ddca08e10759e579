#include "frmAddSemesterWizard.h"

#include "store/CurrentSelection.h"
#include "modDataManip.h"
#include "platform/Artwork.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/DateText.h"
#include "platform/Trap.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString FinishCaption = QStringLiteral("&Finish");
const QString NextCaption = QStringLiteral("&Next >>>");

} // namespace

frmAddSemesterWizard::frmAddSemesterWizard()
{
    setObjectName(QStringLiteral("frmAddSemesterWizard"));
    setWindowTitle(QStringLiteral("Add Semester Wizard"));

    fra1 = new QGroupBox(QStringLiteral("Add Semester Wizard - Introduction"), this);
    fra1->setObjectName(QStringLiteral("fra1"));
    auto *image1 = new QLabel(fra1); // the semester picture of page 1
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(Artwork::picture(QStringLiteral("semester"), 64));
    auto *intro = new QVBoxLayout;
    intro->addWidget(wrappedLabel(fra1, "Label1",
                          QStringLiteral("Tarvela is about to step you through setting up a semester.  If you've never done this "
                                         "before, you will be guided through three screens that will ask you questions about the "
                                         "semester you're adding.  ")));
    intro->addWidget(wrappedLabel(fra1, "Label2",
                          QStringLiteral("If this is your first time running Tarvela, the reason you're here is that Tarvela needs at "
                                         "least one semester to establish your database.  This will only take a short while.")));
    intro->addWidget(wrappedLabel(fra1, "Label3",
                          QStringLiteral("After you complete the fields you need to fill in, you can click on the Next >>> button on "
                                         "every screen to continue on to the next step.  So, to start entering information about your "
                                         "semester, please click the Next >>> button to continue.")));
    intro->addStretch();
    auto *page1 = new QHBoxLayout(fra1);
    page1->addWidget(image1, 0, Qt::AlignTop);
    page1->addLayout(intro, 1);

    fra2 = new QGroupBox(QStringLiteral("Add Semester Wizard - Details"), this);
    fra2->setObjectName(QStringLiteral("fra2"));
    auto *image2 = new QLabel(fra2); // the semester picture of page 2
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setPixmap(Artwork::picture(QStringLiteral("semester"), 64));
    Text1 = new QLineEdit(fra2);
    Text1->setObjectName(QStringLiteral("Text1"));
    SSDateCombo1 = new DateCombo(fra2);
    SSDateCombo1->setObjectName(QStringLiteral("SSDateCombo1"));
    SSDateCombo2 = new DateCombo(fra2);
    SSDateCombo2->setObjectName(QStringLiteral("SSDateCombo2"));
    const QString today = DateText::shortDate(Clock::today());
    SSDateCombo1->setText(today);
    SSDateCombo2->setText(today);
    auto *details = new QVBoxLayout;
    details->addWidget(wrappedLabel(fra2, "Label4",
                            QStringLiteral("Enter the title of the new semester/quarter, for example, \"Winter 1999.\"  The shorter "
                                           "the title, the better (for displaying, etc.)")));
    details->addWidget(Text1);
    details->addWidget(wrappedLabel(fra2, "Label5", QStringLiteral("Enter or select the date this semester starts:")));
    details->addWidget(SSDateCombo1);
    details->addWidget(wrappedLabel(fra2, "Label6", QStringLiteral("Enter or select the date this semester ends:")));
    details->addWidget(SSDateCombo2);
    details->addStretch();
    auto *page2 = new QHBoxLayout(fra2);
    page2->addWidget(image2, 0, Qt::AlignTop);
    page2->addLayout(details, 1);

    SSCommand1 = new QPushButton(NextCaption, this);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
    SSCommand2 = new QPushButton(QStringLiteral("&Cancel"), this);
    SSCommand2->setObjectName(QStringLiteral("SSCommand2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SSCommand2);
    buttons->addWidget(SSCommand1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fra1, 1);
    layout->addWidget(fra2, 1);
    layout->addLayout(buttons);
    fra2->setVisible(false);
    resize(480, 320);

    connect(SSCommand1, &QPushButton::clicked, this, Trap::slot(this, &frmAddSemesterWizard::SSCommand1_Click));
    connect(SSCommand2, &QPushButton::clicked, this, Trap::slot(this, &frmAddSemesterWizard::SSCommand2_Click));
}

void frmAddSemesterWizard::showIntroduction()
{
    Show();
    // The page left is hidden first, so that the window does not grow to
    // hold both pages.
    fra2->setVisible(false);
    fra1->setVisible(true);
    // Back on the introduction page, the button leads to the details again.
    SSCommand1->setText(NextCaption);
}

void frmAddSemesterWizard::SSCommand1_Click()
{
    if (SSCommand1->text() != FinishCaption) {
        SSCommand1->setText(FinishCaption);
        fra1->setVisible(false);
        fra2->setVisible(true);
        Text1->setFocus();
        return;
    }
    // A refused entry stays in the wizard to be corrected.
    if (!AddSemester(Text1->text(), SSDateCombo1->text(), SSDateCombo2->text()))
        return;
    if (CurrentSelection *main = CurrentSelection::get())
        main->showMainWindow();
    Unload();
}

void frmAddSemesterWizard::SSCommand2_Click()
{
    Unload();
    if (CurrentSelection *main = CurrentSelection::get())
        main->showMainWindow();
}

void frmAddSemesterWizard::Form_Unload(bool &)
{
    if (CurrentSelection *main = CurrentSelection::get())
        main->showMainWindow();
}
