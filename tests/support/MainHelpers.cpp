#include "MainHelpers.h"

namespace MainHelpers {

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

bool activate(QWidget *w)
{
    w->activateWindow();
    const bool ok = QTest::qWaitForWindowActive(w, 2000);
    settle();
    if (!ok)
        QTest::qFail(qPrintable(w->objectName() + QStringLiteral(" did not become the active window")), __FILE__, __LINE__);
    return ok;
}

void boxClosesOver(QWidget *w)
{
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(w);
}

void lastBox(const QString &title, const QString &text, std::optional<MessageBox::Icon> icon, MessageBox::Buttons buttons)
{
    const MessageBox::Shown last = TestEnv::shownLast();
    QCOMPARE(last.title, title);
    if (!text.isNull())
        QCOMPARE(last.text, text);
    if (icon) {
        QCOMPARE(last.icon, *icon);
        QCOMPARE(last.buttons, buttons);
    }
}

frmMain *start(const QList<MessageBox::Answer> &answers)
{
    frmMain::splashMilliseconds = 0;
    MessageBox::setNextAnswers(answers);
    frmMain *m = frmMain::instance();
    settle();
    return m;
}

QStringList treeText(frmMain *m)
{
    QStringList out;
    auto *tree = m->findChild<QTreeWidget *>(QStringLiteral("SSTree2"));
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *s = tree->topLevelItem(i);
        out << s->text(0);
        for (int j = 0; j < s->childCount(); ++j)
            out << QStringLiteral("  ") + s->child(j)->text(0);
    }
    return out;
}

QTreeWidgetItem *node(frmMain *m, const QString &text)
{
    auto *tree = m->findChild<QTreeWidget *>(QStringLiteral("SSTree2"));
    const auto items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return items.isEmpty() ? nullptr : items.first();
}

void clickNode(frmMain *m, const QString &text)
{
    auto *tree = m->findChild<QTreeWidget *>(QStringLiteral("SSTree2"));
    QTreeWidgetItem *item = node(m, text);
    QVERIFY2(item, qPrintable(QStringLiteral("no node ") + text));
    tree->scrollToItem(item);
    const QRect r = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    settle();
}

QString notWhole(const QLabel *label, int width)
{
    settle();
    const QWidget *window = label->window();
    QStringList wrong;
    if (window->width() > width)
        wrong << QStringLiteral("%1 widened from %2 to %3").arg(window->objectName()).arg(width).arg(window->width());
    if (!window->screen()->availableGeometry().contains(window->frameGeometry()))
        wrong << QStringLiteral("%1 is partly off the screen").arg(window->objectName());
    if (!window->rect().contains(QRect(label->mapTo(window, QPoint(0, 0)), label->size())))
        wrong << QStringLiteral("%1 lies outside its window").arg(label->objectName());
    if (label->height() < label->heightForWidth(label->width()))
        wrong << QStringLiteral("%1 is cut off").arg(label->objectName());
    return wrong.join(QStringLiteral("; "));
}

void longTextRows(const char *first, int firstLength, const char *second, int secondLength)
{
    QTest::addColumn<QString>(first);
    QTest::addColumn<QString>(second);
    const QString words = QStringLiteral("Antidisestablishmentarianism ").repeated(20);
    const QString emoji = QStringLiteral("\U0001F33F");
    QTest::newRow("one long word") << QString(firstLength, QLatin1Char('W')) << QString(secondLength, QLatin1Char('M'));
    QTest::newRow("words") << words.left(firstLength) << words.left(secondLength);
    QTest::newRow("emoji") << emoji.repeated(firstLength) << emoji.repeated(secondLength);
}

QString toolTipOf(QWidget *w)
{
    QToolTip::hideText();
    const QPoint at = w->rect().center();
    QHelpEvent rest(QEvent::ToolTip, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

int newFile(const QString &semester)
{
    TestEnv::createDatabase();
    return addSemester(semester);
}

frmMain *startQuiet(const QList<MessageBox::Answer> &answers)
{
    Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
    return start(answers);
}

QStringList items(QListWidget *list)
{
    QStringList out;
    for (int i = 0; list && i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void typeText(QWidget *w, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.unicode() < 128) {
            QTest::keyClick(w, ch.toLatin1());
            continue;
        }
        QString key(ch);
        if (ch.isHighSurrogate() && i + 1 < text.size())
            key += text.at(++i);
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, key, Qt::NoModifier);
    }
}

void typeCell(QTableView *v, int row, int column, const QString &text, bool enter)
{
    QVERIFY(v);
    const QModelIndex idx = v->model()->index(row, column);
    QVERIFY2(idx.isValid(), "no such cell");
    v->setCurrentIndex(idx);
    v->edit(idx);
    QWidget *editor = v->indexWidget(idx);
    auto *combo = qobject_cast<QComboBox *>(editor);
    QLineEdit *line = combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(editor);
    for (QLineEdit *w : v->viewport()->findChildren<QLineEdit *>())
        if (!line && w->isVisible())
            line = w;
    QVERIFY2(line, "no cell editor");
    line->clear();
    QTest::keyClicks(line, text);
    if (enter)
        QTest::keyClick(line, Qt::Key_Return);
    settle();
    if (!enter)
        QVERIFY2(line->isVisible() && line->text() == text, "the cell is not being typed");
}

void click(QWidget *w, const char *name)
{
    if (auto *c = find<QWidget>(w, name))
        QTest::mouseClick(c, Qt::LeftButton);
    settle();
}

void trigger(frmMain *m, const char *action)
{
    if (auto *a = find<QAction>(m, action))
        a->trigger();
    settle();
}

QTimer *heldTimer(QObject *window, const char *name, int interval)
{
    auto *t = window ? window->findChild<QTimer *>(QString::fromLatin1(name)) : nullptr;
    if (!t || !t->isActive() || t->interval() != interval) {
        QTest::qFail(qPrintable(QStringLiteral("%1 does not run every %2 ms").arg(QString::fromLatin1(name)).arg(interval)), __FILE__,
                     __LINE__);
        return nullptr;
    }
    t->stop();
    return t;
}

void tick(QTimer *timer)
{
    QVERIFY(timer && QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection));
    settle();
}

} // namespace MainHelpers
