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

// A database of its own, without the tips window, and the main window up.
inline frmMain *startProgram()
{
    if (!QFile::exists(TestEnv::databasePath()))
        TestEnv::createDatabase();
    return startQuiet();
}

// The key of a database with one semester (made, with the file, when
// missing), so that no wizard opens at start.
inline int semesterId()
{
    if (!QFile::exists(TestEnv::databasePath()))
        TestEnv::createDatabase();
    if (TestEnv::scalar(QStringLiteral("SELECT count(*) FROM Semesters")).toInt() == 0)
        addSemester(QStringLiteral("Spring 2026"), QStringLiteral("2026-01-10"), QStringLiteral("2026-05-20"));
    return TestEnv::scalar(QStringLiteral("SELECT min(ID) FROM Semesters")).toInt();
}

// The same, and the main window up.
inline frmMain *startWithSemester()
{
    semesterId();
    return startProgram();
}

// The two ways out of a window a data-driven test tries: its button, and
// its close box (closeBy() takes the one of the row).
inline void buttonOrCloseBoxRows()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("button") << false;
    QTest::newRow("close box") << true;
}
inline void closeBy(QWidget *window, const char *button)
{
    QFETCH(bool, closeBox);
    if (closeBox)
        QVERIFY(window->close());
    else
        click(window, button);
    settle();
}

// Replaces what a box (a line, a text or a date box) holds by typing, as a
// user does.
inline void type(QWidget *window, const char *name, const QString &text)
{
    QWidget *w = window->findChild<QWidget *>(QString::fromLatin1(name));
    QVERIFY2(w, name);
    if (!qobject_cast<QLineEdit *>(w) && !qobject_cast<QPlainTextEdit *>(w))
        w = w->findChild<QLineEdit *>(QStringLiteral("edit")); // a date box
    QVERIFY2(w, name);
    QVERIFY(QMetaObject::invokeMethod(w, "selectAll"));
    QTest::keyClick(w, Qt::Key_Delete);
    typeText(w, text);
}

inline QString text(QWidget *window, const char *name)
{
    QWidget *w = window->findChild<QWidget *>(QString::fromLatin1(name));
    if (!w) {
        QTest::qFail(qPrintable(QStringLiteral("control %1 not found").arg(QString::fromLatin1(name))), __FILE__, __LINE__);
        return QString();
    }
    if (auto *line = qobject_cast<QLineEdit *>(w))
        return line->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
        return plain->toPlainText();
    return w->property("text").toString();
}

// The last message box (lastBox()), the only one since MessageBox::clearShown().
inline void shownOnce(const QString &title, const QString &text, MessageBox::Icon icon)
{
    QCOMPARE(MessageBox::shown().size(), 1);
    lastBox(title, text, icon);
}

// Puts a row straight into the file; returns its key.
inline int insertRow(const QString &table, const QList<QPair<QString, QVariant>> &fields, const QString &key = QStringLiteral("ID"))
{
    QStringList names, marks;
    QVariantList values;
    for (const auto &f : fields) {
        names << QLatin1Char('"') + f.first + QLatin1Char('"');
        marks << QStringLiteral("?");
        values << f.second;
    }
    TestEnv::exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names.join(", "), marks.join(", ")), values);
    return TestEnv::scalar(QStringLiteral("SELECT max(%1) FROM %2").arg(key, table)).toInt();
}

inline QVariant classField(int id, const QString &field)
{
    return TestEnv::scalar(QStringLiteral("SELECT \"%1\" FROM Classes WHERE ID = ?").arg(field), {id});
}

inline int count(const QString &table)
{
    return TestEnv::scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt();
}

// The rows a query gives, each as "value|value|..." (<null> for a null), to
// compare whole rows at once.
inline QStringList rows(const QString &sql, const QVariantList &params = {})
{
    auto db = TestEnv::open();
    QStringList out;
    {
        QSqlQuery q = db->run(sql, params);
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
            out << cells.join(QLatin1Char('|'));
        }
    }
    db->close();
    return out;
}

// A small picture as a PNG file holds it: what a transfer file renamed
// from a picture holds.
inline QByteArray pictureBytes()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace SetupHelpers
