#include "SetupHelpers.h"

namespace SetupHelpers {

int semesterId()
{
    if (!QFile::exists(TestEnv::databasePath()))
        TestEnv::createDatabase();
    if (TestEnv::scalar(QStringLiteral("SELECT count(*) FROM Semesters")).toInt() == 0)
        addSemester(QStringLiteral("Spring 2026"), QStringLiteral("2026-01-10"), QStringLiteral("2026-05-20"));
    return TestEnv::scalar(QStringLiteral("SELECT min(ID) FROM Semesters")).toInt();
}

frmMain *startWithSemester()
{
    semesterId();
    return startQuiet();
}

void buttonOrCloseBoxRows()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("button") << false;
    QTest::newRow("close box") << true;
}

void closeBy(QWidget *window, const char *button)
{
    QFETCH(bool, closeBox);
    if (closeBox)
        QVERIFY(window->close());
    else
        click(window, button);
    settle();
}

void type(QWidget *window, const char *name, const QString &text)
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

QString text(QWidget *window, const char *name)
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

void shownOnce(const QString &title, const QString &text, MessageBox::Icon icon)
{
    QCOMPARE(MessageBox::shown().size(), 1);
    lastBox(title, text, icon);
}

int insertRow(const QString &table, const QList<QPair<QString, QVariant>> &fields, const QString &key)
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

QVariant classField(int id, const QString &field)
{
    return TestEnv::scalar(QStringLiteral("SELECT \"%1\" FROM Classes WHERE ID = ?").arg(field), {id});
}

int count(const QString &table)
{
    return TestEnv::scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt();
}

QStringList rows(const QString &sql, const QVariantList &params)
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

QByteArray pictureBytes()
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
