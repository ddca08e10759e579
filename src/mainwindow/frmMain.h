#pragma once
// The main window: start-up and shut-down, the semester/class tree, the
// assignment grid of the current class with its points totals and letter
// grade, the GPA, the menus, the toolbar and the clock.
#include "platform/Form.h"

#include <QHash>
#include <functional>
#include <memory>

class ClickLabel;
class CurrentSelection;
class DataGrid;
class DataSource;
class KeptRows;
class Panel;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QSplitter;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class RuntimeError;
class clsTarvelaDB;
namespace frmMainSteps {
class OncePerCause;
}

class frmMain : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmMain)
public:
    frmMain();
    ~frmMain() override;

    // The program-wide current selection (semester, class, its assignments).
    DataSource *datSemesters;
    DataSource *datClasses;
    DataSource *datAssignments;
    DataSource *datAssignmentTypes;

    // Rebuilds the semester/class tree from the database.
    void RefreshTree();

    // Whether the semester, class or assignment source has no rows.
    bool NoSemesterSelected() const;
    bool NoClassSelected() const;
    bool NoAssignmentSelected() const;

    // Recomputes the points totals and the letter grade of the current class.
    void RefreshPoints();
    // Names the class whose assignments the grid shows (its caption).
    void setAssignmentsCaption(const QString &className);
    // Refills the drop-down list of the grid's Type column.
    void LoadAssignmentTypes();
    // Recomputes the GPA; with showMessage the result is also told in a box.
    void CalculateGPA(bool showMessage);

    // How long the splash window stays up (tests shorten it).
    static int splashMilliseconds;
    // The maker's web host, before the page paths.
    static QString webHost();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool &cancel) override;
    void Form_Unload(bool &cancel) override;
    void Form_Resize() override;

public Q_SLOTS:
    // Menu and toolbar commands (handlers keep the names of their controls).
    void mnuFileTodaysEvents_Click();
    void mnuFileCalculateGPA_Click();
    void mnuFileConfigureAssignmentTypes_Click();
    void mnuFileExit_Click();
    void mnuSemesterDelete_Click();
    void mnuClassAddNew_Click();
    void mnuClassEdit_Click();
    void mnuClassDelete_Click();
    void mnuClassCloseOut_Click();
    void mnuClassExport_Click();
    void mnuClassImport_Click();
    void mnuClassStatus_Click();
    void mnuAssignmentAddNew_Click();
    void mnuAssignmentDelete_Click();
    void mnuAssignmentLinkDocument_Click();
    void mnuAssignmentOpenDocument_Click();
    void mnuAssignmentDetails_Click();
    void mnuReportsAllAssignments_Click();
    void mnuReportsUngradedAssignments_Click();
    void mnuQuizzerQuizBuilder_Click();
    void mnuQuizzerTakeAQuiz_Click();
    void mnuContacts_Click();
    void mnuAddInDesc_Click(int number);
    void mnuHelpTarvelaHelp_Click();
    void mnuHelpWebSite_Click();
    void mnuHelpSubmitAComment_Click();
    void mnuHelpTipOfTheDay_Click();
    void mnuHelpAbout_Click();
    void mnuClassSetColor_Click(const QString &colour);

    void SSCommand1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void SSCommand4_Click();
    void SSCommand5_Click();
    void SSCommand6_Click();
    void cmdClassStats_Click();
    void lblLetterGrade_Click();
    void imgDocumentLink_Click();
    void lblDocumentLink_Click();

    void SSTree2_NodeClick(QTreeWidgetItem *node);

private Q_SLOTS:
    void datSemesters_Reposition();
    void datClasses_Reposition();
    void datAssignments_Reposition();
    void gridAssignments_AfterInsert();
    void gridAssignments_AfterUpdate();
    void gridAssignments_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos);
    void tmrCalculateGPA_Timer();
    void tmrTimeDate_Timer();
    void tmrCheckCalendar_Timer();

private:
    void buildMenus(QMenuBar *bar);
    QAction *item(QMenu *menu, const QString &name, const QString &caption);
    void separator(QMenu *menu, const char *name);
    void layoutPass();
    QTreeWidgetItem *addTreeNode(QTreeWidgetItem *parent, const QString &key, const QString &text, int image);
    // Takes the program folder's lock; false (the user told, the program
    // ended) when another copy or something in the way keeps it.
    bool takeFolder(const QString &folder);
    bool openDatabaseAtStart(bool existed);
    // Offers to mend a file whose damage lies in its indexes only; true
    // when it was mended (the user told). `failure` tells why a mend the
    // user asked for could not be made.
    bool offerIndexRepair(const QString &damage, QString *failure);
    void rememberSelection();
    void afterDeletion();
    bool deleteTogether(const QString &what, const std::function<void()> &deletion);

    // What the other folders see of the main window (the current selection).
    std::unique_ptr<CurrentSelection> m_selection;

    bool m_layoutReady = false;
    clsTarvelaDB *cTarveladb = nullptr;
    // The activation's reports, each told once while its cause stands.
    std::unique_ptr<frmMainSteps::OncePerCause> m_activationReports;

    QTreeWidget *SSTree2; // semesters and their classes
    QHash<QString, QTreeWidgetItem *> m_nodes;
    // Puts a rebuild's nodes into the tree.
    void putTreeNodes(const QList<QTreeWidgetItem *> &made);
    // The rows the tree is built from, kept while the file is unchanged.
    std::unique_ptr<KeptRows> m_treeSemesters;
    std::unique_ptr<KeptRows> m_treeClasses;
    DataGrid *gridAssignments;
    QSplitter *SSSplitter1; // the tree beside the grid
    QSplitter *m_rightPanes;
    Panel *SSPanel2; // the points band below the grid
    QLabel *Label1; // "Maximum Points Possible:"
    QLabel *Label2; // "Current Points:"
    QLabel *lblMaxPoints;
    QLabel *lblCurrentPoints;
    ClickLabel *lblLetterGrade;
    Panel *SSPanel3; // status bar: the date and time
    Panel *SSPanel4; // status bar: "Semester : " and its title
    Panel *SSPanel5; // status bar: "Class : " and its name
    QLabel *lblGPA;
    ClickLabel *imgDocumentLink;
    ClickLabel *lblDocumentLink;
    QFrame *Line1; // the rule between the menu bar and the tool bar
    QToolButton *SSCommand1; // "New Semester"
    QToolButton *SSCommand2; // "Add a Class"
    QToolButton *SSCommand3; // "New Work" (a new assignment)
    QToolButton *SSCommand4; // "Search"
    QToolButton *SSCommand5; // "Quizzer" (its menu)
    QToolButton *SSCommand6; // "Calendar"
    QToolButton *cmdClassStats;
    QTimer *tmrCalculateGPA;
    QTimer *tmrTimeDate;
    QTimer *tmrCheckCalendar;

    QMenu *mnuAssignment = nullptr;
    QMenu *mnuQuizzer = nullptr;
    QMenu *mnuAddIns = nullptr;
    QHash<QString, QAction *> m_actions;
    QAction *action(const char *name) const;
};
