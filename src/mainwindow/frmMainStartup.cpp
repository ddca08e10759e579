#include "frmMain.h"
#include "frmMainSteps.h"

#include "AddIns.h"

#include "frmAbout.h"
#include "frmAddAssignment.h"
#include "frmClassStatus.h"
#include "frmConfirmGrade.h"
#include "frmError.h"
#include "frmSplash.h"
#include "frmTip.h"
#include "store/Grades.h"
#include "store/modTransport.h"

#include "calendar/frmToday.h"
#include "platform/Clock.h"
#include "platform/Artwork.h"
#include "platform/Controls.h"
#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/ProgramLock.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "setup/frmAddSemesterWizard.h"
#include "setup/frmClassWizzy.h"
#include "setup/frmEditClass.h"
#include "store/CurrentSelection.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/Database.h"
#include "store/IndexRepair.h"
#include "store/Recordset.h"
#include "store/clsTarvelaDB.h"
#include "platform/WaitCursor.h"
#include "bound/frmCompactDB.h"

#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace frmMainSteps;

// ---------------------------------------------------------------- start-up

bool frmMain::openDatabaseAtStart(bool existed)
{
    // A file that cannot be used is reported and left as it is; the program
    // never puts an empty database in its place.
    // The open checks the file against the nine tables and their fields and
    // for damage, and gives it the indexes it lacks.
    // Damage that lies only in the file's indexes can be mended: that is
    // offered once, and the mended file is opened (and checked) again.
    for (bool offered = false;; offered = true) {
        try {
            auto db = Database::open(DatabasePath);
            db->close();
            return true;
        } catch (const RuntimeError &e) {
            QString notMended;
            if (existed && !offered && e.number() == Err::NotADatabase && offerIndexRepair(e.description(), &notMended))
                continue;
            QString text = QStringLiteral("Tarvela cannot open its database:\n%1\n\n%2").arg(DatabasePath, e.description());
            if (!notMended.isEmpty())
                text += QStringLiteral("\n\nIts indexes could not be rebuilt: %1").arg(notMended);
            if (existed)
                text += QStringLiteral("\n\nThe file has been left as it is.");
            MessageBox::show(text, MessageBox::OkOnly, MessageBox::Critical, QStringLiteral("Cannot continue"));
            Platform::endProgram();
            return false;
        }
    }
}

bool frmMain::offerIndexRepair(const QString &damage, QString *failure)
{
    const std::unique_ptr<IndexRepair> repair = IndexRepair::prepare(DatabasePath);
    if (!repair)
        return false;
    const QString kept = QDir::toNativeSeparators(repair->keptCopy());
    const auto answer = MessageBox::show(
        QStringLiteral("%1\n\nOnly the indexes of the file are damaged (the lists Tarvela keeps to find rows quickly); "
                       "every row of your data is whole. Tarvela can build the indexes anew from the rows, losing nothing. "
                       "A copy of the file as it is now is kept first, as\n%2\n\nRebuild the indexes now?")
            .arg(damage, kept),
        MessageBox::YesNo, MessageBox::Exclamation, QStringLiteral("Database Damaged"));
    if (answer != MessageBox::Yes)
        return false;
    try {
        repair->apply();
    } catch (const RuntimeError &e) {
        *failure = e.description();
        return false;
    }
    MessageBox::show(QStringLiteral("The indexes of the database were built anew from its rows; no row was lost.\n\n"
                                    "The file as it was before is kept as\n%1\nYou can delete it once your data looks right.")
                         .arg(kept),
                     MessageBox::OkOnly, MessageBox::Information, QStringLiteral("Database Repaired"));
    return true;
}

bool frmMain::takeFolder(const QString &folder)
{
    const ProgramLock::Outcome lock = ProgramLock::take(folder);
    const QString shownFolder = QDir::toNativeSeparators(folder);
    const QString lockFile = QDir::toNativeSeparators(ProgramLock::fileIn(folder));
    switch (lock.result) {
    case ProgramLock::Result::Taken:
    case ProgramLock::Result::NotPossible: // a read-only folder: what follows tells
        return true;
    case ProgramLock::Result::HeldByAnother:
        MessageBox::show(QStringLiteral("Tarvela Desk is already running with the folder %1.\n\n"
                                        "Use the copy that is running; this one ends now.")
                             .arg(shownFolder),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("Tarvela Desk"));
        break;
    case ProgramLock::Result::OtherComputer:
        MessageBox::show(QStringLiteral("The folder %1 is marked as in use by Tarvela Desk on the computer \"%2\".\n\n"
                                        "If Tarvela Desk runs there, close it there first. If it does not run there any "
                                        "more, delete the file %3, then start Tarvela Desk again.\n\nThis copy ends now.")
                             .arg(shownFolder, lock.computer, lockFile),
                         MessageBox::OkOnly, MessageBox::Exclamation, QStringLiteral("Tarvela Desk"));
        break;
    case ProgramLock::Result::CannotReplace:
        MessageBox::show(QStringLiteral("Tarvela Desk cannot take over the lock file %1, which keeps a second copy of the "
                                        "program from working with the folder at the same time: %2\n\nThis copy ends now.")
                             .arg(lockFile, lock.problem),
                         MessageBox::OkOnly, MessageBox::Critical, QStringLiteral("Cannot continue"));
        break;
    }
    Platform::endProgram();
    return false;
}

void frmMain::Form_Load()
{
    // Settings that cannot be kept are told to the user, once per run.
    Settings::setFailureReport([](const Settings::Failure &failure) {
        MessageBox::show(QStringLiteral("Tarvela Desk cannot save its settings in the file\n%1\n\n%2\n\n"
                                        "Settings changed while the program runs (such as the window position, the last "
                                        "class used and the class colours) will not be kept when it closes.")
                             .arg(QDir::toNativeSeparators(failure.file), failure.problem),
                         MessageBox::OkOnly, MessageBox::Exclamation, QStringLiteral("Settings Not Saved"));
    });
    // A database driver the store cannot work with safely is told before
    // anything in the folder is touched.
    try {
        Database::checkDriverEngine();
    } catch (const RuntimeError &e) {
        MessageBox::show(e.description(), MessageBox::OkOnly, MessageBox::Critical, QStringLiteral("Database Driver Mismatch"));
        Platform::endProgram();
        return;
    }
    bool existed = true;
    const QString folder = Platform::programFolder();
    // One copy of the program per folder: a second one ends before it
    // touches the database or the settings.
    if (!takeFolder(folder))
        return;
    try {
        DatabasePath = databaseFileIn(folder);
        // Only where nothing stands in the file's place is a new file offered:
        // a folder of its name is told as such when the file is opened.
        if (Platform::entryNoCase(folder, clsTarvelaDB::databaseFileName()).isEmpty()) {
            existed = false;
            const auto answer = MessageBox::show(QStringLiteral("The Tarvela database was not found.\n\nShall I create a new one?"),
                                                 MessageBox::YesNo, MessageBox::Information, QStringLiteral("No Database"));
            if (answer == MessageBox::Yes) {
                cTarveladb = new clsTarvelaDB(this);
                showNotices(cTarveladb);
                bool created = false;
                {
                    const WaitCursor hourglass;
                    created = cTarveladb->Create_Tarvela_DB(folder);
                }
                DatabasePath = databaseFileIn(folder);
                if (!created) {
                    // Told, not passed over: without a database nothing can be kept.
                    if (!cTarveladb->lastError().isEmpty() && !Platform::fileExistsNoCase(folder, clsTarvelaDB::databaseFileName()))
                        MessageBox::show(QStringLiteral("The Tarvela database could not be created in\n%1\n\n%2")
                                             .arg(folder, cTarveladb->lastError()),
                                         MessageBox::OkOnly, MessageBox::Critical, QStringLiteral("Cannot continue"));
                    if (!Platform::fileExistsNoCase(folder, clsTarvelaDB::databaseFileName())) {
                        Platform::endProgram();
                        return;
                    }
                }
            } else {
                MessageBox::show(QStringLiteral("Tarvela cannot continue to load without a database."), MessageBox::OkOnly,
                                 MessageBox::Information, QStringLiteral("Cannot continue"));
                Platform::endProgram();
                return;
            }
        }
        if (!openDatabaseAtStart(existed))
            return;

        SSPanel5->setText(QString());
        datAssignments->setDatabaseName(DatabasePath);
        datAssignmentTypes->setDatabaseName(DatabasePath);
        datClasses->setDatabaseName(DatabasePath);
        datSemesters->setDatabaseName(DatabasePath);
        // The classes are read before the semesters, so that the remembered
        // selection is not overwritten before the activation restores it; the
        // assignments are read for the class that is then current.
        datAssignmentTypes->Refresh();
        datClasses->Refresh();
        datAssignments->Refresh();
        datSemesters->Refresh();
        Settings::save(Settings::App, SettingsSection, QStringLiteral("TarvelaPath"), folder);
        gridAssignments->setEnabled(false);
        hide();
        frmSplash::instance()->Show();
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < splashMilliseconds) {
            Platform::doEvents();
            if (Platform::programEnded())
                return;
            QThread::msleep(10);
        }
        Platform::doEvents();
        Show();
        if (frmSplash *splash = frmSplash::existing())
            splash->Unload();
        if (existed) {
            try {
                frmTip::instance()->Show();
            } catch (const RuntimeError &e) {
                if (e.number() != Err::ObjectUnloaded)
                    throw;
            }
        }
    } catch (const RuntimeError &e) {
        frmError::report(e, FormName, QStringLiteral("Form_Load"));
    }
}

void frmMain::Form_QueryUnload(bool &cancel)
{
    // What is being typed into the grid (a cell still being edited, a new
    // row) is stored under its class before anything closes. What cannot be
    // stored keeps the window open with what was typed, unless the user
    // chooses to close all the same and lose it.
    try {
        gridAssignments->storeEdits();
    } catch (const RuntimeError &e) {
        if (Form::keepOpenToCorrect(e))
            cancel = true;
        else
            gridAssignments->discardEdits();
    }
}

void frmMain::Form_Unload(bool &)
{
    try {
        frmCompactDB::instance()->Show();
    } catch (const RuntimeError &) {
        // The window closed itself: nothing to ask this time.
    }
}

void frmMain::Form_Resize() { layoutPass(); }

void frmMain::layoutPass()
{
    // The four position keys go to the file in one write, and not at all
    // when the window is where it was.
    const QRect g = frameGeometry();
    const auto twips = [](int pixels) { return QString::number(Twips::fromPixels(pixels)); };
    Settings::save(Settings::App, SettingsSection,
                   {{QStringLiteral("frmMainTop"), twips(g.y())},
                    {QStringLiteral("frmMainLeft"), twips(g.x())},
                    {QStringLiteral("frmMainWidth"), twips(g.width())},
                    {QStringLiteral("frmMainHeight"), twips(g.height())}});
    if (!m_layoutReady)
        return;
    // The layouts keep the controls with the window; the grid's title column
    // stretches over what the tree pane and the other columns leave.
}

// ------------------------------------------------------------- activation

void frmMain::Form_Activate()
{
    const QString proc = QStringLiteral("Form_Activate");
    // Closing a report activates the window again: a cause that stands is
    // not told again at each return, only once.
    FilteredRun once(*m_activationReports);
    // The window's place and the selection restored are written once.
    Settings::Batch remember;
    step(proc, true, [&] { layoutPass(); });
    step(proc, true, [&] {
        for (int n = 1; n <= AddIns::Count; ++n) {
            const QString desc = Settings::get(Settings::App, QStringLiteral("AddIns"), QStringLiteral("AddIn%1Desc").arg(n));
            if (!desc.isEmpty()) {
                mnuAddIns->menuAction()->setVisible(true);
                QAction *a = m_actions.value(QStringLiteral("mnuAddIn%1Desc").arg(n));
                a->setVisible(true);
                a->setText(desc);
            }
        }
    });
    step(proc, true, [&] { RefreshTree(); });
    step(proc, true, [&] { LoadAssignmentTypes(); });
    const QString lastSemester = Settings::get(Settings::App, SettingsSection, QStringLiteral("LastSemester"));
    const QString lastClass = Settings::get(Settings::App, SettingsSection, QStringLiteral("LastClass"));
    // What is being typed into the grid stays with its class: it is stored
    // before the sources move. Should that fail (the user was told, the text
    // kept), the sources stay where they are, and the failure is not told a
    // second time through the error window.
    if (!NoSemesterSelected() && !NoClassSelected() && !lastSemester.isEmpty() && !lastClass.isEmpty()
        && gridAssignments->commitEdits()) {
        step(proc, true, [&] { datSemesters->recordset().FindFirst(QStringLiteral("Title"), lastSemester); });
        step(proc, true, [&] { datClasses->recordset().FindFirst(QStringLiteral("ClassName"), lastClass); });
        // The grid follows the class now current, not the one read before,
        // and the totals are that class's, also when the start-up had read
        // its rows already.
        step(proc, true, [&] {
            if (!datClasses->hasCurrentRow())
                return;
            if (datAssignments->recordSourceChanged())
                datAssignments->Refresh();
            RefreshPoints();
        });
    }
    m_layoutReady = true;
    // The splitter and what it holds draw themselves again wherever the
    // steps above changed what they show; what looks the same is not drawn
    // again.
}
