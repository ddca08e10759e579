#pragma once
// Compacting the database file: a compacted copy is written beside it,
// checked, and renamed over it, while no other connection can change the
// file. Either the compacted file with every committed row takes the file's
// place, or the file stays as it was and no copy is left behind.
#include <QString>
#include <QStringList>
#include <functional>

namespace Compaction {

// Compacts `source` through `copy` into `target` (the source's place, under
// the small-letter name). The program's own connection to the file is closed
// first and opened again at the end. A copy left over by an earlier
// compaction is removed once the file is held, and its path added to
// `leftoversRemoved` (also when the compaction then fails). Raises, and then leaves the file as it was and no copy behind:
// 3204 when a leftover copy cannot be removed, 3260 when another program
// holds the file, 75 when a file cannot be renamed or removed, 3343 when the
// file itself is damaged (so that no whole copy can be made of it), and the
// engine's own error when the copy cannot be made or fails its check.
void run(const QString &source, const QString &target, const QString &copy, QStringList *leftoversRemoved);

// Test support: called with the copy's path once it is written and before
// it is checked; it may damage the copy or raise a run-time error.
void setCopyHook(std::function<void(const QString &)> hook);

} // namespace Compaction
