#pragma once
// The user's name stored with a new quiz: the account's full name from the
// system's user database, else the login name, at most 150 characters. It is
// read once, on first use, and kept for the rest of the run.
#include <QString>

namespace UserName {

constexpr int MaxLength = 150;

// The name of the user running the program.
QString text();

// The name from an account's entries: the full-name field up to its first
// comma (the rest holds office and telephone), else the login name; cut to
// MaxLength characters.
QString fromAccount(const QString &fullNameField, const QString &login);

} // namespace UserName
