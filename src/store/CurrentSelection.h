#pragma once
// The program-wide current selection: the semester, the class and the class's
// assignments that the main window holds in its three data sources. The main
// window provides it; windows of the other folders reach the selection (and
// show, hide or rebuild the main window) only through this interface.
#include <QString>

class DataSource;
class QWidget;

class CurrentSelection
{
public:
    virtual ~CurrentSelection() = default;

    // The three data sources of the current selection.
    virtual DataSource *datSemesters() = 0;
    virtual DataSource *datClasses() = 0;
    virtual DataSource *datAssignments() = 0;

    // Rebuilds the semester/class tree from the database.
    virtual void RefreshTree() = 0;
    // Names the class whose assignments the main window's grid shows.
    virtual void setAssignmentsCaption(const QString &className) = 0;
    // Shows the main window (modeless), which brings it forward and activates it.
    virtual void showMainWindow() = 0;
    // Hides the main window.
    virtual void hideMainWindow() = 0;
    // The main window itself, for placing other windows beside it.
    virtual QWidget *mainWindow() = 0;

    // The provider while the main window is loaded, else nullptr.
    static CurrentSelection *get();
    static void set(CurrentSelection *provider);
    static void clear(CurrentSelection *provider);
};
