#include "Shell.h"

#include "Platform.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <algorithm>

namespace {
QStringList g_opened;
QStringList g_started;
}

bool Shell::open(const QString &target)
{
    g_opened.append(target);
    if (Platform::testMode())
        return true;
    QUrl url;
    if (target.contains(QStringLiteral("://")) || target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive))
        url = QUrl(target);
    else
        url = QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

QStringList Shell::splitCommandLine(const QString &commandLine)
{
    return QProcess::splitCommand(commandLine);
}

QString Shell::joinCommandLine(const QStringList &parts)
{
    QStringList out;
    for (const QString &p : parts) {
        const bool plain = !p.isEmpty() && !p.contains(QLatin1Char('"'))
            && std::none_of(p.begin(), p.end(), [](QChar c) { return c.isSpace(); });
        // Within quotes a quote character is written three times.
        out << (plain ? p : QLatin1Char('"') + QString(p).replace(QLatin1Char('"'), QStringLiteral("\"\"\"")) + QLatin1Char('"'));
    }
    return out.join(QLatin1Char(' '));
}

bool Shell::start(const QString &commandLine, const QString &workingFolder)
{
    g_started.append(commandLine);
    QStringList parts = splitCommandLine(commandLine);
    if (parts.isEmpty())
        return false;
    if (Platform::testMode())
        return QFileInfo(parts.first()).isFile();
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts, workingFolder);
}

const QStringList &Shell::opened() { return g_opened; }
const QStringList &Shell::started() { return g_started; }
void Shell::clear()
{
    g_opened.clear();
    g_started.clear();
}
