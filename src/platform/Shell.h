#pragma once
// Opening files, help, web pages and "mailto:" addresses with their associated
// program, and starting other programs. In test mode nothing is opened or
// started; every request is recorded.
#include <QString>
#include <QStringList>

class Shell
{
public:
    // Opens a file path or a URL with its associated program. The result is
    // whether the request could be handed on.
    static bool open(const QString &target);
    // Starts a command line (program and arguments, split like a shell would)
    // without waiting for it. Returns false when the program could not start.
    static bool start(const QString &commandLine, const QString &workingFolder = QString());

    // A command line split into the program and its arguments, and joined
    // back: joining quotes what holds blanks or quotes, so that splitting
    // gives the same parts again.
    static QStringList splitCommandLine(const QString &commandLine);
    static QString joinCommandLine(const QStringList &parts);

    static const QStringList &opened();
    static const QStringList &started();
    static void clear();
};
