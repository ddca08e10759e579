#include "frmMain.h"
#include "frmMainSteps.h"

#include "AddIns.h"
#include "frmAbout.h"
#include "frmAddAssignment.h"
#include "frmAssignmentDetail.h"
#include "frmConfiguration.h"
#include "frmError.h"
#include "frmLinkDocument.h"
#include "frmReportGrid.h"
#include "frmSearch.h"
#include "frmTip.h"

#include "addressbook/frmAddressBook.h"
#include "calendar/CalendarAlarm.h"
#include "calendar/frmCalendar.h"
#include "calendar/frmToday.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "quizzer/Quizzer.h"
#include "setup/ClassTransferCommands.h"
#include "setup/frmAddSemesterWizard.h"
#include "setup/frmClassWizzy.h"
#include "setup/frmEditClass.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"
#include "store/modTransport.h"

#include <QCursor>
#include <QMenu>

using namespace frmMainSteps;

// --------------------------------------------------------------- commands

void frmMain::mnuFileTodaysEvents_Click()
{
    try {
        frmToday::instance()->Show();
    } catch (const RuntimeError &) {
        // Nothing at all to list: the window closed itself.
    }
}

void frmMain::mnuFileCalculateGPA_Click() { CalculateGPA(true); }
void frmMain::mnuFileConfigureAssignmentTypes_Click() { frmConfiguration::instance()->Show(); }
void frmMain::mnuFileExit_Click() { Unload(); }
void frmMain::mnuClassAddNew_Click() { SSCommand2_Click(); }
void frmMain::mnuClassEdit_Click()
{
    if (datClasses->noRows())
        return;
    frmEditClass *editor = frmEditClass::instance();
    editor->datClasses->setDatabaseName(DatabasePath);
    editor->Show();
}



void frmMain::mnuClassExport_Click()
{
    ClassTransfer::exportCurrentClass(
        [](const RuntimeError &e) { frmError::report(e, FormName, QStringLiteral("mnuClassExport_Click")); });
}
void frmMain::mnuClassImport_Click()
{
    ClassTransfer::importIntoCurrentSemester(
        [](const RuntimeError &e) { frmError::report(e, FormName, QStringLiteral("mnuClassImport_Click")); });
}
void frmMain::mnuClassStatus_Click() { lblLetterGrade_Click(); }
void frmMain::mnuAssignmentAddNew_Click() { SSCommand3_Click(); }
void frmMain::mnuAssignmentLinkDocument_Click() { frmLinkDocument::linkCurrentAssignment(); }
void frmMain::mnuAssignmentOpenDocument_Click() { frmLinkDocument::openCurrentDocument(); }
void frmMain::mnuAssignmentDetails_Click() { frmAssignmentDetail::showCurrentAssignment(); }
void frmMain::mnuReportsAllAssignments_Click() { frmReportGrid::printAllAssignments(); }
void frmMain::mnuReportsUngradedAssignments_Click() { frmReportGrid::printUngradedAssignments(); }
void frmMain::mnuQuizzerQuizBuilder_Click() { Quizzer::openQuizBuilder(); }
void frmMain::mnuQuizzerTakeAQuiz_Click() { Quizzer::takeAQuiz(); }
void frmMain::mnuContacts_Click() { frmAddressBook::open(); }

void frmMain::mnuClassSetColor_Click(const QString &colour)
{
    // Without a current class there is no name to keep the colour under.
    if (!datClasses->hasCurrentRow())
        return;
    const QString name = datClasses->recordset().value(QStringLiteral("ClassName")).toString();
    if (name.isEmpty())
        return;
    Settings::save(Settings::App, QStringLiteral("ClassFolders"), name, colour);
    RefreshTree();
}

void frmMain::mnuAddInDesc_Click(int number)
{
    const QString command = Settings::get(Settings::App, QStringLiteral("AddIns"), QStringLiteral("AddIn%1Command").arg(number));
    const QString desc = Settings::get(Settings::App, QStringLiteral("AddIns"), QStringLiteral("AddIn%1Desc").arg(number));
    if (command.isEmpty()) {
        MessageBox::show(AddIns::noCommandLineText(number, desc), MessageBox::OkOnly, MessageBox::Information,
                         QStringLiteral("No command line"));
        return;
    }
    const QString folder = Platform::programFolder();
    const QString line = AddIns::commandLine(folder, command);
    if (line.isEmpty())
        return;
    if (!Shell::start(line, folder))
        MessageBox::show(QStringLiteral("Tarvela couldn't launch %1!\n\nThe program %2 could not be started.")
                             .arg(desc, Shell::splitCommandLine(line).value(0)),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("Add-In not started"));
}

void frmMain::mnuHelpTarvelaHelp_Click() { Shell::open(Platform::programFile(QStringLiteral("tarveladesk.chm"))); }

namespace {
bool online()
{
    return MessageBox::show(QStringLiteral("Before connecting to the Orbique \nWeb Site, you must be connected to the internet.\n\nAre you online?"),
                            MessageBox::YesNo, MessageBox::Question, QStringLiteral("Connect?"))
        == MessageBox::Yes;
}
} // namespace

void frmMain::mnuHelpWebSite_Click()
{
    if (online())
        Shell::open(webHost() + QStringLiteral("/support"));
}

void frmMain::mnuHelpSubmitAComment_Click()
{
    if (online())
        Shell::open(webHost() + QStringLiteral("/software/tarvela/comment.htm"));
}

void frmMain::mnuHelpTipOfTheDay_Click()
{
    frmTip::setShowRegardless(true);
    try {
        frmTip::instance()->Show();
    } catch (const RuntimeError &) {
    }
}

void frmMain::mnuHelpAbout_Click() { frmAbout::instance()->Show(); }

void frmMain::SSCommand1_Click() { frmAddSemesterWizard::instance()->showIntroduction(); }
void frmMain::SSCommand2_Click() { frmClassWizzy::addClass(); }
void frmMain::SSCommand3_Click()
{
    const QString proc = QStringLiteral("SSCommand3_Click");
    if (NoClassSelected()) {
        MessageBox::show(QStringLiteral("You cannot add an assignment unless a class is selected."), MessageBox::OkOnly,
                         MessageBox::Information, QStringLiteral("No class!"));
        if (frmAddAssignment *w = frmAddAssignment::existing())
            w->Unload();
        return;
    }
    frmAddAssignment *w = nullptr;
    step(proc, false, [&] {
        w = frmAddAssignment::instance();
        w->Show();
    });
    if (!w)
        return;
    step(proc, false, [&] {
        Recordset &rs = w->Data1->recordset();
        rs.AddNew();
        rs.setValue(QStringLiteral("Class_ID"), datClasses->recordset().value(QStringLiteral("ID")));
        rs.Update();
        rs.MoveLast();
    });
    step(proc, false, [&] { w->Show(); });
}
void frmMain::SSCommand4_Click() { frmSearch::instance()->Show(); }
void frmMain::SSCommand5_Click() { mnuQuizzer->popup(QCursor::pos()); }
void frmMain::SSCommand6_Click() { frmCalendar::open(); }
void frmMain::tmrCheckCalendar_Timer() { CalendarAlarm::tick(tmrCheckCalendar); }
void frmMain::cmdClassStats_Click() { lblLetterGrade_Click(); }

void frmMain::imgDocumentLink_Click() { mnuAssignmentOpenDocument_Click(); }
void frmMain::lblDocumentLink_Click() { mnuAssignmentOpenDocument_Click(); }
