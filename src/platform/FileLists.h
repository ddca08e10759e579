#pragma once
// The three lists of a file picker: the places to start from (the root
// folder, the home folder and mounted media), the folders of a place and the
// files of a folder. Hidden files and folders are not listed. A place or
// folder that cannot be read raises a run-time error whose description says
// why; the list then keeps what it showed.
#include <QComboBox>
#include <QList>
#include <QListWidget>
#include <QString>
#include <QTreeWidget>

namespace FileLists {

struct Place {
    QString label;
    QString path;
};

// The root folder, the home folder, then every mounted medium.
QList<Place> places();
// Test support: the mounted media listed from now on (instead of the
// system's); an empty list goes back to the system's.
void setMediaForTests(const QList<Place> &media);

// A folder and a name joined by one separator ("/" and "a.txt" give "/a.txt").
QString joinPath(const QString &folder, const QString &name);

// Checks that a folder can be listed; raises the run-time error otherwise.
void requireReadableFolder(const QString &folder);

} // namespace FileLists

// The place list: a drop-down of the places.
class DriveList : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent = nullptr);
    // The folder of the place chosen.
    QString drive() const;
    // Chooses the place with this folder (or the one holding it); no Change.
    void setDrive(const QString &folder);
    // Lists the places again (media come and go); the choice stays when it can.
    void refill();

    void showPopup() override;

Q_SIGNALS:
    // The user chose another place.
    void Change();
};

// The folder list: the folders from the root down to the folder shown, and
// that folder's own folders below it. A double click (or Enter) on a folder
// shows it.
class FolderList : public QTreeWidget
{
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);
    QString path() const { return m_path; }
    // Shows the folder; raises a run-time error when it cannot be read, and
    // then keeps the folder it showed.
    void setPath(const QString &folder);
    // The folders listed, as full paths, from the top.
    QStringList entries() const;

Q_SIGNALS:
    // The folder shown changed.
    void Change();
    // A folder chosen by the user could not be read.
    void refused(const QString &description);

private:
    void fill();
    QString m_path;
};

// The file list of one folder.
class FileList : public QListWidget
{
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);
    QString path() const { return m_path; }
    // Lists the folder's files; raises a run-time error when it cannot be
    // read, and then keeps the list it showed.
    void setPath(const QString &folder);
    // The selected file's name; "" when none is selected.
    QString fileName() const;
    // Selects the file of this name; false when it is not listed.
    bool selectFile(const QString &name);
    QStringList names() const;

Q_SIGNALS:
    // A file was double-clicked (or Enter pressed on it).
    void DblClick();

private:
    QString m_path;
};
