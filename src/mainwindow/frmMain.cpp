#include "frmMain.h"

#include "frmAbout.h"
#include "frmAddAssignment.h"
#include "frmClassStatus.h"
#include "frmConfirmGrade.h"
#include "frmError.h"
#include "frmSplash.h"
#include "frmTip.h"
#include "Grades.h"
#include "modTransport.h"

#include "calendar/frmToday.h"
#include "platform/Artwork.h"
#include "platform/Controls.h"
#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "setup/frmAddSemesterWizard.h"
#include "setup/frmClassWizzy.h"
#include "setup/frmEditClass.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/clsTarvelaDB.h"
#include "store/frmCompactDB.h"

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

namespace {

const QString FormName = QStringLiteral("frmMain");
const QString SettingsSection = QStringLiteral("Settings");
constexpr int KeyRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;

// Runs one statement of a handler that reports its errors and goes on.
template <class F> void step(const QString &procedure, bool messageFirst, F &&f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        frmError::report(e, FormName, procedure, messageFirst);
    }
}

// Runs one statement whose failure is skipped silently.
template <class F> bool quietly(F &&f)
{
    try {
        f();
        return true;
    } catch (const RuntimeError &) {
        return false;
    }
}

int imageForColour(const QString &colour)
{
    static const char *names[] = {"Yellow", "Cyan", "Black", "Blue", "Brown", "Light Cyan", "Dark Green", "Green",
                                  "Grey", "Light Blue", "Orange", "Pink", "Purple", "Red", "White"};
    for (int i = 0; i < 15; ++i)
        if (colour == QLatin1String(names[i]))
            return i + 4;
    return 3;
}

QString assignmentQuery() { return QStringLiteral("SELECT * From Assignments WHERE Class_ID = ? ORDER BY DateDue"); }

} // namespace

int frmMain::splashMilliseconds = 1500;

QString frmMain::webHost() { return QStringLiteral("https://tarvela-desk.example.org"); }

frmMain::frmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tarvela Desk"));

    datSemesters = new DataSource(this, QStringLiteral("datSemesters"));
    datClasses = new DataSource(this, QStringLiteral("datClasses"));
    datAssignments = new DataSource(this, QStringLiteral("datAssignments"));
    datAssignmentTypes = new DataSource(this, QStringLiteral("datAssignmentTypes"));
    datSemesters->setRecordSource(QStringLiteral("Semesters"));
    datClasses->setRecordSource(QStringLiteral("Classes"));
    datAssignments->setRecordSource(QStringLiteral("Assignments"));
    datAssignmentTypes->setRecordSource(QStringLiteral("AssignmentTypes"));

    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    buildMenus(bar);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    auto tool = [this](const char *name, const QString &caption, const QString &tip) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setToolTip(tip);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(true);
        b->setMinimumHeight(32);
        return b;
    };
    SSCommand1 = tool("SSCommand1", QStringLiteral("New Semester"), QStringLiteral("Add semester"));
    SSCommand2 = tool("SSCommand2", QStringLiteral("Add a Class"), QStringLiteral("Add class"));
    SSCommand3 = tool("SSCommand3", QStringLiteral("New Work"), QStringLiteral("Add assignment"));
    SSCommand4 = tool("SSCommand4", QStringLiteral("Search"), QStringLiteral("Search assignments"));
    SSCommand6 = tool("SSCommand6", QStringLiteral("Calendar"), QStringLiteral("Open calendar"));
    SSCommand5 = tool("SSCommand5", QStringLiteral("Quizzer"), QStringLiteral("Quizzer Options"));
    cmdClassStats = tool("cmdClassStats", QStringLiteral("Class Stats"), QStringLiteral("Class Statistics (Letter Grade)"));

    imgDocumentLink = new ClickLabel(this);
    imgDocumentLink->setObjectName(QStringLiteral("imgDocumentLink"));
    imgDocumentLink->setPixmap(Artwork::picture(QStringLiteral("document"), 24));
    imgDocumentLink->setToolTip(QStringLiteral("Open linked document"));
    imgDocumentLink->setCursor(Qt::PointingHandCursor);
    imgDocumentLink->setVisible(false);
    lblDocumentLink = new ClickLabel(QStringLiteral("Linked Document"), this);
    lblDocumentLink->setObjectName(QStringLiteral("lblDocumentLink"));
    lblDocumentLink->setCursor(Qt::PointingHandCursor);
    lblDocumentLink->setVisible(false);
    auto *gpaCaption = new QLabel(QStringLiteral("GPA:"), this);
    lblGPA = new QLabel(this);
    lblGPA->setObjectName(QStringLiteral("lblGPA"));
    lblGPA->setMinimumWidth(1050 / Twips::PerPixel);
    QFont bold = lblGPA->font();
    bold.setBold(true);
    lblGPA->setFont(bold);

    auto *toolbar = new QHBoxLayout;
    toolbar->setSpacing(2);
    for (QToolButton *b : {SSCommand1, SSCommand2, SSCommand3, SSCommand4, SSCommand6, SSCommand5, cmdClassStats})
        toolbar->addWidget(b);
    toolbar->addStretch(1);
    toolbar->addWidget(imgDocumentLink);
    toolbar->addWidget(lblDocumentLink);
    toolbar->addSpacing(12);
    toolbar->addWidget(gpaCaption);
    toolbar->addWidget(lblGPA);

    SSTree2 = new QTreeWidget(this);
    SSTree2->setObjectName(QStringLiteral("SSTree2"));
    SSTree2->setHeaderHidden(true);
    SSTree2->setRootIsDecorated(true);

    gridAssignments = new DataGrid(this);
    gridAssignments->setObjectName(QStringLiteral("gridAssignments"));
    gridAssignments->setDataSource(datAssignments, {{QStringLiteral("Title"), QStringLiteral("AssignmentTitle")},
                                                    {QStringLiteral("Type"), QStringLiteral("AssignmentType")},
                                                    {QStringLiteral("Due"), QStringLiteral("DateDue")},
                                                    {QStringLiteral("Max Points"), QStringLiteral("MaxPointsPossible")},
                                                    {QStringLiteral("Points"), QStringLiteral("ActualPoints")},
                                                    {QStringLiteral("Done"), QStringLiteral("Completed")}});

    gridAssignments->setColumnWidth(0, 300);
    gridAssignments->setColumnWidth(1, 120);

    SSPanel2 = new Panel(this);
    SSPanel2->setObjectName(QStringLiteral("SSPanel2"));
    SSPanel2->setMinimumHeight(299 / Twips::PerPixel + 8);
    Label1 = new QLabel(QStringLiteral("Maximum Points Possible:"), SSPanel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    lblMaxPoints = new QLabel(SSPanel2);
    lblMaxPoints->setObjectName(QStringLiteral("lblMaxPoints"));
    Label2 = new QLabel(QStringLiteral("Current Points:"), SSPanel2);
    Label2->setObjectName(QStringLiteral("Label2"));
    lblCurrentPoints = new QLabel(SSPanel2);
    lblCurrentPoints->setObjectName(QStringLiteral("lblCurrentPoints"));
    lblLetterGrade = new ClickLabel(SSPanel2);
    lblLetterGrade->setObjectName(QStringLiteral("lblLetterGrade"));
    lblLetterGrade->setFont(bold);
    lblLetterGrade->setCursor(Qt::PointingHandCursor);
    auto *band = new QHBoxLayout(SSPanel2);
    band->setContentsMargins(6, 2, 6, 2);
    band->addStretch(1);
    band->addWidget(Label1);
    band->addWidget(lblMaxPoints);
    band->addSpacing(24);
    band->addWidget(Label2);
    band->addWidget(lblCurrentPoints);
    band->addSpacing(24);
    band->addWidget(lblLetterGrade);

    m_rightPanes = new QSplitter(Qt::Vertical, this);
    m_rightPanes->setObjectName(QStringLiteral("Pane B"));
    m_rightPanes->addWidget(gridAssignments);
    m_rightPanes->addWidget(SSPanel2);
    m_rightPanes->setStretchFactor(0, 1);
    m_rightPanes->setStretchFactor(1, 0);
    SSSplitter1 = new QSplitter(Qt::Horizontal, this);
    SSSplitter1->setObjectName(QStringLiteral("SSSplitter1"));
    SSSplitter1->addWidget(SSTree2);
    SSSplitter1->addWidget(m_rightPanes);
    SSSplitter1->setStretchFactor(0, 0);
    SSSplitter1->setStretchFactor(1, 1);
    SSSplitter1->setSizes({220, 620});

    SSPanel3 = new Panel(this);
    SSPanel3->setObjectName(QStringLiteral("SSPanel3"));
    SSPanel3->setMinimumWidth(150);
    SSPanel4 = new Panel(this);
    SSPanel4->setObjectName(QStringLiteral("SSPanel4"));
    SSPanel4->setMinimumWidth(200);
    SSPanel5 = new Panel(this);
    SSPanel5->setObjectName(QStringLiteral("SSPanel5"));
    auto *status = new QHBoxLayout;
    status->addWidget(SSPanel3);
    status->addWidget(SSPanel4);
    status->addWidget(SSPanel5, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(Line1);
    layout->addLayout(toolbar);
    layout->addWidget(SSSplitter1, 1);
    layout->addLayout(status);
    resize(900, 600);

    tmrCalculateGPA = new QTimer(this);
    tmrCalculateGPA->setObjectName(QStringLiteral("tmrCalculateGPA"));
    tmrCalculateGPA->setInterval(10000);
    tmrTimeDate = new QTimer(this);
    tmrTimeDate->setObjectName(QStringLiteral("tmrTimeDate"));
    tmrTimeDate->setInterval(1000);
    tmrCheckCalendar = new QTimer(this);
    tmrCheckCalendar->setObjectName(QStringLiteral("tmrCheckCalendar"));
    tmrCheckCalendar->setInterval(10000);
    connect(tmrCalculateGPA, &QTimer::timeout, this, &frmMain::tmrCalculateGPA_Timer);
    connect(tmrTimeDate, &QTimer::timeout, this, &frmMain::tmrTimeDate_Timer);
    tmrCalculateGPA->start();
    tmrTimeDate->start();

    connect(SSCommand1, &QToolButton::clicked, this, &frmMain::SSCommand1_Click);
    connect(SSCommand2, &QToolButton::clicked, this, &frmMain::SSCommand2_Click);
    connect(SSCommand3, &QToolButton::clicked, this, &frmMain::SSCommand3_Click);
    connect(SSCommand4, &QToolButton::clicked, this, &frmMain::SSCommand4_Click);
    connect(SSCommand5, &QToolButton::clicked, this, &frmMain::SSCommand5_Click);
    connect(SSCommand6, &QToolButton::clicked, this, &frmMain::SSCommand6_Click);
    connect(cmdClassStats, &QToolButton::clicked, this, &frmMain::cmdClassStats_Click);
    connect(lblLetterGrade, &ClickLabel::clicked, this, &frmMain::lblLetterGrade_Click);
    connect(imgDocumentLink, &ClickLabel::clicked, this, &frmMain::imgDocumentLink_Click);
    connect(lblDocumentLink, &ClickLabel::clicked, this, &frmMain::lblDocumentLink_Click);
    connect(SSTree2, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node, int) { SSTree2_NodeClick(node); });
    connect(datSemesters, &DataSource::Reposition, this, &frmMain::datSemesters_Reposition);
    connect(datClasses, &DataSource::Reposition, this, &frmMain::datClasses_Reposition);
    connect(datAssignments, &DataSource::Reposition, this, &frmMain::datAssignments_Reposition);
    connect(gridAssignments, &DataGrid::AfterInsert, this, &frmMain::gridAssignments_AfterInsert);
    connect(gridAssignments, &DataGrid::AfterUpdate, this, &frmMain::gridAssignments_AfterUpdate);
    connect(gridAssignments, &DataGrid::MouseDown, this, &frmMain::gridAssignments_MouseDown);
}

QAction *frmMain::item(QMenu *menu, const char *name, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    m_actions.insert(QString::fromLatin1(name), a);
    return a;
}

void frmMain::separator(QMenu *menu, const char *name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    m_actions.insert(QString::fromLatin1(name), a);
}

QAction *frmMain::action(const char *name) const { return m_actions.value(QString::fromLatin1(name)); }

void frmMain::buildMenus(QMenuBar *bar)
{
    auto menu = [this](QWidget *parent, const char *name, const QString &caption) {
        auto *m = new QMenu(caption, parent);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        m_actions.insert(QString::fromLatin1(name), m->menuAction());
        if (auto *b = qobject_cast<QMenuBar *>(parent))
            b->addMenu(m);
        else if (auto *p = qobject_cast<QMenu *>(parent))
            p->addMenu(m);
        return m;
    };
    auto on = [this](QAction *a, void (frmMain::*slot)()) { connect(a, &QAction::triggered, this, slot); };

    QMenu *file = menu(bar, "mnuFile", QStringLiteral("&File"));
    on(item(file, "mnuFileTodaysEvents", QStringLiteral("Today's Events")), &frmMain::mnuFileTodaysEvents_Click);
    on(item(file, "mnuFileCalculateGPA", QStringLiteral("Calculate GPA")), &frmMain::mnuFileCalculateGPA_Click);
    QMenu *config = menu(file, "mnuFileConfig", QStringLiteral("Configure"));
    on(item(config, "mnuFileConfigureAssignmentTypes", QStringLiteral("Assignment Types")), &frmMain::mnuFileConfigureAssignmentTypes_Click);
    QMenu *fileNew = menu(file, "mnuFileNew", QStringLiteral("&New"));
    on(item(fileNew, "mnuFileNewSemester", QStringLiteral("Semester")), &frmMain::SSCommand1_Click);
    on(item(fileNew, "mnuFileNewClass", QStringLiteral("Class")), &frmMain::SSCommand2_Click);
    on(item(fileNew, "mnuFileNewAssignment", QStringLiteral("Assignment")), &frmMain::SSCommand3_Click);
    separator(file, "mnuFileSep1");
    on(item(file, "mnuFileExit", QStringLiteral("E&xit")), &frmMain::mnuFileExit_Click);

    QMenu *semester = menu(bar, "mnuSemester", QStringLiteral("Semester"));
    on(item(semester, "mnuSemesterAddNew", QStringLiteral("Add New")), &frmMain::SSCommand1_Click);
    on(item(semester, "mnuSemesterDelete", QStringLiteral("Delete")), &frmMain::mnuSemesterDelete_Click);

    QMenu *cls = menu(bar, "mnuClass", QStringLiteral("Class"));
    on(item(cls, "mnuClassAddNew", QStringLiteral("Add New")), &frmMain::mnuClassAddNew_Click);
    on(item(cls, "mnuClassEdit", QStringLiteral("Edit")), &frmMain::mnuClassEdit_Click);
    on(item(cls, "mnuClassDelete", QStringLiteral("Delete")), &frmMain::mnuClassDelete_Click);
    separator(cls, "mnuClassSep1");
    on(item(cls, "mnuClassCloseOut", QStringLiteral("Close Out")), &frmMain::mnuClassCloseOut_Click);
    separator(cls, "mnuClassSep2");
    QMenu *colours = menu(cls, "mnuClassSetColor", QStringLiteral("Set Color"));
    static const char *colourItems[][2] = {
        {"mnuClassSetColorYellow", "Yellow"}, {"mnuClassSetColorCyan", "Cyan"}, {"mnuClassSetColorBlack", "Black"},
        {"mnuClassSetColorBlue", "Blue"}, {"mnuClassSetColorBrown", "Brown"}, {"mnuClassSetColorLightCyan", "Light Cyan"},
        {"mnuClassSetColorDarkGreen", "Dark Green"}, {"mnuClassSetColorGreen", "Green"}, {"mnuClassSetColorGrey", "Grey"},
        {"mnuClassSetColorLightBlue", "Light Blue"}, {"mnuClassSetColorOrange", "Orange"}, {"mnuClassSetColorPink", "Pink"},
        {"mnuClassSetColorPurple", "Purple"}, {"mnuClassSetColorRed", "Red"}, {"mnuClassSetColorWhite", "White"}};
    for (const auto &c : colourItems) {
        const QString value = QString::fromLatin1(c[1]);
        connect(item(colours, c[0], value), &QAction::triggered, this, [this, value] { mnuClassSetColor_Click(value); });
    }
    on(item(cls, "mnuClassExport", QStringLiteral("Export")), &frmMain::mnuClassExport_Click);
    on(item(cls, "mnuClassImport", QStringLiteral("Import")), &frmMain::mnuClassImport_Click);
    separator(cls, "mnuClassSep3");
    on(item(cls, "mnuClassStatus", QStringLiteral("Status")), &frmMain::mnuClassStatus_Click);

    mnuAssignment = menu(bar, "mnuAssignment", QStringLiteral("Assignment"));
    on(item(mnuAssignment, "mnuAssignmentAddNew", QStringLiteral("Add New")), &frmMain::mnuAssignmentAddNew_Click);
    on(item(mnuAssignment, "mnuAssignmentDelete", QStringLiteral("Delete")), &frmMain::mnuAssignmentDelete_Click);
    on(item(mnuAssignment, "mnuAssignmentLinkDocument", QStringLiteral("Link Document")), &frmMain::mnuAssignmentLinkDocument_Click);
    on(item(mnuAssignment, "mnuAssignmentOpenDocument", QStringLiteral("Open Document")), &frmMain::mnuAssignmentOpenDocument_Click);
    separator(mnuAssignment, "mnuAssignmentSep");
    on(item(mnuAssignment, "mnuAssignmentDetails", QStringLiteral("Details")), &frmMain::mnuAssignmentDetails_Click);

    QMenu *reports = menu(bar, "mnuReports", QStringLiteral("&Reports"));
    on(item(reports, "mnuReportsAllAssignments", QStringLiteral("All Assignments")), &frmMain::mnuReportsAllAssignments_Click);
    on(item(reports, "mnuReportsUngradedAssignments", QStringLiteral("Ungraded Assignments")), &frmMain::mnuReportsUngradedAssignments_Click);

    mnuQuizzer = menu(bar, "mnuQuizzer", QStringLiteral("&Quizzer"));
    on(item(mnuQuizzer, "mnuQuizzerQuizBuilder", QStringLiteral("Quiz Builder")), &frmMain::mnuQuizzerQuizBuilder_Click);
    on(item(mnuQuizzer, "mnuQuizzerTakeAQuiz", QStringLiteral("Take a Quiz")), &frmMain::mnuQuizzerTakeAQuiz_Click);

    QAction *contacts = bar->addAction(QStringLiteral("Contacts"));
    contacts->setObjectName(QStringLiteral("mnuContacts"));
    m_actions.insert(QStringLiteral("mnuContacts"), contacts);
    on(contacts, &frmMain::mnuContacts_Click);

    mnuAddIns = menu(bar, "mnuAddIns", QStringLiteral("Add-Ins"));
    mnuAddIns->menuAction()->setVisible(false);
    static const char *addInNames[] = {"mnuAddIn1Desc", "mnuAddIn2Desc", "mnuAddIn3Desc", "mnuAddIn4Desc", "mnuAddIn5Desc"};
    for (int n = 1; n <= 5; ++n) {
        QAction *a = item(mnuAddIns, addInNames[n - 1], QString());
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, n] { mnuAddInDesc_Click(n); });
    }

    QMenu *help = menu(bar, "mnuHelp", QStringLiteral("&Help"));
    QAction *helpItem = item(help, "mnuHelpTarvelaHelp", QStringLiteral("Tarvela Help"));
    helpItem->setShortcut(QKeySequence(Qt::Key_F1));
    helpItem->setShortcutContext(Qt::WindowShortcut);
    addAction(helpItem);
    on(helpItem, &frmMain::mnuHelpTarvelaHelp_Click);
    on(item(help, "mnuHelpWebSite", QStringLiteral("Web Support")), &frmMain::mnuHelpWebSite_Click);
    on(item(help, "mnuHelpSubmitAComment", QStringLiteral("Submit a comment")), &frmMain::mnuHelpSubmitAComment_Click);
    on(item(help, "mnuHelpTipOfTheDay", QStringLiteral("Tip of the Day")), &frmMain::mnuHelpTipOfTheDay_Click);
    separator(help, "mnuHelpSep1");
    on(item(help, "mnuHelpAbout", QStringLiteral("About Tarvela")), &frmMain::mnuHelpAbout_Click);
}

// ---------------------------------------------------------------- start-up

bool frmMain::openDatabaseAtStart(bool existed)
{
    // A file that cannot be used is reported and left as it is; the program
    // never puts an empty database in its place.
    try {
        auto db = Database::open(DatabasePath);
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Semesters"), Database::Snapshot);
        rs->Close();
        db->close();
        return true;
    } catch (const RuntimeError &e) {
        QString text = QStringLiteral("Tarvela cannot open its database:\n%1\n\n%2").arg(DatabasePath, e.description());
        if (existed)
            text += QStringLiteral("\n\nThe file has been left as it is.");
        MessageBox::show(text, MessageBox::OkOnly, MessageBox::Critical, QStringLiteral("Cannot continue"));
        Platform::endProgram();
        return false;
    }
}

void frmMain::Form_Load()
{
    bool existed = true;
    const QString folder = Platform::programFolder();
    try {
        DatabasePath = databaseFileIn(folder);
        if (!Platform::fileExistsNoCase(folder, clsTarvelaDB::databaseFileName())) {
            existed = false;
            const auto answer = MessageBox::show(QStringLiteral("The Tarvela database was not found.\n\nShall I create a new one?"),
                                                 MessageBox::YesNo, MessageBox::Information, QStringLiteral("No Database"));
            if (answer == MessageBox::Yes) {
                cTarveladb = new clsTarvelaDB(this);
                const bool created = cTarveladb->Create_Tarvela_DB(folder);
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
    const QRect g = frameGeometry();
    Settings::save(Settings::App, SettingsSection, QStringLiteral("frmMainTop"), QString::number(Twips::fromPixels(g.y())));
    Settings::save(Settings::App, SettingsSection, QStringLiteral("frmMainLeft"), QString::number(Twips::fromPixels(g.x())));
    Settings::save(Settings::App, SettingsSection, QStringLiteral("frmMainWidth"), QString::number(Twips::fromPixels(g.width())));
    Settings::save(Settings::App, SettingsSection, QStringLiteral("frmMainHeight"), QString::number(Twips::fromPixels(g.height())));
    if (!m_layoutReady)
        return;
    // The layouts keep the controls with the window; the title column takes
    // what the other columns leave.
    const int title = Twips::toPixels(Twips::fromPixels(width()) - 7605);
    if (title > 40)
        gridAssignments->setColumnWidth(0, title);
}

// ------------------------------------------------------------- activation

void frmMain::Form_Activate()
{
    const QString proc = QStringLiteral("Form_Activate");
    step(proc, true, [&] { layoutPass(); });
    step(proc, true, [&] {
        for (int n = 1; n <= 5; ++n) {
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
    if (!NoSemesterSelected() && !NoClassSelected() && !lastSemester.isEmpty() && !lastClass.isEmpty()) {
        step(proc, true, [&] { datSemesters->recordset().FindFirst(QStringLiteral("Title"), lastSemester); });
        step(proc, true, [&] { datClasses->recordset().FindFirst(QStringLiteral("ClassName"), lastClass); });
        // The grid follows the class now current, not the one read before.
        step(proc, true, [&] {
            if (datAssignments->recordSourceChanged() && datClasses->hasCurrentRow()) {
                datAssignments->Refresh();
                RefreshPoints();
            }
        });
    }
    m_layoutReady = true;
    SSSplitter1->update();
}

// ------------------------------------------------------------------- tree

void frmMain::addTreeNode(QTreeWidgetItem *parent, const QString &key, const QString &text, int image)
{
    if (m_nodes.contains(key))
        throw RuntimeError(35602, QStringLiteral("Key is not unique in collection"));
    auto *node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(SSTree2);
    node->setText(0, text);
    node->setData(0, KeyRole, key);
    node->setData(0, ImageRole, image);
    node->setIcon(0, Artwork::treeImage(image));
    m_nodes.insert(key, node);
}

void frmMain::RefreshTree()
{
    const QString proc = QStringLiteral("(General)_RefreshTree");
    SSTree2->clear();
    m_nodes.clear();
    std::shared_ptr<Database> semDb, classDb;
    std::unique_ptr<Recordset> semesters;
    step(proc, false, [&] {
        semDb = Database::open(DatabasePath);
        classDb = Database::open(DatabasePath);
        semesters = semDb->openRecordset(QStringLiteral("SELECT * FROM Semesters"), Database::Snapshot);
    });
    if (!semesters)
        return;
    if (semesters->isEmpty()) {
        MessageBox::show(QStringLiteral("You need to configure at least one semester to use Tarvela.\n"
                                        "Click on the OK button to set up your first semester."),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("No semesters."));
        step(proc, false, [&] { frmAddSemesterWizard::instance()->showIntroduction(); });
    }
    while (!semesters->isEOF()) {
        const QString title = semesters->value(QStringLiteral("Title")).toString();
        if (!title.isEmpty()) {
            step(proc, false, [&] { addTreeNode(nullptr, QStringLiteral("S") + title, title, 2); });
            std::unique_ptr<Recordset> classes;
            step(proc, false, [&] {
                classes = classDb->openRecordset(QStringLiteral("SELECT * From Classes WHERE Semester_ID = ?"), Database::Snapshot,
                                                 {semesters->value(QStringLiteral("ID"))});
            });
            while (classes && !classes->isEOF()) {
                const QString name = classes->value(QStringLiteral("ClassName")).toString();
                // A class without a name (one being made by the class wizard) has no node.
                if (!name.isEmpty()) {
                    step(proc, false, [&] {
                        const int image = imageForColour(Settings::get(Settings::App, QStringLiteral("ClassFolders"), name));
                        QTreeWidgetItem *parent = m_nodes.value(QStringLiteral("S") + title);
                        if (!parent)
                            throw RuntimeError(35601, QStringLiteral("Element not found"));
                        addTreeNode(parent, QStringLiteral("C") + name, name, image);
                        parent->setExpanded(true);
                    });
                }
                classes->MoveNext();
            }
        }
        semesters->MoveNext();
    }
    semesters->Close();
    if (semDb)
        semDb->close();
    if (classDb)
        classDb->close();
}

bool frmMain::NoSemesterSelected() const { return datSemesters->noRows(); }
bool frmMain::NoClassSelected() const { return datClasses->noRows(); }
bool frmMain::NoAssignmentSelected() const { return datAssignments->noRows(); }

void frmMain::SSTree2_NodeClick(QTreeWidgetItem *node)
{
    if (!node)
        return;
    const QString proc = QStringLiteral("SSTree2_NodeClick");
    const QString key = node->data(0, KeyRole).toString();
    const QString text = node->text(0);
    if (key.startsWith(QLatin1Char('S'))) {
        step(proc, true, [&] {
            datSemesters->setRecordSource(QStringLiteral("SELECT * FROM SEMESTERS"));
            datSemesters->Refresh();
        });
        step(proc, true, [&] {
            datSemesters->setRecordSource(QStringLiteral("SELECT * From Semesters WHERE Title = ?"), {text});
            datSemesters->Refresh();
        });
        step(proc, true, [&] {
            datClasses->setRecordSource(QStringLiteral("SELECT * From Classes"));
            datClasses->Refresh();
        });
        step(proc, true, [&] {
            datClasses->setRecordSource(QStringLiteral("SELECT * From Classes WHERE Semester_ID = ?"),
                                        {datSemesters->recordset().value(QStringLiteral("ID"))});
            datClasses->Refresh();
        });
        if (!datClasses->noRows()) {
            step(proc, true, [&] {
                datAssignments->setRecordSource(assignmentQuery(), {datClasses->recordset().value(QStringLiteral("ID"))});
            });
            step(proc, true, [&] { gridAssignments->setCaption(datClasses->recordset().value(QStringLiteral("ClassName")).toString()); });
            step(proc, true, [&] { datAssignments->Refresh(); });
            step(proc, true, [&] { gridAssignments->Refresh(); });
            if (!datAssignments->noRows()) {
                step(proc, true, [&] { datAssignments->recordset().MoveFirst(); });
                gridAssignments->setEnabled(true);
                gridAssignments->setVisible(true);
            } else {
                gridAssignments->setEnabled(false);
            }
            step(proc, true, [&] { RefreshPoints(); });
        } else {
            gridAssignments->setEnabled(false);
        }
    }
    if (key.startsWith(QLatin1Char('C'))) {
        gridAssignments->setVisible(true);
        step(proc, true, [&] {
            datClasses->setRecordSource(QStringLiteral("SELECT * From Classes"));
            datClasses->Refresh();
        });
        if (datClasses->hasCurrentRow()) {
            step(proc, true, [&] { datClasses->recordset().FindFirst(QStringLiteral("ClassName"), text); });
            step(proc, true, [&] {
                datAssignments->setRecordSource(assignmentQuery(), {datClasses->recordset().value(QStringLiteral("ID"))});
            });
            step(proc, true, [&] {
                datSemesters->setRecordSource(QStringLiteral("SELECT * From Semesters WHERE ID = ?"),
                                              {datClasses->recordset().value(QStringLiteral("Semester_ID"))});
                datSemesters->Refresh();
            });
            step(proc, true, [&] { gridAssignments->setCaption(datClasses->recordset().value(QStringLiteral("ClassName")).toString()); });
            step(proc, true, [&] { datAssignments->Refresh(); });
            step(proc, true, [&] { RefreshPoints(); });
            // The class was made current before its semester was: remember the pair as it now stands.
            step(proc, true, [&] { rememberSelection(); });
            SSTree2->setFocus();
        }
    }
}

// --------------------------------------------------------- reposition rules

void frmMain::datSemesters_Reposition()
{
    if (datSemesters->hasCurrentRow())
        SSPanel4->setText(QStringLiteral("Semester : ") + datSemesters->recordset().value(QStringLiteral("Title")).toString());
}

void frmMain::datClasses_Reposition()
{
    int lastError = 0;
    auto ignore = [&](auto &&f) {
        try {
            f();
        } catch (const RuntimeError &e) {
            lastError = e.number();
        }
    };
    ignore([&] { SSPanel5->setText(QStringLiteral("Class : ") + datClasses->recordset().value(QStringLiteral("ClassName")).toString()); });
    if (datClasses->noRows()) {
        action("mnuClassCloseOut")->setEnabled(false);
        gridAssignments->setEnabled(false);
        return;
    }
    gridAssignments->setEnabled(true);
    action("mnuClassCloseOut")->setEnabled(true);
    ignore([&] { datAssignments->setRecordSource(assignmentQuery(), {datClasses->recordset().value(QStringLiteral("ID"))}); });
    if (lastError == Err::ObjectVariableNotSet)
        return;
    if (datSemesters->hasCurrentRow() && datClasses->hasCurrentRow()) {
        ignore([&] { rememberSelection(); });
        ignore([&] {
            if (datClasses->recordset().value(QStringLiteral("ClassClosed")).toBool()
                && !SSPanel5->text().endsWith(QStringLiteral("(Closed)")))
                SSPanel5->setText(SSPanel5->text() + QStringLiteral(" (Closed)"));
        });
    }
}

void frmMain::rememberSelection()
{
    if (!datSemesters->hasCurrentRow() || !datClasses->hasCurrentRow())
        return;
    Settings::save(Settings::App, SettingsSection, QStringLiteral("LastSemester"),
                   datSemesters->recordset().value(QStringLiteral("Title")).toString());
    Settings::save(Settings::App, SettingsSection, QStringLiteral("LastClass"),
                   datClasses->recordset().value(QStringLiteral("ClassName")).toString());
}

void frmMain::datAssignments_Reposition()
{
    const QString proc = QStringLiteral("datAssignments_Reposition");
    const bool current = datAssignments->hasCurrentRow();
    if (current) {
        action("mnuAssignmentLinkDocument")->setEnabled(true);
        action("mnuAssignmentDelete")->setEnabled(true);
        action("mnuAssignmentDetails")->setEnabled(true);
        QString path;
        step(proc, false, [&] { path = datAssignments->recordset().value(QStringLiteral("DocumentPath")).toString(); });
        if (!path.isEmpty()) {
            action("mnuAssignmentOpenDocument")->setEnabled(true);
            imgDocumentLink->setVisible(true);
            lblDocumentLink->setVisible(true);
            imgDocumentLink->setToolTip(QStringLiteral("Open linked document (") + path + QStringLiteral(")"));
        } else {
            action("mnuAssignmentOpenDocument")->setEnabled(false);
            imgDocumentLink->setVisible(false);
            lblDocumentLink->setVisible(false);
        }
    } else {
        imgDocumentLink->setVisible(false);
        lblDocumentLink->setVisible(false);
        action("mnuAssignmentLinkDocument")->setEnabled(false);
        action("mnuAssignmentOpenDocument")->setEnabled(false);
        action("mnuAssignmentDelete")->setEnabled(false);
        action("mnuAssignmentDetails")->setEnabled(false);
    }
}

// ---------------------------------------------------------- grade figures

void frmMain::RefreshPoints()
{
    if (NoAssignmentSelected()) {
        lblMaxPoints->setText(QString());
        lblCurrentPoints->setText(QString());
        lblLetterGrade->setText(QString());
        return;
    }
    auto db = Database::open(DatabasePath);
    auto rs = db->openRecordset(datAssignments->recordSource(), Database::Snapshot, datAssignments->recordSourceParams());
    // Totals are carried in 32 bits, so large classes show their true sums.
    qint64 possible = 0;
    qint64 earned = 0;
    auto add = [](qint64 &total, const QVariant &v) {
        if (v.isNull())
            return;
        total += v.toLongLong();
        if (total > std::numeric_limits<qint32>::max() || total < std::numeric_limits<qint32>::min())
            throw RuntimeError(Err::Overflow, QStringLiteral("Overflow"));
    };
    if (rs->isEmpty()) {
        lblMaxPoints->setText(QString());
        lblCurrentPoints->setText(QString());
    } else {
        while (!rs->isEOF()) {
            add(possible, rs->value(QStringLiteral("MaxPointsPossible")));
            add(earned, rs->value(QStringLiteral("ActualPoints")));
            rs->MoveNext();
        }
        lblMaxPoints->setText(QString::number(possible));
        lblCurrentPoints->setText(QString::number(earned));
    }
    if (datClasses->hasCurrentRow()) {
        Recordset &cls = datClasses->recordset();
        const QVariant a = cls.value(QStringLiteral("Points_Grade_A"));
        const QVariant b = cls.value(QStringLiteral("Points_Grade_B"));
        const QVariant c = cls.value(QStringLiteral("Points_Grade_C"));
        const QVariant d = cls.value(QStringLiteral("Points_Grade_D"));
        const QVariant f = cls.value(QStringLiteral("Points_Grade_F"));
        if (const auto letter = Grades::letterFor(earned, a, b, c, d, f))
            lblLetterGrade->setText(*letter);
        if (possible == 0)
            lblLetterGrade->setText(QStringLiteral("(A)"));
    }
    rs->Close();
    db->close();
}

void frmMain::LoadAssignmentTypes()
{
    QStringList types;
    gridAssignments->clearColumnList(1);
    datAssignmentTypes->Refresh();
    if (!datAssignmentTypes->noRows()) {
        Recordset &rs = datAssignmentTypes->recordset();
        rs.MoveFirst();
        while (!rs.isEOF()) {
            types << rs.value(QStringLiteral("AssignmentTypeText")).toString();
            rs.MoveNext();
        }
    } else {
        types = {QStringLiteral("Homework"), QStringLiteral("Quiz"), QStringLiteral("Test"), QStringLiteral("Response Journal"),
                 QStringLiteral("Presentation")};
    }
    gridAssignments->setColumnList(1, types);
}

void frmMain::CalculateGPA(bool showMessage)
{
    // Any failure ends the calculation silently, the label unchanged.
    try {
        auto db = Database::open(DatabasePath);
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Classes"), Database::Snapshot);
        if (rs->isEmpty())
            return;
        double hours = 0;
        double quality = 0;
        while (!rs->isEOF()) {
            if (rs->value(QStringLiteral("ClassClosed")).toBool()) {
                const QVariant credit = rs->value(QStringLiteral("CreditHours"));
                if (credit.isNull())
                    return; // an empty value leaves the totals empty
                hours += credit.toDouble();
                if (const auto points = Grades::gradePoints(rs->value(QStringLiteral("FinalLetterGrade")).toString()))
                    quality += *points * credit.toDouble();
            }
            rs->MoveNext();
        }
        rs->Close();
        db->close();
        if (quality == 0 || hours == 0)
            return;
        const QString text = Grades::gpaText(quality / hours);
        if (showMessage)
            MessageBox::show(QStringLiteral("GPA = ") + text, MessageBox::OkOnly, MessageBox::NoIcon, QString());
        lblGPA->setText(text);
    } catch (const RuntimeError &) {
    }
}

// ------------------------------------------------------------------- grid

void frmMain::gridAssignments_AfterInsert()
{
    const QString proc = QStringLiteral("gridAssignments_AfterInsert");
    // The new row belongs to the current class.
    step(proc, false, [&] {
        Recordset &rs = datAssignments->recordset();
        rs.MoveLast();
        rs.Edit();
        rs.setValue(QStringLiteral("Class_ID"), datClasses->recordset().value(QStringLiteral("ID")));
        rs.Update();
    });
    QString type;
    step(proc, false, [&] { type = datAssignments->recordset().value(QStringLiteral("AssignmentType")).toString(); });
    if (type.trimmed().isEmpty())
        return;
    bool found = false;
    step(proc, false, [&] {
        auto db = Database::open(DatabasePath);
        auto types = db->openRecordset(QStringLiteral("AssignmentTypes"), Database::Snapshot);
        while (!types->isEOF()) {
            if (types->value(QStringLiteral("AssignmentTypeText")).toString() == type)
                found = true;
            types->MoveNext();
        }
        db->close();
    });
    if (found)
        return;
    const auto answer = MessageBox::show(QStringLiteral("I couldn't find the assignment type \n") + type
                                             + QStringLiteral(" in the database.\n\nShall I add it?"),
                                         MessageBox::YesNo, MessageBox::Question, QStringLiteral("New assignment type?"));
    if (answer != MessageBox::Yes)
        return;
    step(proc, false, [&] {
        auto db = Database::open(DatabasePath);
        auto types = db->openRecordset(QStringLiteral("AssignmentTypes"), Database::Dynaset);
        types->AddNew();
        types->setValue(QStringLiteral("AssignmentTypeText"), type);
        types->Update();
        db->close();
    });
    step(proc, false, [&] { LoadAssignmentTypes(); });
}

void frmMain::gridAssignments_AfterUpdate()
{
    quietly([&] { RefreshPoints(); });
}

void frmMain::gridAssignments_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &)
{
    if (button == Qt::RightButton)
        mnuAssignment->popup(QCursor::pos());
}

// ----------------------------------------------------------------- timers

void frmMain::tmrCalculateGPA_Timer() { CalculateGPA(false); }

void frmMain::tmrTimeDate_Timer()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString text = DateText::mmddyyyy(now.date()) + QLatin1Char(' ') + DateText::hhmmAmPm(now.time());
    if (SSPanel3->text() != text)
        SSPanel3->setText(text);
}

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
void frmMain::mnuFileConfigureAssignmentTypes_Click() {}
void frmMain::mnuFileExit_Click() { Unload(); }
void frmMain::mnuSemesterDelete_Click()
{
    if (datSemesters->noRows()) {
        MessageBox::show(QStringLiteral("In order to delete a semester, you have to have one selected!"), MessageBox::OkOnly,
                         MessageBox::Information, QStringLiteral("No semester selected!"));
        return;
    }
    QVariant semesterId;
    QString title;
    if (!quietly([&] {
            semesterId = datSemesters->recordset().value(QStringLiteral("ID"));
            title = datSemesters->recordset().value(QStringLiteral("Title")).toString();
        }))
        return;
    if (MessageBox::show(QStringLiteral("Are you sure you want to delete ") + title
                             + QStringLiteral("?\nAny classes and/or assignments associated with this\nsemester will also be "
                                              "deleted!\n\nConfirm?"),
                         MessageBox::YesNo, MessageBox::Question, QStringLiteral("Confirm semester deletion."))
        != MessageBox::Yes)
        return;
    // The semester, its classes and their work go together or not at all.
    if (!deleteTogether(QStringLiteral("semester"),
                        {{QStringLiteral("DELETE FROM Assignments WHERE Class_ID IN (SELECT ID FROM Classes WHERE Semester_ID = ?)"), {semesterId}},
                         {QStringLiteral("DELETE FROM Classes WHERE Semester_ID = ?"), {semesterId}},
                         {QStringLiteral("DELETE FROM Semesters WHERE ID = ?"), {semesterId}}}))
        return;
    afterDeletion();
}
void frmMain::mnuClassAddNew_Click() { SSCommand2_Click(); }
void frmMain::mnuClassEdit_Click()
{
    if (datClasses->noRows())
        return;
    frmEditClass *editor = frmEditClass::instance();
    editor->datClasses->setDatabaseName(DatabasePath);
    editor->Show();
}
void frmMain::mnuClassDelete_Click()
{
    QVariant classId;
    if (!quietly([&] { classId = datClasses->recordset().value(QStringLiteral("ID")); }))
        return;
    bool hadWork = false;
    quietly([&] {
        datAssignments->recordset().MoveFirst();
        hadWork = datAssignments->hasCurrentRow();
    });
    if (hadWork
        && MessageBox::show(QStringLiteral("There are assignments associated with this class!\nDeleting the class with remove them "
                                           "as well.\n\nDo you want to proceed?"),
                            MessageBox::YesNo, MessageBox::Question, QStringLiteral("Classes Present!"))
               != MessageBox::Yes)
        return;
    // The class and its work go together or not at all.
    if (!deleteTogether(QStringLiteral("class"), {{QStringLiteral("DELETE FROM Assignments WHERE Class_ID = ?"), {classId}},
                                                  {QStringLiteral("DELETE FROM Classes WHERE ID = ?"), {classId}}}))
        return;
    afterDeletion();
    if (hadWork)
        gridAssignments->setEnabled(false);
}

bool frmMain::deleteTogether(const QString &what, const QList<QPair<QString, QVariantList>> &statements)
{
    try {
        auto db = Database::open(DatabasePath);
        db->executeTogether(statements);
        db->close();
        return true;
    } catch (const RuntimeError &e) {
        MessageBox::show(QStringLiteral("The %1 could not be deleted; nothing was changed.\n\n").arg(what) + e.description(),
                         MessageBox::OkOnly, MessageBox::Exclamation, QString());
        return false;
    }
}

void frmMain::afterDeletion()
{
    // The selection is read again, so that nothing deleted stays current.
    quietly([&] { datSemesters->Refresh(); });
    quietly([&] { datClasses->Refresh(); });
    quietly([&] { datAssignments->Refresh(); });
    quietly([&] { RefreshPoints(); });
    step(QStringLiteral("(General)_RefreshTree"), false, [&] { RefreshTree(); });
}

void frmMain::mnuClassCloseOut_Click()
{
    if (!datClasses->hasCurrentRow()) {
        MessageBox::show(QStringLiteral("You cannot close out a class unless a class is selected."), MessageBox::OkOnly,
                         MessageBox::Information, QStringLiteral("No class!"));
        return;
    }
    frmConfirmGrade *w = frmConfirmGrade::instance();
    w->Show();
    w->propose(lblLetterGrade->text().mid(1, 1));
}
void frmMain::mnuClassExport_Click() {}
void frmMain::mnuClassImport_Click() {}
void frmMain::mnuClassStatus_Click() { lblLetterGrade_Click(); }
void frmMain::mnuAssignmentAddNew_Click() { SSCommand3_Click(); }
void frmMain::mnuAssignmentDelete_Click()
{
    if (NoAssignmentSelected()) {
        MessageBox::show(QStringLiteral("There was no assignment to delete!  Select one with your \nleft mouse button first, "
                                        "then delete."),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("No assignment!"));
        return;
    }
    if (quietly([&] { datAssignments->recordset().Delete(); }))
        quietly([&] { RefreshPoints(); }); // the totals no longer count it
}
void frmMain::mnuAssignmentLinkDocument_Click() {}
void frmMain::mnuAssignmentOpenDocument_Click() {}
void frmMain::mnuAssignmentDetails_Click() {}
void frmMain::mnuReportsAllAssignments_Click() {}
void frmMain::mnuReportsUngradedAssignments_Click() {}
void frmMain::mnuQuizzerQuizBuilder_Click() {}
void frmMain::mnuQuizzerTakeAQuiz_Click() {}
void frmMain::mnuContacts_Click() {}

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
        const QString who = number == 1 ? QStringLiteral("the Add-In") : desc;
        MessageBox::show(QStringLiteral("Tarvela couldn't launch %1!\n\nThe command line wasn't specified by the AddIn.").arg(who),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("No command line"));
        return;
    }
    // The program named first is taken from the program's folder; the
    // arguments that follow pass along.
    QStringList parts = Shell::splitCommandLine(command);
    if (parts.isEmpty())
        return;
    const QString folder = Platform::programFolder();
    parts[0] = QDir(folder).filePath(parts[0]);
    QStringList quoted;
    for (const QString &p : parts)
        quoted << (p.contains(QLatin1Char(' ')) || p.contains(QLatin1Char('"')) ? QLatin1Char('"') + QString(p).replace(QLatin1Char('"'), QStringLiteral("\\\"")) + QLatin1Char('"') : p);
    if (!Shell::start(quoted.join(QLatin1Char(' ')), folder))
        MessageBox::show(QStringLiteral("Tarvela couldn't launch %1!\n\nThe program %2 could not be started.").arg(desc, parts[0]),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("Add-In not started"));
}

void frmMain::mnuHelpTarvelaHelp_Click() { Shell::open(QDir(Platform::programFolder()).filePath(QStringLiteral("tarveladesk.chm"))); }

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
void frmMain::SSCommand2_Click()
{
    // A wizard already open goes on with the class it is making.
    if (frmClassWizzy *open = frmClassWizzy::existing()) {
        open->Show();
        return;
    }
    frmClassWizzy *wizard = frmClassWizzy::instance();
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
        MessageBox::show(e.description(), MessageBox::OkOnly, MessageBox::Critical, QString());
        wizard->Unload();
    }
}
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
void frmMain::SSCommand4_Click() {}
void frmMain::SSCommand5_Click() { mnuQuizzer->popup(QCursor::pos()); }
void frmMain::SSCommand6_Click() {}
void frmMain::cmdClassStats_Click() { lblLetterGrade_Click(); }

void frmMain::lblLetterGrade_Click()
{
    frmClassStatus *w = frmClassStatus::instance();
    w->Show();
    QVariant thresholds[4];
    const char *fields[] = {"Points_Grade_A", "Points_Grade_B", "Points_Grade_C", "Points_Grade_D"};
    for (int i = 0; i < 4; ++i)
        quietly([&] { thresholds[i] = datClasses->recordset().value(QString::fromLatin1(fields[i])); });
    w->fill(thresholds, lblCurrentPoints->text());
}
void frmMain::imgDocumentLink_Click() { mnuAssignmentOpenDocument_Click(); }
void frmMain::lblDocumentLink_Click() { mnuAssignmentOpenDocument_Click(); }
