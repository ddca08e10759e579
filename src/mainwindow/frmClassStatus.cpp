#include "frmClassStatus.h"

#include "store/Grades.h"
#include "balloons/assistant.h"
#include "platform/Artwork.h"
#include "platform/Settings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char *Letters = "ABCD";
}

QString frmClassStatus::hintText()
{
    return QStringLiteral("Class Status shows you your letter grade standing in any class.  With it, you can see where you "
                          "need to concentrate your study efforts in order to reach your academic goals.");
}

frmClassStatus::frmClassStatus()
{
    setObjectName(QStringLiteral("frmClassStatus"));
    setWindowTitle(QStringLiteral("Class Status"));
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(Artwork::picture(QStringLiteral("grade"), 48));
    auto *intro = new QLabel(QStringLiteral("Listed below are the number of points you need to reach each grade."), this);
    intro->setObjectName(QStringLiteral("Label1"));
    intro->setWordWrap(true);
    auto *lines = new QVBoxLayout;
    lines->addWidget(intro);
    for (int i = 0; i < 4; ++i) {
        const QChar g = QLatin1Char(Letters[i]);
        lblPointsShy[i] = new QLabel(QStringLiteral("Points shy of %1:  ").arg(g), this);
        lblPointsShy[i]->setObjectName(QStringLiteral("lblPointsShyOf%1").arg(g));
        lines->addWidget(lblPointsShy[i]);
    }
    Command1 = new QPushButton(QStringLiteral("&Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("&Analysis"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    lines->addStretch();
    lines->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(image, 0, Qt::AlignTop);
    layout->addLayout(lines, 1);
    resize(360, 200);
    connect(Command1, &QPushButton::clicked, this, &frmClassStatus::Command1_Click);
}

void frmClassStatus::fill(const QVariant thresholds[4], const QString &earnedText)
{
    // A line whose figures are missing keeps what it showed.
    for (int i = 0; i < 4; ++i) {
        if (const auto shy = Grades::pointsShy(thresholds[i], earnedText))
            lblPointsShy[i]->setText(QStringLiteral("Points shy of %1:  %2").arg(QLatin1Char(Letters[i])).arg(*shy));
    }
}

void frmClassStatus::Form_Activate()
{
    if (Settings::get(Settings::App, QStringLiteral("Settings"), QStringLiteral("asst_SeenClassStatus")) != QLatin1String("Y")) {
        // Marked as seen only once the balloon was on the screen.
        if (AssistantMessage(hintText()))
            Settings::save(Settings::App, QStringLiteral("Settings"), QStringLiteral("asst_SeenClassStatus"), QStringLiteral("Y"));
    }
}

void frmClassStatus::Command1_Click() { Unload(); }
