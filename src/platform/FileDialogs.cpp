#include "FileDialogs.h"

#include "Platform.h"

#include <QApplication>
#include <QFileDialog>

namespace {
QStringList g_names;
int g_shown = 0;
QString g_filter;
}

QString FileDialogs::openFileName(const QString &title, const QString &folder, const QString &filter)
{
    ++g_shown;
    g_filter = filter;
    if (Platform::testMode())
        return g_names.isEmpty() ? QString() : g_names.takeFirst();
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, filter);
}

QString FileDialogs::saveFileName(const QString &title, const QString &folder, const QString &filter)
{
    ++g_shown;
    g_filter = filter;
    if (Platform::testMode())
        return g_names.isEmpty() ? QString() : g_names.takeFirst();
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, folder, filter);
}

void FileDialogs::setNextFileName(const QString &path) { g_names.append(path); }
void FileDialogs::clear()
{
    g_names.clear();
    g_shown = 0;
    g_filter.clear();
}
int FileDialogs::shownCount() { return g_shown; }
QString FileDialogs::lastFilter() { return g_filter; }
