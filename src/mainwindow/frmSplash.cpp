#include "frmSplash.h"

#include "platform/Artwork.h"

#include <QLabel>
#include <QVBoxLayout>

frmSplash::frmSplash() : Form(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgSplash"));
    picture->setPixmap(Artwork::picture(QStringLiteral("splash"), 240));
    auto *title = new QLabel(QStringLiteral("Tarvela Desk"), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 8);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    lblVersion = new QLabel(versionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(lblVersion);
}

QString frmSplash::versionText()
{
    return QStringLiteral("    Release Version " TARVELA_VERSION);
}
