#include "frmTip.h"

#include "calendar/frmToday.h"
#include "platform/Artwork.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
bool g_showRegardless = false;
const char *TipsFile = "TIPOFDAY.TXT";
QRandomGenerator g_random;
} // namespace

void frmTip::setShowRegardless(bool on) { g_showRegardless = on; }

QString frmTip::notFoundText()
{
    const QString file = QString::fromLatin1(TipsFile);
    return QStringLiteral("That the ") + file + QStringLiteral(" file was not found? ") + QStringLiteral("\n\n")
        + QStringLiteral("Create a text file named ") + file + QStringLiteral(" using NotePad with 1 tip per line. ")
        + QStringLiteral("Then place it in the same directory as the application. ");
}

frmTip::frmTip()
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    auto *picture = new QLabel(this);
    picture->setPixmap(Artwork::picture(QStringLiteral("tip"), 48));
    auto *know = new QLabel(QStringLiteral("Did you know..."), this);
    QFont f = know->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    know->setFont(f);
    // A tip is a line of the tips file: a long one wraps, never widening the window.
    lblTipText = wrappedLabel(this, "lblTipText");
    lblTipText->setMinimumHeight(80);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    chkLoadTipsAtStartup = new QCheckBox(QStringLiteral("Show tips at startup"), this);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    cmdNextTip = new QPushButton(QStringLiteral("&Next Tip"), this);
    cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    setDefaultButton(cmdOK); // Enter presses the focused button, else OK

    auto *text = new QVBoxLayout;
    text->addWidget(know);
    text->addWidget(lblTipText, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkLoadTipsAtStartup);
    bottom->addStretch();
    bottom->addWidget(cmdNextTip);
    bottom->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    resize(420, 200);

    connect(cmdNextTip, &QPushButton::clicked, this, &frmTip::cmdNextTip_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTip::cmdOK_Click);
    connect(chkLoadTipsAtStartup, &QCheckBox::clicked, this, &frmTip::chkLoadTipsAtStartup_Click);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, cmdOK, &QPushButton::click);
}

void frmTip::Form_Load()
{
    const bool regardless = g_showRegardless;
    g_showRegardless = false;
    const QString stored = Settings::get(Settings::ExeApp, QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"));
    int show = 1;
    if (!stored.isEmpty()) {
        bool ok = false;
        show = stored.trimmed().toInt(&ok);
        if (!ok)
            show = 0;
    }
    if (show == 0 && !regardless) {
        Unload();
        return;
    }
    chkLoadTipsAtStartup->setChecked(show != 0);
    g_random.seed(static_cast<quint32>(Clock::now().time().msecsSinceStartOfDay()));
    if (!LoadTips(Platform::programFile(QString::fromLatin1(TipsFile))))
        lblTipText->setText(notFoundText());
}

bool frmTip::LoadTips(const QString &fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line opens no further tip
    m_tips += lines;
    DoNextTip();
    return true;
}

void frmTip::DoNextTip()
{
    const double r = g_random.generateDouble();
    CurrentTip = static_cast<int>(r * m_tips.size()) + 1;
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip()
{
    if (!m_tips.isEmpty() && CurrentTip >= 1 && CurrentTip <= m_tips.size())
        lblTipText->setText(m_tips.at(CurrentTip - 1));
}

void frmTip::cmdNextTip_Click() { DoNextTip(); }


void frmTip::cmdOK_Click() { Unload(); }

void frmTip::chkLoadTipsAtStartup_Click()
{
    Settings::save(Settings::ExeApp, QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"),
                   chkLoadTipsAtStartup->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void frmTip::Form_Unload(bool &)
{
    try {
        frmToday::instance()->Show();
    } catch (const RuntimeError &) {
        // Today's window closes itself when there is nothing at all to list.
    }
}
