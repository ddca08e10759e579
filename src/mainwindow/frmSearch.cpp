#include "frmSearch.h"

#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "platform/Trap.h"
#include "store/CurrentSelection.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"
#include "store/modTransport.h"
#include "platform/CellText.h"
#include "platform/Controls.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// A magnifying glass over a page.
QPixmap searchPicture(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.drawRect(QRectF(s * 0.1, s * 0.08, s * 0.55, s * 0.72));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(s * 0.18, s * (0.22 + i * 0.12)), QPointF(s * 0.55, s * (0.22 + i * 0.12)));
    p.setPen(QPen(QColor(0x8B, 0x5A, 0x2B), s * 0.09, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.68, s * 0.68), QPointF(s * 0.9, s * 0.9));
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), s * 0.06));
    p.setBrush(QColor(0xA8, 0xD8, 0xF4, 0xB0));
    p.drawEllipse(QPointF(s * 0.55, s * 0.55), s * 0.2, s * 0.2);
    p.end();
    return pm;
}

void showError(const RuntimeError &e) { Trap::tell(e); }

} // namespace

frmSearch::frmSearch()
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Tarvela Assignment Search"));
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(searchPicture(48));
    auto *label = new QLabel(QStringLiteral("Enter some text to find in the assignment titles and comments:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    cmdFind = new QPushButton(QStringLiteral("&Find"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    lstResults = new QListWidget(this);
    lstResults->setObjectName(QStringLiteral("lstResults"));
    lstResults->setSortingEnabled(false);
    // Every entry is one line: the list need not measure thousands of them.
    lstResults->setUniformItemSizes(true);
    keepCellsOnActivation(lstResults);
    lstResults->setItemDelegate(new CellTextDelegate(lstResults));
    lblResults = new QLabel(this);
    lblResults->setObjectName(QStringLiteral("lblResults"));
    cmdDone = new QPushButton(QStringLiteral("&Done"), this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    // Enter on a focused button presses that button; anywhere else it
    // presses Find.
    setDefaultButton(cmdFind);

    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    auto *entry = new QVBoxLayout;
    entry->addWidget(label);
    auto *line = new QHBoxLayout;
    line->addWidget(txtSearch, 1);
    line->addWidget(cmdFind);
    entry->addLayout(line);
    top->addLayout(entry, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblResults, 1);
    bottom->addWidget(cmdDone);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lstResults, 1);
    layout->addLayout(bottom);
    resize(460, 360);
    setTabOrder(txtSearch, cmdFind);
    setTabOrder(cmdFind, lstResults);
    setTabOrder(lstResults, cmdDone);

    connect(cmdFind, &QPushButton::clicked, this, &frmSearch::cmdFind_Click);
    connect(cmdDone, &QPushButton::clicked, this, &frmSearch::cmdDone_Click);
    // Only a double click on an entry counts, not one on the empty part.
    connect(lstResults, &QListWidget::itemDoubleClicked, this, &frmSearch::lstResults_DblClick);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, cmdDone, &QPushButton::click);
}


void frmSearch::cmdFind_Click()
{
    lstResults->clear();
    m_hits.clear();
    lblResults->clear();
    const QString text = txtSearch->text();
    if (text.isEmpty())
        return;
    try {
        m_hits = AssignmentSearch::find(DatabasePath, text);
    } catch (const RuntimeError &e) {
        showError(e);
        return;
    }
    QStringList entries;
    entries.reserve(m_hits.size());
    for (const AssignmentSearch::Hit &hit : std::as_const(m_hits))
        entries << hit.entry();
    lstResults->addItems(entries);
    lblResults->setText(AssignmentSearch::countText(m_hits.size()));
}

void frmSearch::lstResults_DblClick()
{
    const int index = lstResults->currentRow();
    if (index < 0 || index >= m_hits.size() || lstResults->item(index)->text().isEmpty())
        return;
    jumpTo(m_hits.at(index));
    Unload();
}

void frmSearch::jumpTo(const AssignmentSearch::Hit &hit)
{
    CurrentSelection *selection = CurrentSelection::get();
    if (!selection)
        return;
    DataSource *semesters = selection->datSemesters();
    DataSource *classes = selection->datClasses();
    try {
        // A click in the tree narrows the sources to one semester or to its
        // classes; the look-ups search all of them, as after start-up. Re-reading
        // moves the remembered selection, so it is written after.
        semesters->setRecordSource(QStringLiteral("Semesters"));
        semesters->Refresh();
        classes->setRecordSource(QStringLiteral("Classes"));
        classes->Refresh();
        Settings::save(Settings::App, QStringLiteral("Settings"),
                       {{QStringLiteral("LastSemester"), hit.semesterTitle}, {QStringLiteral("LastClass"), hit.className}});
        // The same look-ups as the main window's activation, which then shows
        // the class's assignments.
        if (semesters->hasCurrentRow())
            semesters->recordset().FindFirst(QStringLiteral("Title"), hit.semesterTitle);
        if (classes->hasCurrentRow() && classes->recordset().FindFirst(QStringLiteral("ClassName"), hit.className))
            selection->setAssignmentsCaption(classes->recordset().value(QStringLiteral("ClassName")).toString());
    } catch (const RuntimeError &e) {
        showError(e);
    }
}

void frmSearch::cmdDone_Click() { Unload(); }

void frmSearch::Form_Unload(bool &)
{
    try {
        if (CurrentSelection *selection = CurrentSelection::get())
            selection->showMainWindow();
    } catch (const RuntimeError &) {
        // The main window is closing: there is nothing to bring back.
    }
}
