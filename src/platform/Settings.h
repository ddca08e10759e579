#pragma once
// The per-user settings store: string values kept by application name,
// section and key. One file per application name in the user's configuration
// folder. Sections and keys match without regard to letter case; keys and
// values keep whatever characters they hold.
#include <QString>

namespace Settings {

// The value, or "" for a key never written.
QString get(const QString &app, const QString &section, const QString &key);
// Writes the value; returns false when the store could not be written.
bool save(const QString &app, const QString &section, const QString &key, const QString &value);
// Removes a key (used by tests and to forget values).
bool remove(const QString &app, const QString &section, const QString &key);

// The folder holding the settings files.
QString folder();
// The file of one application name.
QString fileFor(const QString &app);

// The program's own application name and the executable's name.
inline const QString App = QStringLiteral("Tarvela Desk");
inline const QString ExeApp = QStringLiteral("TarvelaDesk");

} // namespace Settings
