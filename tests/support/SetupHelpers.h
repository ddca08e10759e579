#pragma once
// Starting the program with semesters and classes in its database, and
// driving the set-up windows as a user does.
#include "FileHelpers.h"
#include "MainHelpers.h"

#include "platform/Settings.h"
#include "store/Database.h"

#include <QAction>
#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QToolButton>

namespace SetupHelpers {

using namespace MainHelpers;

using ::fileBytes;

using ::writeBytes;

// The key of a database with one semester (made, with the file, when
// missing), so that no wizard opens at start.
int semesterId();

// The same, and the main window up.
frmMain *startWithSemester();

// The two ways out of a window a data-driven test tries: its button, and
// its close box (closeBy() takes the one of the row).
void buttonOrCloseBoxRows();

void closeBy(QWidget *window, const char *button);

// Replaces what a box (a line, a text or a date box) holds by typing, as a
// user does.
void type(QWidget *window, const char *name, const QString &text);

QString text(QWidget *window, const char *name);

// The last message box (lastBox()), the only one since MessageBox::clearShown().
void shownOnce(const QString &title, const QString &text, MessageBox::Icon icon);

// Puts a row straight into the file; returns its key.
int insertRow(const QString &table, const QList<QPair<QString, QVariant>> &fields, const QString &key = QStringLiteral("ID"));

QVariant classField(int id, const QString &field);

int count(const QString &table);

// The rows a query gives, each as "value|value|..." (<null> for a null), to
// compare whole rows at once.
QStringList rows(const QString &sql, const QVariantList &params = {});

// A small picture as a PNG file holds it: what a transfer file renamed
// from a picture holds.
QByteArray pictureBytes();

} // namespace SetupHelpers
