#include "frmMain.h"
#include "frmMainSteps.h"

#include "AddIns.h"

#include "platform/Artwork.h"
#include "platform/ClassColours.h"
#include "platform/CellText.h"
#include "platform/Controls.h"
#include "platform/Platform.h"
#include "platform/Trap.h"
#include "store/CurrentSelection.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/KeptRows.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QMetaProperty>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The current selection as the other folders reach it.
class MainSelection : public CurrentSelection
{
public:
    explicit MainSelection(frmMain *main) : m(main) {}
    DataSource *datSemesters() override { return m->datSemesters; }
    DataSource *datClasses() override { return m->datClasses; }
    DataSource *datAssignments() override { return m->datAssignments; }
    void RefreshTree() override { m->RefreshTree(); }
    void setAssignmentsCaption(const QString &className) override { m->setAssignmentsCaption(className); }
    void showMainWindow() override { m->Show(); }
    void hideMainWindow() override { m->hide(); }
    QWidget *mainWindow() override { return m; }

private:
    frmMain *m;
};

} // namespace
int frmMain::splashMilliseconds = 1500;

QString frmMain::webHost() { return QStringLiteral("https://tarvela-desk.example.org"); }

frmMain::frmMain()
    : m_activationReports(std::make_unique<frmMainSteps::OncePerCause>()), m_treeSemesters(std::make_unique<KeptRows>()),
      m_treeClasses(std::make_unique<KeptRows>())
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
    m_selection = std::make_unique<MainSelection>(this);
    CurrentSelection::set(m_selection.get());
    Form::setMainWindow(this);

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
    lblGPA->setMinimumWidth(Twips::toPixels(1050));
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
    keepCellsOnActivation(SSTree2);
    SSTree2->setItemDelegate(new CellTextDelegate(SSTree2));
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

    // All six columns fit the window: each column but the title is as wide
    // as its caption and values need, and the title takes what they leave.
    {
        QHeaderView *header = gridAssignments->view()->horizontalHeader();
        const QFontMetrics fm(gridAssignments->view()->font());
        const QString widest[] = {QString(), QStringLiteral("Take-Home Test"), QStringLiteral("12/31/2026"),
                                  QStringLiteral("99999"), QStringLiteral("99999"), QString()};
        for (int c = 1; c < 6; ++c)
            gridAssignments->setColumnWidth(c, qMax(header->sectionSizeHint(c) + 8, fm.horizontalAdvance(widest[c]) + 16));
        gridAssignments->setStretchColumn(0);
    }
    // A row or a cell typed into the grid belongs to the class it was typed
    // under: it is stored before the class source moves on or closes.
    datClasses->addSaver(gridAssignments, [this] { gridAssignments->commitEdits(); });

    SSPanel2 = new Panel(this);
    SSPanel2->setObjectName(QStringLiteral("SSPanel2"));
    SSPanel2->setMinimumHeight(Twips::toPixels(299) + 8);
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
    // A long semester title shows what fits and leaves the rest of the bar to
    // the class panel.
    SSPanel4->setMaximumWidth(350);
    SSPanel5 = new Panel(this);
    SSPanel5->setObjectName(QStringLiteral("SSPanel5"));
    // The class's name can be long: the panel shows what fits and never
    // widens the window.
    SSPanel5->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
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
    // Every handler runs guarded: what it does not trap itself is told, and
    // nothing unwinds through the event dispatch.
    using Trap::slot;
    connect(tmrCalculateGPA, &QTimer::timeout, this, slot(this, &frmMain::tmrCalculateGPA_Timer));
    connect(tmrTimeDate, &QTimer::timeout, this, slot(this, &frmMain::tmrTimeDate_Timer));
    connect(tmrCheckCalendar, &QTimer::timeout, this, slot(this, &frmMain::tmrCheckCalendar_Timer));
    tmrCalculateGPA->start();
    tmrTimeDate->start();

    connect(SSCommand1, &QToolButton::clicked, this, slot(this, &frmMain::SSCommand1_Click));
    connect(SSCommand2, &QToolButton::clicked, this, slot(this, &frmMain::SSCommand2_Click));
    connect(SSCommand3, &QToolButton::clicked, this, slot(this, &frmMain::SSCommand3_Click));
    connect(SSCommand4, &QToolButton::clicked, this, slot(this, &frmMain::SSCommand4_Click));
    connect(SSCommand5, &QToolButton::clicked, this, slot(this, &frmMain::SSCommand5_Click));
    connect(SSCommand6, &QToolButton::clicked, this, slot(this, &frmMain::SSCommand6_Click));
    connect(cmdClassStats, &QToolButton::clicked, this, slot(this, &frmMain::cmdClassStats_Click));
    connect(lblLetterGrade, &ClickLabel::clicked, this, slot(this, &frmMain::lblLetterGrade_Click));
    connect(imgDocumentLink, &ClickLabel::clicked, this, slot(this, &frmMain::imgDocumentLink_Click));
    connect(lblDocumentLink, &ClickLabel::clicked, this, slot(this, &frmMain::lblDocumentLink_Click));
    connect(SSTree2, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *node, int) { Trap::guarded([&] { SSTree2_NodeClick(node); }); });
    connect(datSemesters, &DataSource::Reposition, this, slot(this, &frmMain::datSemesters_Reposition));
    connect(datClasses, &DataSource::Reposition, this, slot(this, &frmMain::datClasses_Reposition));
    connect(datAssignments, &DataSource::Reposition, this, slot(this, &frmMain::datAssignments_Reposition));
    connect(gridAssignments, &DataGrid::AfterInsert, this, slot(this, &frmMain::gridAssignments_AfterInsert));
    connect(gridAssignments, &DataGrid::AfterUpdate, this, slot(this, &frmMain::gridAssignments_AfterUpdate));
    connect(gridAssignments, &DataGrid::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos) {
                Trap::guarded([&] { gridAssignments_MouseDown(button, shift, pos); });
            });
}

frmMain::~frmMain() { CurrentSelection::clear(m_selection.get()); }

QAction *frmMain::item(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    m_actions.insert(name, a);
    return a;
}

void frmMain::separator(QMenu *menu, const char *name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    m_actions.insert(QString::fromLatin1(name), a);
}

void frmMain::setAssignmentsCaption(const QString &className) { gridAssignments->setCaption(className); }

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
    auto on = [this](QAction *a, void (frmMain::*handler)()) { connect(a, &QAction::triggered, this, Trap::slot(this, handler)); };

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
    for (const ClassColours::Colour &c : ClassColours::all()) {
        const QString value = c.name;
        connect(item(colours, ClassColours::menuItemName(c), value), &QAction::triggered, this,
                [this, value] { Trap::guarded([&] { mnuClassSetColor_Click(value); }); });
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
    for (int n = 1; n <= AddIns::Count; ++n) {
        QAction *a = item(mnuAddIns, QStringLiteral("mnuAddIn%1Desc").arg(n), QString());
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, n] { Trap::guarded([&] { mnuAddInDesc_Click(n); }); });
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
