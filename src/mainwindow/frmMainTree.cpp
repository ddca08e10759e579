#include "frmMain.h"
#include "frmMainSteps.h"

#include "platform/Artwork.h"
#include "platform/ClassColours.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "setup/frmAddSemesterWizard.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/Database.h"
#include "store/KeptRows.h"
#include "store/Recordset.h"
#include "store/modTransport.h"

#include <QAction>
#include <QScopeGuard>
#include <QTreeWidget>

using namespace frmMainSteps;

// ------------------------------------------------------------------- tree

QTreeWidgetItem *frmMain::addTreeNode(QTreeWidgetItem *parent, const QString &key, const QString &text, int image)
{
    if (m_nodes.contains(key))
        throw RuntimeError(35602, QStringLiteral("Key is not unique in collection"));
    // A semester node is made apart from the tree; the caller puts it in.
    auto *node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem;
    node->setText(0, text);
    node->setData(0, KeyRole, key);
    node->setData(0, ImageRole, image);
    node->setIcon(0, Artwork::treeIcon(image));
    m_nodes.insert(key, node);
    return node;
}

void frmMain::putTreeNodes(const QList<QTreeWidgetItem *> &made)
{
    putRebuiltNodes(SSTree2, made, {KeyRole, ImageRole});
    m_nodes.clear();
    for (int i = 0; i < SSTree2->topLevelItemCount(); ++i) {
        QTreeWidgetItem *semester = SSTree2->topLevelItem(i);
        m_nodes.insert(semester->data(0, KeyRole).toString(), semester);
        for (int c = 0; c < semester->childCount(); ++c)
            m_nodes.insert(semester->child(c)->data(0, KeyRole).toString(), semester->child(c));
        if (semester->childCount() > 0)
            semester->setExpanded(true);
    }
}

void frmMain::RefreshTree()
{
    const QString proc = QStringLiteral("(General)_RefreshTree");
    m_nodes.clear();
    // The rows are kept between rebuilds and read again only when the file
    // was written since: most returns to the window find them unchanged.
    Recordset *semesters = nullptr;
    step(proc, false, [&] { semesters = &m_treeSemesters->read(DatabasePath, QStringLiteral("SELECT * FROM Semesters")); });
    if (!semesters)
        return;
    if (semesters->isEmpty()) {
        SSTree2->clear();
        MessageBox::show(QStringLiteral("You need to configure at least one semester to use Tarvela.\n"
                                        "Click on the OK button to set up your first semester."),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("No semesters."));
        step(proc, false, [&] { frmAddSemesterWizard::instance()->showIntroduction(); });
    }
    // Every class is read at once, when the first semester with a title
    // needs its classes; each semester then takes its own, in table order.
    // A read that fails is told, and tried again for the next semester.
    Recordset *classes = nullptr;
    QHash<qint64, QVector<int>> classRows; // Semester_ID -> rows of `classes`
    auto classesOf = [&](const QVariant &semesterId) {
        if (!classes) {
            Recordset &all = m_treeClasses->read(DatabasePath, QStringLiteral("SELECT * From Classes"));
            const int column = all.fieldIndex(QStringLiteral("Semester_ID"));
            for (int row = 0; row < all.RecordCount(); ++row) {
                const QVariant id = all.valueAt(row, column);
                if (id.typeId() == QMetaType::LongLong)
                    classRows[id.toLongLong()].push_back(row);
            }
            classes = &all;
        }
        return semesterId.typeId() == QMetaType::LongLong ? classRows.value(semesterId.toLongLong()) : QVector<int>();
    };
    const Settings::SectionValues colours = Settings::section(Settings::App, QStringLiteral("ClassFolders"));
    // The nodes are made apart from the tree and put into it together, each
    // semester with its classes expanded, also when the rebuild ends early.
    QList<QTreeWidgetItem *> made;
    const auto putIn = qScopeGuard([&] { putTreeNodes(made); });
    while (!semesters->isEOF()) {
        const QString title = semesters->value(QStringLiteral("Title")).toString();
        if (!title.isEmpty()) {
            step(proc, false, [&] { made << addTreeNode(nullptr, QStringLiteral("S") + title, title, 2); });
            QVector<int> rows;
            step(proc, false, [&] { rows = classesOf(semesters->value(QStringLiteral("ID"))); });
            for (const int row : std::as_const(rows)) {
                const QString name = classes->valueAt(row, QStringLiteral("ClassName")).toString();
                // A class without a name (one being made by the class wizard) has no node.
                if (!name.isEmpty()) {
                    step(proc, false, [&] {
                        const int image = ClassColours::treeImage(colours.value(name));
                        QTreeWidgetItem *parent = m_nodes.value(QStringLiteral("S") + title);
                        if (!parent)
                            throw RuntimeError(35601, QStringLiteral("Element not found"));
                        addTreeNode(parent, QStringLiteral("C") + name, name, image);
                    });
                }
            }
        }
        semesters->MoveNext();
    }
}

bool frmMain::NoSemesterSelected() const { return datSemesters->noRows(); }
bool frmMain::NoClassSelected() const { return datClasses->noRows(); }
bool frmMain::NoAssignmentSelected() const { return datAssignments->noRows(); }

void frmMain::SSTree2_NodeClick(QTreeWidgetItem *node)
{
    if (!node)
        return;
    // What is being typed into the grid (a cell still being edited, a new
    // row) belongs to the class shown: it is stored before the selection
    // moves; what cannot be stored (the user was told) keeps the selection
    // where it is.
    if (!gridAssignments->commitEdits())
        return;
    // The selection passes over other rows on its way: the settings file
    // is written once, with where it ends.
    Settings::Batch remember;
    const QString proc = QStringLiteral("SSTree2_NodeClick");
    const QString key = node->data(0, KeyRole).toString();
    const QString text = node->text(0);
    if (key.startsWith(QLatin1Char('S'))) {
        step(proc, true, [&] {
            datSemesters->setRecordSource(QStringLiteral("SELECT * FROM SEMESTERS"));
            datSemesters->Refresh();
        });
        step(proc, true, [&] {
            datSemesters->setRecordSource(QStringLiteral("SELECT * From Semesters WHERE SAMETEXT(Title, ?)"), {text});
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
    // With no semester left (the last one deleted) the panel names none.
    if (datSemesters->hasCurrentRow())
        SSPanel4->setText(QStringLiteral("Semester : ") + datSemesters->recordset().value(QStringLiteral("Title")).toString());
    else if (datSemesters->noRows())
        SSPanel4->setText(QString());
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
        // No class left to name (a semester without classes, the last one deleted).
        SSPanel5->setText(QString());
        gridAssignments->setCaption(QString());
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
