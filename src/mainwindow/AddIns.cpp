#include "AddIns.h"

#include "platform/Shell.h"

#include <QDir>

namespace AddIns {

QString commandLine(const QString &programFolder, const QString &setting)
{
    QStringList parts = Shell::splitCommandLine(setting);
    if (parts.isEmpty())
        return QString();
    parts[0] = QDir(programFolder).filePath(parts[0]);
    return Shell::joinCommandLine(parts);
}

QString noCommandLineText(int number, const QString &description)
{
    const QString who = number == 1 ? QStringLiteral("the Add-In") : description;
    return QStringLiteral("Tarvela couldn't launch %1!\n\nThe command line wasn't specified by the AddIn.").arg(who);
}

} // namespace AddIns
