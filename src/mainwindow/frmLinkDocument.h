#pragma once
// "Create Document Link": picks a file of the user's to link to the current
// assignment, with the place, folder and file lists. Also the commands that
// open the linked document.
#include "platform/Form.h"

class DriveList;
class FileList;
class FolderList;
class QLabel;
class QPushButton;

class frmLinkDocument : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmLinkDocument)
public:
    frmLinkDocument();

    // Assignment > Link Document: the picker for the current assignment;
    // refused with a message when there is none.
    static void linkCurrentAssignment();
    // Assignment > Open Document: opens the current assignment's linked
    // document with the desktop's program for it; nothing without a link.
    static void openCurrentDocument();

    static QString instructions();

protected:
    void Form_Load() override;

private Q_SLOTS:
    void Drive1_Change();
    void Dir1_Change();
    void File1_DblClick();
    void cmdLink_Click();
    void cmdCancel_Click();

private:
    void tellUnreadable(const QString &description);
    static bool hasCurrentAssignment();

    DriveList *Drive1; // the drives (mounted file systems)
    FolderList *Dir1; // the folders of the chosen drive
    FileList *File1; // the files of the chosen folder: a double-click links one
    QPushButton *cmdLink;
    QPushButton *cmdCancel;
    QLabel *Label1; // the instructions above the lists
};
