#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QVector>

namespace {

struct Entry {
    QString key;
    QString value;
};

struct Section {
    QString name;
    QVector<Entry> entries;
};

// Characters that would break the line format are written as %XX.
QString escape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool edgeBlank = (c == QLatin1Char(' ') || c == QLatin1Char('\t')) && (i == 0 || i == text.size() - 1);
        if (c == QLatin1Char('%') || c == QLatin1Char('=') || c == QLatin1Char('[') || c == QLatin1Char(']')
            || c == QLatin1Char('\n') || c == QLatin1Char('\r') || edgeBlank) {
            out += QLatin1Char('%') + QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        } else {
            out += c;
        }
    }
    return out;
}

QString unescape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('%') && i + 2 < text.size()) {
            bool ok = false;
            const int code = text.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 2;
                continue;
            }
        }
        out += text.at(i);
    }
    return out;
}

QVector<Section> load(const QString &path)
{
    QVector<Section> sections;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return sections;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            sections.push_back(Section{unescape(line.mid(1, line.size() - 2)), {}});
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || sections.isEmpty())
            continue;
        sections.back().entries.push_back(Entry{unescape(line.left(eq)), unescape(line.mid(eq + 1))});
    }
    return sections;
}

bool store(const QString &path, const QVector<Section> &sections)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text;
    for (const Section &s : sections) {
        text += QLatin1Char('[') + escape(s.name) + QStringLiteral("]\n");
        for (const Entry &e : s.entries)
            text += escape(e.key) + QLatin1Char('=') + escape(e.value) + QLatin1Char('\n');
        text += QLatin1Char('\n');
    }
    file.write(text.toUtf8());
    return file.commit();
}

Section *findSection(QVector<Section> &sections, const QString &name)
{
    for (Section &s : sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

Entry *findEntry(Section &section, const QString &key)
{
    for (Entry &e : section.entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

} // namespace

namespace Settings {

QString folder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(QStringLiteral("tarvela-desk"));
}

QString fileFor(const QString &app)
{
    // Application names are plain words; anything that cannot stand in a file
    // name is replaced.
    QString name = app;
    for (QChar &c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QChar(0))
            c = QLatin1Char('_');
    return QDir(folder()).filePath(name + QStringLiteral(".ini"));
}

QString get(const QString &app, const QString &section, const QString &key)
{
    QVector<Section> sections = load(fileFor(app));
    Section *s = findSection(sections, section);
    if (!s)
        return QString();
    Entry *e = findEntry(*s, key);
    return e ? e->value : QString();
}

bool save(const QString &app, const QString &section, const QString &key, const QString &value)
{
    const QString path = fileFor(app);
    QVector<Section> sections = load(path);
    Section *s = findSection(sections, section);
    if (!s) {
        sections.push_back(Section{section, {}});
        s = &sections.back();
    }
    if (Entry *e = findEntry(*s, key))
        e->value = value;
    else
        s->entries.push_back(Entry{key, value});
    return store(path, sections);
}

bool remove(const QString &app, const QString &section, const QString &key)
{
    const QString path = fileFor(app);
    QVector<Section> sections = load(path);
    Section *s = findSection(sections, section);
    if (!s)
        return true;
    for (int i = 0; i < s->entries.size(); ++i) {
        if (s->entries[i].key.compare(key, Qt::CaseInsensitive) == 0) {
            s->entries.removeAt(i);
            return store(path, sections);
        }
    }
    return true;
}

} // namespace Settings
