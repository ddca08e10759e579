#pragma once
// Text files written by this program are UTF-8. Files written by older
// copies on Windows are in its ANSI code page, Windows-1252; a file whose
// bytes are not valid UTF-8 is read as such.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace TextCodec {

// Every byte one character of Windows-1252; the five bytes it leaves
// undefined stand for the control characters of the same number, as Windows
// reads them.
QString fromWindows1252(const QByteArray &bytes);
// UTF-8 (without a leading byte-order mark) when the bytes are valid UTF-8,
// else Windows-1252.
QString decodeUtf8OrAnsi(const QByteArray &bytes);

// A character that no text holds: a control character other than tab, line
// feed, vertical tab, form feed and carriage return (C0 controls and DEL; the
// C1 controls stand for bytes of Windows-1252 and count as text).
bool isBinaryControl(QChar c);
// Why bytes are not a text file, as the end of a sentence ("it holds NUL
// bytes, so it is not text"); empty when they are text. A text file holds no
// NUL byte and, read as decodeUtf8OrAnsi reads it, no binary control
// character.
QString whyNotText(const QByteArray &bytes);

// The lines of a text: a line ends at CR LF, at CR or at LF; a break at the
// very end starts no further line.
QStringList splitLines(const QString &text);

// The number of characters of a text as the database counts them: Unicode
// characters, so that a character outside the basic plane (an emoji, held
// as two UTF-16 units) counts once.
qsizetype characterCount(const QString &text);

// The text with its letter case folded, for the comparisons that ignore
// letter case: two texts that differ only in the case of their letters, in
// any script, fold to the same text. The one rule for every such comparison
// of the program (names, titles, the search, settings keys).
QString caseFolded(const QString &text);

} // namespace TextCodec
