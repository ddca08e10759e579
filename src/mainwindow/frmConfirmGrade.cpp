#include "frmConfirmGrade.h"

#include "frmMain.h"
#include "platform/Artwork.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Trap.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmConfirmGrade::frmConfirmGrade()
{
    setObjectName(QStringLiteral("frmConfirmGrade"));
    setWindowTitle(QStringLiteral("Letter Grade Confirmation - Closing Class"));
    auto label = [this](const char *name, const QString &text) { return wrappedLabel(this, name, text); };
    auto *panel = new Panel(this);
    panel->setObjectName(QStringLiteral("SSPanel1"));
    auto *top = new QHBoxLayout(panel);
    auto *picture = new QLabel(panel);
    picture->setPixmap(Artwork::picture(QStringLiteral("grade"), 40));
    top->addWidget(picture, 0, Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    texts->addWidget(label("Label1", QStringLiteral("In order to close out this class, Tarvela needs to confirm your letter grade.  "
                                                    "Some schools do not use the +/- system of grades, while some do.")));
    texts->addWidget(label("Label2", QStringLiteral("Below are two areas.  The first contains the letter grade that has been "
                                                    "calculated by Tarvela (no +'s or -'s).  If your school uses these, or if your "
                                                    "grade was modified by the teacher for something other than graded assignments, "
                                                    "please select or enter the full grade (with the modifier) in the second box, "
                                                    "then click Done."))); // "&" marks the button's access key, not shown in a label
    top->addLayout(texts, 1);
    txtTarvelaLetterGrade = new QLineEdit(this);
    txtTarvelaLetterGrade->setObjectName(QStringLiteral("txtTarvelaLetterGrade"));
    txtTarvelaLetterGrade->setReadOnly(true);
    cmbActualLetterGrade = new QComboBox(this);
    cmbActualLetterGrade->setObjectName(QStringLiteral("cmbActualLetterGrade"));
    cmbActualLetterGrade->setEditable(true);
    cmbActualLetterGrade->setInsertPolicy(QComboBox::NoInsert);
    // The list offers the grades; what is typed is never completed from it
    // ("B" must not become "B+").
    cmbActualLetterGrade->setCompleter(nullptr);
    cmbActualLetterGrade->addItems({QStringLiteral("A+"), QStringLiteral("A"), QStringLiteral("A-"), QStringLiteral("B+"),
                                    QStringLiteral("B"), QStringLiteral("B-"), QStringLiteral("C+"), QStringLiteral("C"),
                                    QStringLiteral("C-"), QStringLiteral("D+"), QStringLiteral("D"), QStringLiteral("D-"),
                                    QStringLiteral("F")});
    cmdDone = new QPushButton(QStringLiteral("&Done"), this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    auto *grid = new QGridLayout;
    grid->addWidget(label("Label3", QStringLiteral("Tarvela calculated letter grade:")), 0, 0);
    grid->addWidget(txtTarvelaLetterGrade, 0, 1);
    grid->addWidget(label("Label4", QStringLiteral("Actual letter grade w/modifiers:")), 1, 0);
    grid->addWidget(cmbActualLetterGrade, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(grid);
    layout->addWidget(cmdDone, 0, Qt::AlignRight);
    resize(460, 300);
    connect(cmdDone, &QPushButton::clicked, this, &frmConfirmGrade::cmdDone_Click);
}

void frmConfirmGrade::propose(const QString &letter)
{
    txtTarvelaLetterGrade->setText(letter);
    cmbActualLetterGrade->setEditText(letter);
}

void frmConfirmGrade::cmdDone_Click()
{
    const QString letter = cmbActualLetterGrade->currentText().trimmed();
    if (letter.isEmpty()) {
        MessageBox::show(QStringLiteral("I can't close out the class without letter grade confirmation.\n"
                                        "Please type or select your letter grade."),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("No letter grade!"));
        return;
    }
    if (MessageBox::show(QStringLiteral("Are you sure you're ready to close out this class?"), MessageBox::YesNo,
                         MessageBox::Question, QStringLiteral("Close class?"))
        != MessageBox::Yes) {
        Unload();
        return;
    }
    frmMain *m = frmMain::existing();
    try {
        if (!m || !m->datClasses->hasCurrentRow())
            throw RuntimeError(Err::NoCurrentRecord, QStringLiteral("No class is selected in the main window."));
        Recordset &rs = m->datClasses->recordset();
        rs.Edit();
        rs.setValue(QStringLiteral("FinalLetterGrade"), letter.toUpper());
        rs.setValue(QStringLiteral("ClassClosed"), true);
        rs.Update();
    } catch (const RuntimeError &e) {
        if (m && m->datClasses->isOpen())
            m->datClasses->recordset().CancelUpdate();
        // The window stays so that the grade can be corrected.
        Trap::tell(e, MessageBox::Exclamation, QStringLiteral("The class could not be closed out.\n"));
        return;
    }
    Unload();
}
