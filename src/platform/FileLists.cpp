#include "FileLists.h"

#include "FileOps.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStorageInfo>
#include <QStyle>

namespace {
constexpr int PathNotFound = 76;
constexpr int PermissionDenied = 70;

QList<FileLists::Place> g_testMedia;

QString clean(const QString &folder) { return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()); }

bool isMediaMount(const QString &root)
{
    for (const char *prefix : {"/media/", "/mnt/", "/run/media/"})
        if (root.startsWith(QLatin1String(prefix)))
            return true;
    return false;
}

QFileInfoList listOf(const QString &folder, QDir::Filters kind)
{
    // No QDir::Hidden: hidden files and folders are not listed.
    return QDir(folder).entryInfoList(kind | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QIcon standardIcon(QStyle::StandardPixmap which) { return QApplication::style()->standardIcon(which); }
} // namespace

namespace FileLists {

QList<Place> places()
{
    QList<Place> out;
    out << Place{QStringLiteral("Root folder (/)"), QStringLiteral("/")};
    const QString home = clean(QDir::homePath());
    out << Place{QStringLiteral("Home folder (%1)").arg(home), home};
    if (!g_testMedia.isEmpty())
        return out + g_testMedia;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !isMediaMount(root))
            continue;
        const QString name = volume.displayName().isEmpty() ? QFileInfo(root).fileName() : volume.displayName();
        out << Place{QStringLiteral("%1 (%2)").arg(name, root), root};
    }
    return out;
}

void setMediaForTests(const QList<Place> &media) { g_testMedia = media; }

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

void requireReadableFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        throw RuntimeError(PathNotFound, QStringLiteral("The folder %1 cannot be found. If it is on a removable medium, "
                                                        "insert or mount the medium and choose it again.")
                                             .arg(folder));
    if (!info.isDir())
        throw RuntimeError(PathNotFound, QStringLiteral("%1 is not a folder.").arg(folder));
    if (!FileOps::canRead(folder))
        throw RuntimeError(PermissionDenied, QStringLiteral("The folder %1 cannot be read: you have no permission to open it.").arg(folder));
}

} // namespace FileLists

// ------------------------------------------------------------------ places

DriveList::DriveList(QWidget *parent) : QComboBox(parent)
{
    refill();
    connect(this, &QComboBox::activated, this, [this] { Q_EMIT Change(); });
}

QString DriveList::drive() const { return currentData().toString(); }

void DriveList::setDrive(const QString &folder)
{
    // The place holding the folder the deepest.
    const QString f = clean(folder);
    int best = -1;
    int bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString p = itemData(i).toString();
        const bool holds = f == p || f.startsWith(p.endsWith(QLatin1Char('/')) ? p : p + QLatin1Char('/'));
        if (holds && p.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(p.size());
        }
    }
    if (best >= 0)
        setCurrentIndex(best);
}

void DriveList::refill()
{
    const QString chosen = drive();
    const QSignalBlocker quiet(this);
    clear();
    for (const FileLists::Place &p : FileLists::places())
        addItem(p.label, p.path);
    const int again = findData(chosen);
    setCurrentIndex(again >= 0 ? again : 0);
}

void DriveList::showPopup()
{
    refill();
    QComboBox::showPopup();
}

// ----------------------------------------------------------------- folders

FolderList::FolderList(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setIndentation(14);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (!item)
            return;
        try {
            setPath(item->data(0, Qt::UserRole).toString());
        } catch (const RuntimeError &e) {
            Q_EMIT refused(e.description());
        }
    });
}

void FolderList::setPath(const QString &folder)
{
    const QString f = clean(folder);
    FileLists::requireReadableFolder(f);
    const bool changed = f != m_path;
    m_path = f;
    fill();
    if (changed)
        Q_EMIT Change();
}

void FolderList::fill()
{
    clear();
    QStringList chain;
    for (QString p = m_path;; p = QFileInfo(p).absolutePath()) {
        chain.prepend(p);
        if (QDir(p).isRoot())
            break;
    }
    QTreeWidgetItem *parent = nullptr;
    for (const QString &p : chain) {
        const QString name = QDir(p).isRoot() ? p : QFileInfo(p).fileName();
        auto *item = parent ? new QTreeWidgetItem(parent, QStringList{name}) : new QTreeWidgetItem(this, QStringList{name});
        item->setData(0, Qt::UserRole, p);
        item->setIcon(0, standardIcon(QStyle::SP_DirOpenIcon));
        item->setExpanded(true);
        parent = item;
    }
    for (const QFileInfo &sub : listOf(m_path, QDir::Dirs)) {
        auto *item = new QTreeWidgetItem(parent, QStringList{sub.fileName()});
        item->setData(0, Qt::UserRole, clean(sub.absoluteFilePath()));
        item->setIcon(0, standardIcon(QStyle::SP_DirClosedIcon));
    }
    expandAll();
    setCurrentItem(parent);
    scrollToItem(parent);
}

QStringList FolderList::entries() const
{
    QStringList out;
    for (QTreeWidgetItemIterator it(const_cast<FolderList *>(this)); *it; ++it)
        out << (*it)->data(0, Qt::UserRole).toString();
    return out;
}

// ------------------------------------------------------------------- files

FileList::FileList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, [this] { Q_EMIT DblClick(); });
}

void FileList::setPath(const QString &folder)
{
    const QString f = clean(folder);
    FileLists::requireReadableFolder(f);
    m_path = f;
    clear();
    const QIcon icon = standardIcon(QStyle::SP_FileIcon);
    for (const QFileInfo &file : listOf(m_path, QDir::Files))
        addItem(new QListWidgetItem(icon, file.fileName()));
    setCurrentRow(-1);
    clearSelection();
}

QString FileList::fileName() const
{
    const QList<QListWidgetItem *> chosen = selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->text();
}

bool FileList::selectFile(const QString &name)
{
    const QList<QListWidgetItem *> found = findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    setCurrentItem(found.first());
    found.first()->setSelected(true);
    return true;
}

QStringList FileList::names() const
{
    QStringList out;
    for (int i = 0; i < count(); ++i)
        out << item(i)->text();
    return out;
}
