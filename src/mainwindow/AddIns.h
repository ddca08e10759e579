#pragma once
// The add-in commands: up to five programs named in the settings (section
// "AddIns": "AddIn<N>Desc" the menu caption, "AddIn<N>Command" the command
// line relative to the program's folder).
#include <QString>
#include <QStringList>

namespace AddIns {

constexpr int Count = 5;

// The command line that starts add-in `setting` (a program relative to the
// program's folder, and its arguments, split as a shell would): the program
// taken from `programFolder`, the arguments passed along, each quoted where
// it needs to be. Empty when the setting names no program.
QString commandLine(const QString &programFolder, const QString &setting);

// The message for an add-in without a command line: add-in 1 names no
// add-in, the others their description.
QString noCommandLineText(int number, const QString &description);

} // namespace AddIns
