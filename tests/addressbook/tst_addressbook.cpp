#include "AddressBookHelpers.h"

using namespace AddressBookHelpers;

class AddressBookTest : public TestCase, BookFixture
{
    Q_OBJECT

    void newContact(const QStringList &answers)
    {
        InputBox::setNextAnswers(answers);
        click(b, "SSCommand1");
    }

private Q_SLOTS:
    void theRoad()
    {
        newFile();
        addContactWith({{"Name", "Ann Archer"}, {"EMail", "ann@example.org"}, {"Address1", "1 Elm Street"}, {"Address2", "Flat 2"},
                        {"City", "Springfield"}, {"State", "IL"}, {"ZIP", "62701"}, {"Phone1", "555-0100"}, {"Phone2", "555-0101"}});
        const int bob = addContact(QStringLiteral("Bob Baker"), QStringLiteral("bob@example.org"));
        QVERIFY(start());
        QCOMPARE(b->windowTitle(), QString("Tarvela Address Book"));
        QVERIFY(!find<QLabel>(b, "Image1")->pixmap().isNull());

        // Open on the first contact; nothing chosen in the list.
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Bob Baker"}));
        QVERIFY(nameList(b)->selectedItems().isEmpty());
        QCOMPARE(shown(b), QStringList({"Ann Archer", "ann@example.org", "1 Elm Street", "Flat 2", "Springfield", "IL", "62701",
                                        "555-0100", "555-0101"}));
        QVERIFY(picture(b)->picture().isNull());

        // New Contact keeps the blanks around the name.
        newContact({"  Cleo Cole  "});
        QCOMPARE(InputBox::shown().size(), 1);
        QCOMPARE(InputBox::shown().at(0).prompt, QString("Enter the name of the new contact."));
        QCOMPARE(InputBox::shown().at(0).title, QString("Name?"));
        QCOMPARE(InputBox::shown().at(0).defaultText, QString());
        QCOMPARE(count("Contacts"), 3);
        const int cleo = TestEnv::scalar("SELECT max(Contact_ID) FROM Contacts").toInt();
        QCOMPARE(contactRow(cleo), "  Cleo Cole  " + QString("|<null>").repeated(8));
        QCOMPARE(shown(b), QStringList({"  Cleo Cole  ", "", "", "", "", "", "", "", ""}));
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Bob Baker", "  Cleo Cole  "}));

        // Every box goes into its own field when another contact is chosen.
        const QStringList typed{"Cleo Cole", "cleo@example.org", "9 Oak Road", "Suite 5", "Shelbyville", "KY", "40065", "555-0300",
                                "555-0301"};
        for (int i = 0; i < 9; ++i)
            type(b, Boxes[i], typed[i]);
        clickName(b, 1);
        QCOMPARE(text(b, "Text1"), QString("Bob Baker"));
        QCOMPARE(contactRow(cleo), typed.join('|'));
        QCOMPARE(contactRow(bob), "Bob Baker|bob@example.org" + QString("|<null>").repeated(7));

        // Closing stores what was typed and shows the main window.
        type(b, "Text8", "555-0200");
        m->hide();
        click(b, "Command1");
        QVERIFY(!frmAddressBook::existing());
        QVERIFY(m->isVisible());
        QCOMPARE(contactField(bob, "Phone1").toString(), QString("555-0200"));
        QVERIFY(TestEnv::shownTexts().isEmpty());

        // Opened again: on the first contact; Delete down to nothing.
        QVERIFY(open());
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Bob Baker", "Cleo Cole"}));
        QCOMPARE(text(b, "Text1"), QString("Ann Archer"));
        type(b, "Text2", "typed-for-a-deleted-contact@example.org");
        click(b, "SSCommand2");
        QCOMPARE(rows("SELECT Contact_ID FROM Contacts"), (QStringList{QString::number(bob), QString::number(cleo)}));
        QCOMPARE(shown(b).mid(0, 2), (QStringList{"Bob Baker", "bob@example.org"}));
        QCOMPARE(listed(b), QStringList({"Bob Baker", "Cleo Cole"}));
        click(b, "SSCommand2");
        QCOMPARE(text(b, "Text1"), QString("Cleo Cole"));
        click(b, "SSCommand2");
        QVERIFY(listed(b).isEmpty());
        QCOMPARE(shown(b), QStringList(9, QString()));
        QVERIFY(picture(b)->picture().isNull());
        // Nor do the boxes take input, which would have nowhere to go.
        for (const char *name : Boxes) {
            type(b, name, "typed for no one");
            QVERIFY2(!find<QLineEdit>(b, name)->isEnabled(), name);
        }
        QCOMPARE(shown(b), QStringList(9, QString()));

        // With no contact, Delete and Link Picture do nothing; a new
        // contact is shown, and the close box stores what was typed.
        click(b, "SSCommand2");
        click(b, "SSCommand3");
        QCOMPARE(FileDialogs::shownCount(), 0);
        QVERIFY(TestEnv::shownTexts().isEmpty());
        newContact({"Dana Doe"});
        QCOMPARE(listed(b), QStringList({"Dana Doe"}));
        QCOMPARE(text(b, "Text1"), QString("Dana Doe"));
        for (const char *name : Boxes)
            QVERIFY2(find<QLineEdit>(b, name)->isEnabled(), name);
        type(b, "Text2", "dana@example.org");
        m->hide();
        QVERIFY(b->close());
        settle();
        QVERIFY(!frmAddressBook::existing());
        QVERIFY(m->isVisible());
        QCOMPARE(rows("SELECT Name, EMail FROM Contacts"), QStringList{"Dana Doe|dana@example.org"}); // the others are gone
    }

    void theLayout()
    {
        newFile();
        addContact(QStringLiteral("Ann Archer"));
        QVERIFY(start());
        auto place = [this](const QString &name) {
            QWidget *w = b->findChild<QWidget *>(name);
            return w ? QRect(w->mapTo(b, QPoint(0, 0)), w->size()) : QRect();
        };
        // Line by line from the top, each line's controls left to right: the
        // three buttons; the list and the picture (of one height); name,
        // e-mail and the small picture; the two address lines; city, state
        // and ZIP; the two telephone numbers; Done at the bottom right.
        const QList<QStringList> lines = {{"SSCommand1", "SSCommand2", "SSCommand3"}, {"lstAll", "imgPicture"},
                                          {"Text1", "Text2", "Image1"}, {"Text3"}, {"Text4"}, {"Text5", "Text6", "Text7"},
                                          {"Text8", "Text9"}, {"Command1"}};
        int above = -1;
        for (const QStringList &line : lines) {
            const QRect first = place(line[0]);
            QVERIFY2(first.top() > above, qPrintable(line[0]));
            int left = -1;
            for (const QString &name : line) {
                const QRect r = place(name);
                QVERIFY2(!r.isEmpty() && r.left() > left && qAbs(r.center().y() - first.center().y()) <= 2,
                         qPrintable(name));
                left = r.right();
                above = std::max(above, r.bottom());
            }
        }
        QCOMPARE(place("lstAll").top(), place("imgPicture").top());
        QCOMPARE(place("lstAll").height(), place("imgPicture").height());
        QVERIFY(qAbs(place("Command1").right() - place("Text9").right()) <= 2);
        // Each captioned box has its label just left of it on its line.
        const QList<QPair<QString, QString>> captions = {{"Name", "Text1"}, {"E-mail", "Text2"}, {"Address", "Text3"},
                                                         {"Phone 1", "Text8"}, {"Phone 2", "Text9"}};
        for (const auto &[caption, boxName] : captions) {
            QLabel *label = nullptr;
            for (QLabel *l : b->findChildren<QLabel *>())
                if (l->text() == caption)
                    label = l;
            QVERIFY2(label, qPrintable(caption));
            QCOMPARE(label->buddy(), b->findChild<QWidget *>(boxName));
            const QRect r(label->mapTo(b, QPoint(0, 0)), label->size()), box = place(boxName);
            QVERIFY2(qAbs(r.center().y() - box.center().y()) <= 2 && r.right() < box.left(), qPrintable(caption));
        }
    }

    void aBlankCancelledOrOverlongNameAddsNothing()
    {
        newFile();
        addContact(QStringLiteral("Ann Archer"));
        QVERIFY(start());
        type(b, "Text8", "555-0100");
        newContact({"   "});
        newContact({QString()}); // Cancel
        QCOMPARE(InputBox::shown().size(), 2);
        QCOMPARE(listed(b), QStringList({"Ann Archer"}));
        QCOMPARE(text(b, "Text1"), QString("Ann Archer"));
        // New Contact stored what was typed all the same.
        QCOMPARE(rows("SELECT Name, Phone1 FROM Contacts"), QStringList{"Ann Archer|555-0100"});
        QVERIFY(TestEnv::shownTexts().isEmpty());

        // Too long a name: told, and asked for again with it.
        const QString longName(101, QLatin1Char('z'));
        InputBox::clear();
        newContact({longName, "Zed Zane"});
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("too long"));
        QCOMPARE(InputBox::shown().size(), 2);
        QCOMPARE(InputBox::shown().at(1).defaultText, longName);
        QCOMPARE(count("Contacts"), 2);
        QCOMPARE(text(b, "Text1"), QString("Zed Zane"));
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Zed Zane"}));
        // Cancelled the second time: nothing is added, the contact stays.
        newContact({longName});
        QCOMPARE(count("Contacts"), 2);
        QCOMPARE(text(b, "Text1"), QString("Zed Zane"));
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Zed Zane"}));
    }

    void equalNamesShowTheFirstAndNamelessOnesAreNotListed()
    {
        newFile();
        addContact(QStringLiteral("Sam Lee"), QStringLiteral("first@example.org"));
        addContact(QStringLiteral("Pat O'Brien"), QStringLiteral("pat@example.org"));
        addContactWith({{"EMail", "nameless@example.org"}});
        addContact(QStringLiteral("Sam Lee"), QStringLiteral("second@example.org"));
        addContact(QStringLiteral("sam lee"), QStringLiteral("third@example.org"));
        QVERIFY(start());
        QCOMPARE(listed(b), QStringList({"Sam Lee", "Pat O'Brien", "Sam Lee", "sam lee"}));
        clickName(b, 1);
        QCOMPARE(text(b, "Text1"), QString("Pat O'Brien"));
        QCOMPARE(text(b, "Text2"), QString("pat@example.org"));
        clickName(b, 2);
        QCOMPARE(text(b, "Text2"), QString("first@example.org"));
        clickName(b, 1);
        clickName(b, 3);
        QCOMPARE(text(b, "Text2"), QString("first@example.org"));
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void aRenamedContactKeepsItsOldEntryUntilTheListIsRebuilt()
    {
        newFile();
        const int ann = addContact(QStringLiteral("Ann Archer"));
        const int bob = addContact(QStringLiteral("Bob Baker"));
        QVERIFY(start());
        clickName(b, 0);
        type(b, "Text1", "Anna Archer");
        QTest::keyClick(nameList(b), Qt::Key_Down); // the keyboard chooses too
        settle();
        QCOMPARE(text(b, "Text1"), QString("Bob Baker"));
        QCOMPARE(contactField(ann, "Name").toString(), QString("Anna Archer"));
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Bob Baker"}));

        // Choosing the stale entry of the contact shown loses nothing typed.
        type(b, "Text1", "Robert Baker");
        type(b, "Text8", "555-0200");
        clickName(b, 1);
        QCOMPARE(rows("SELECT Name, Phone1 FROM Contacts WHERE Contact_ID = ?", {bob}), QStringList{"Robert Baker|555-0200"});
        QCOMPARE(text(b, "Text1"), QString("Robert Baker"));
        QCOMPARE(text(b, "Text8"), QString("555-0200"));
        // The stale entry of another contact finds nothing: the contact stays.
        clickName(b, 0);
        QCOMPARE(text(b, "Text1"), QString("Robert Baker"));
        QVERIFY(TestEnv::shownTexts().isEmpty());

        newContact({"Cleo Cole"});
        QCOMPARE(listed(b), QStringList({"Anna Archer", "Robert Baker", "Cleo Cole"}));
        QTest::keyClick(nameList(b), Qt::Key_Home);
        settle();
        QCOMPARE(text(b, "Text1"), QString("Anna Archer"));
    }

    void anOverlongTextIsRefusedAndKeptInItsBox()
    {
        newFile();
        const int ann = addContactWith({{"Name", "Ann Archer"}, {"ZIP", "62701"}});
        addContact(QStringLiteral("Bob Baker"));
        QVERIFY(start());
        const QString stored = "SELECT Name, Address1, ZIP FROM Contacts WHERE Contact_ID = ?";
        const QString longName(101, QLatin1Char('n'));
        type(b, "Text1", longName);
        type(b, "Text3", "1 Elm Street");
        clickName(b, 1);
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("too long"));
        QVERIFY(TestEnv::shownLast().text.contains("at most 100"));
        QCOMPARE(text(b, "Text1"), longName);
        QCOMPARE(text(b, "Text3"), QString("1 Elm Street"));
        QCOMPARE(rows(stored, {ann}), QStringList{"Ann Archer|<null>|62701"});
        // The list points at the contact shown, not at the one clicked; by
        // the keyboard too.
        QCOMPARE(nameList(b)->selectedItems(), QList<QListWidgetItem *>{nameList(b)->item(0)});
        QCOMPARE(nameList(b)->currentRow(), 0);
        MessageBox::clearShown();
        QTest::keyClick(nameList(b), Qt::Key_Down);
        settle();
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(text(b, "Text1"), longName);
        QCOMPARE(nameList(b)->selectedItems(), QList<QListWidgetItem *>{nameList(b)->item(0)});
        MessageBox::clearShown();

        // A ZIP code has room for 50 characters: refused on Done, the
        // window stays open with it and the main window stays hidden.
        type(b, "Text1", QString(100, QLatin1Char('n')));
        const QString longZip(51, QLatin1Char('9'));
        type(b, "Text7", longZip);
        m->hide();
        MessageBox::clearShown();
        click(b, "Command1");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("ZIP"));
        QCOMPARE(frmAddressBook::existing(), b);
        QVERIFY(!m->isVisible());
        QCOMPARE(text(b, "Text7"), longZip);
        QCOMPARE(rows(stored, {ann}), QStringList{"Ann Archer|<null>|62701"});

        // New Contact refuses too before asking for a name.
        click(b, "SSCommand1");
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(InputBox::shown().isEmpty());
        QCOMPARE(count("Contacts"), 2);

        type(b, "Text7", "62702");
        MessageBox::clearShown();
        click(b, "Command1");
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QVERIFY(!frmAddressBook::existing());
        QVERIFY(m->isVisible());
        QCOMPARE(rows(stored, {ann}), QStringList{QString(100, QLatin1Char('n')) + "|1 Elm Street|62702"});
    }
};

TARVELA_TEST_CLASS(AddressBookTest)
#include "tst_addressbook.moc"
