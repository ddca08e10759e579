#include "frmAbout.h"

#include "platform/Artwork.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Tarvela"));
    auto *picture = new QLabel(this);
    picture->setPixmap(Artwork::picture(QStringLiteral("about"), 64));
    auto *name = new QLabel(QStringLiteral("Tarvela"), this);
    name->setObjectName(QStringLiteral("lblTitle"));
    QFont f = name->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    name->setFont(f);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto *thanks = new QLabel(QStringLiteral("A student's planner and grade book.\n"
                                             "Built with Qt and SQLite. Thanks to every student who tried it first."),
                              this);
    thanks->setObjectName(QStringLiteral("lblAcknowledgements"));
    thanks->setWordWrap(true);
    // The exit button lies outside the window's visible part; Esc presses it.
    cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setGeometry(-200, -200, 80, 24);
    auto *text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(lblVersion);
    text->addWidget(thanks);
    text->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    resize(380, 160);
    connect(cmdExit, &QPushButton::clicked, this, &frmAbout::cmdExit_Click);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, cmdExit, &QPushButton::click);
}

void frmAbout::Form_Load()
{
    lblVersion->setText(QStringLiteral(TARVELA_VERSION));
}

void frmAbout::cmdExit_Click() { Unload(); }
