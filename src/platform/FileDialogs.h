#pragma once
// File open and save dialogs. In test mode the chosen names come from a queue
// ("" stands for Cancel).
#include <QString>
#include <QStringList>

class FileDialogs
{
public:
    static QString openFileName(const QString &title, const QString &folder, const QString &filter);
    static QString saveFileName(const QString &title, const QString &folder, const QString &filter);

    static void setNextFileName(const QString &path);
    static void clear();
    static int shownCount();
    // The filter of the dialog shown last ("" before any).
    static QString lastFilter();
};
