#include "AddressBookHelpers.h"

using namespace AddressBookHelpers;

class AddressBookTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void theRoad()
    {
        prepareDatabase();
        const int ann = addContactWith({{"Name", "Ann Archer"}, {"EMail", "ann@example.org"}, {"Address1", "1 Elm Street"},
                                    {"Address2", "Flat 2"}, {"City", "Springfield"}, {"State", "IL"}, {"ZIP", "62701"},
                                    {"Phone1", "555-0100"}, {"Phone2", "555-0101"}});
        const int bob = addContact(QStringLiteral("Bob Baker"), QStringLiteral("bob@example.org"));
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        QCOMPARE(b->windowTitle(), QString("Tarvela Address Book"));
        QCOMPARE(find<QPushButton>(b, "SSCommand1")->text(), QString("New Contact"));
        QCOMPARE(find<QPushButton>(b, "SSCommand2")->text(), QString("Delete Contact"));
        QCOMPARE(find<QPushButton>(b, "SSCommand3")->text(), QString("Link Picture"));
        QCOMPARE(find<QPushButton>(b, "Command1")->text(), QString("&Done"));
        QCOMPARE(find<QLabel>(b, "Image1")->toolTip(), QString("Double-click to send e-mail"));
        QVERIFY(!find<QLabel>(b, "Image1")->pixmap().isNull());

        // Open on the first contact; nothing chosen in the list.
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Bob Baker"}));
        QVERIFY(nameList(b)->selectedItems().isEmpty());
        QCOMPARE(shown(b), QStringList({"Ann Archer", "ann@example.org", "1 Elm Street", "Flat 2", "Springfield", "IL", "62701",
                                        "555-0100", "555-0101"}));
        QVERIFY(picture(b)->picture().isNull());

        // New Contact keeps the blanks around the name.
        InputBox::setNextAnswers({QStringLiteral("  Cleo Cole  ")});
        click(b, "SSCommand1");
        QCOMPARE(InputBox::shown().size(), 1);
        QCOMPARE(InputBox::shown().at(0).prompt, QString("Enter the name of the new contact."));
        QCOMPARE(InputBox::shown().at(0).title, QString("Name?"));
        QCOMPARE(InputBox::shown().at(0).defaultText, QString());
        QCOMPARE(count("Contacts"), 3);
        const int cleo = TestEnv::scalar("SELECT max(Contact_ID) FROM Contacts").toInt();
        QCOMPARE(contactField(cleo, "Name").toString(), QString("  Cleo Cole  "));
        QCOMPARE(shown(b), QStringList({"  Cleo Cole  ", "", "", "", "", "", "", "", ""}));
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Bob Baker", "  Cleo Cole  "}));

        // Every box goes into its own field when another contact is chosen.
        const QStringList typed{"Cleo Cole", "cleo@example.org", "9 Oak Road", "Suite 5", "Shelbyville", "KY", "40065", "555-0300",
                                "555-0301"};
        for (int i = 0; i < 9; ++i)
            type(b, Boxes[i], typed[i]);
        clickName(b, 1);
        QCOMPARE(text(b, "Text1"), QString("Bob Baker"));
        for (int i = 0; i < 9; ++i)
            QCOMPARE(contactField(cleo, Fields[i]).toString(), typed[i]);
        QCOMPARE(contactField(bob, "EMail").toString(), QString("bob@example.org"));
        QVERIFY(contactField(bob, "Phone1").isNull());

        // Closing stores what was typed and shows the main window.
        type(b, "Text8", "555-0200");
        m->hide();
        click(b, "Command1");
        QVERIFY(!frmAddressBook::existing());
        QVERIFY(m->isVisible());
        QCOMPARE(contactField(bob, "Phone1").toString(), QString("555-0200"));
        QVERIFY(TestEnv::shownTexts().isEmpty());

        // Opened again: on the first contact; Delete down to nothing.
        b = openBook(m);
        QVERIFY(b);
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Bob Baker", "Cleo Cole"}));
        QCOMPARE(text(b, "Text1"), QString("Ann Archer"));
        type(b, "Text2", "typed-for-a-deleted-contact@example.org");
        click(b, "SSCommand2");
        QCOMPARE(count("Contacts"), 2);
        QVERIFY(contactField(ann, "Name").isNull());
        QCOMPARE(text(b, "Text1"), QString("Bob Baker"));
        QCOMPARE(text(b, "Text2"), QString("bob@example.org"));
        QCOMPARE(listed(b), QStringList({"Bob Baker", "Cleo Cole"}));
        click(b, "SSCommand2");
        QCOMPARE(text(b, "Text1"), QString("Cleo Cole"));
        click(b, "SSCommand2");
        QCOMPARE(count("Contacts"), 0);
        QVERIFY(listed(b).isEmpty());
        QCOMPARE(shown(b), QStringList({"", "", "", "", "", "", "", "", ""}));
        QVERIFY(picture(b)->picture().isNull());

        // With no contact, Delete and Link Picture do nothing.
        click(b, "SSCommand2");
        click(b, "SSCommand3");
        QCOMPARE(FileDialogs::shownCount(), 0);
        QVERIFY(TestEnv::shownTexts().isEmpty());
        click(b, "Command1");
        QVERIFY(!frmAddressBook::existing());
        QCOMPARE(count("Contacts"), 0);
    }

    void theLayout()
    {
        prepareDatabase();
        addContact(QStringLiteral("Ann Archer"));
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        settle();
        auto place = [b](const char *name) {
            QWidget *w = b->findChild<QWidget *>(QString::fromLatin1(name));
            return w ? QRect(w->mapTo(b, QPoint(0, 0)), w->size()) : QRect();
        };
        auto sameLine = [](const QRect &a, const QRect &c) { return qAbs(a.center().y() - c.center().y()) <= 2; };
        // The three buttons in a row across the top.
        const QRect b1 = place("SSCommand1"), b2 = place("SSCommand2"), b3 = place("SSCommand3");
        QVERIFY(sameLine(b1, b2) && sameLine(b2, b3));
        QVERIFY(b1.right() < b2.left() && b2.right() < b3.left());
        // Under them the list and the picture, side by side and of one height.
        const QRect list = place("lstAll"), pic = place("imgPicture");
        QVERIFY(list.top() > b1.bottom());
        QCOMPARE(list.top(), pic.top());
        QCOMPARE(list.height(), pic.height());
        QVERIFY(list.right() < pic.left());
        // Below them the boxes: name and e-mail on one line with the small
        // picture right of the e-mail box, the two address lines, city, state
        // and ZIP on one line, the two telephone numbers on one line.
        QRect box[10];
        for (int i = 1; i <= 9; ++i)
            box[i] = place(Boxes[i - 1]);
        const QRect envelope = place("Image1");
        QVERIFY(box[1].top() > list.bottom());
        QVERIFY(sameLine(box[1], box[2]) && box[1].right() < box[2].left());
        QVERIFY(sameLine(box[2], envelope) && box[2].right() < envelope.left());
        QVERIFY(box[3].top() > box[1].bottom() && box[4].top() > box[3].bottom() && box[5].top() > box[4].bottom());
        QVERIFY(sameLine(box[5], box[6]) && sameLine(box[6], box[7]));
        QVERIFY(box[5].right() < box[6].left() && box[6].right() < box[7].left());
        QVERIFY(box[8].top() > box[5].bottom());
        QVERIFY(sameLine(box[8], box[9]) && box[8].right() < box[9].left());
        // Each captioned box has its label just left of it on its line.
        const QList<QPair<QString, int>> captions = {{"Name", 1}, {"E-mail", 2}, {"Address", 3}, {"Phone 1", 8}, {"Phone 2", 9}};
        for (const auto &c : captions) {
            QLabel *label = nullptr;
            for (QLabel *l : b->findChildren<QLabel *>())
                if (l->text() == c.first)
                    label = l;
            QVERIFY2(label, qPrintable(c.first));
            QCOMPARE(label->buddy(), b->findChild<QWidget *>(QString::fromLatin1(Boxes[c.second - 1])));
            const QRect r(label->mapTo(b, QPoint(0, 0)), label->size());
            QVERIFY2(sameLine(r, box[c.second]) && r.right() < box[c.second].left(), qPrintable(c.first));
        }
        // Done at the bottom right.
        const QRect done = place("Command1");
        QVERIFY(done.top() > box[9].bottom());
        QVERIFY(qAbs(done.right() - box[9].right()) <= 2);
    }

    void theCloseBoxStoresAndShowsTheMainWindow()
    {
        prepareDatabase();
        const int ann = addContact(QStringLiteral("Ann Archer"));
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        type(b, "Text5", "Capital City");
        m->hide();
        QVERIFY(b->close());
        settle();
        QVERIFY(!frmAddressBook::existing());
        QVERIFY(m->isVisible());
        QCOMPARE(contactField(ann, "City").toString(), QString("Capital City"));
    }

    void anEmptyBookTakesItsFirstContact()
    {
        prepareDatabase();
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        QVERIFY(listed(b).isEmpty());
        QCOMPARE(shown(b), QStringList({"", "", "", "", "", "", "", "", ""}));
        InputBox::setNextAnswers({QStringLiteral("Dana Doe")});
        click(b, "SSCommand1");
        QCOMPARE(listed(b), QStringList({"Dana Doe"}));
        QCOMPARE(text(b, "Text1"), QString("Dana Doe"));
        type(b, "Text2", "dana@example.org");
        click(b, "Command1");
        QCOMPARE(TestEnv::scalar("SELECT EMail FROM Contacts WHERE Name = 'Dana Doe'").toString(), QString("dana@example.org"));
    }

    void aBlankOrCancelledNameAddsNothing()
    {
        prepareDatabase();
        addContact(QStringLiteral("Ann Archer"));
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        type(b, "Text8", "555-0100");
        InputBox::setNextAnswers({QStringLiteral("   ")});
        click(b, "SSCommand1");
        InputBox::setNextAnswers({QString()}); // Cancel
        click(b, "SSCommand1");
        QCOMPARE(InputBox::shown().size(), 2);
        QCOMPARE(count("Contacts"), 1);
        QCOMPARE(listed(b), QStringList({"Ann Archer"}));
        QCOMPARE(text(b, "Text1"), QString("Ann Archer"));
        // New Contact stored what was typed all the same.
        QCOMPARE(TestEnv::scalar("SELECT Phone1 FROM Contacts").toString(), QString("555-0100"));
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void equalNamesShowTheFirstAndNamelessOnesAreNotListed()
    {
        prepareDatabase();
        addContact(QStringLiteral("Sam Lee"), QStringLiteral("first@example.org"));
        addContact(QStringLiteral("Pat O'Brien"), QStringLiteral("pat@example.org"));
        addContactWith({{"EMail", "nameless@example.org"}});
        addContact(QStringLiteral("Sam Lee"), QStringLiteral("second@example.org"));
        addContact(QStringLiteral("sam lee"), QStringLiteral("third@example.org"));
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
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

    void theKeyboardChoosesNamesToo()
    {
        prepareDatabase();
        addContact(QStringLiteral("Ann Archer"));
        addContact(QStringLiteral("Bob Baker"));
        addContact(QStringLiteral("Cleo Cole"));
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        clickName(b, 0);
        type(b, "Text9", "555-0909");
        QTest::keyClick(nameList(b), Qt::Key_Down);
        settle();
        QCOMPARE(text(b, "Text1"), QString("Bob Baker"));
        QTest::keyClick(nameList(b), Qt::Key_End);
        settle();
        QCOMPARE(text(b, "Text1"), QString("Cleo Cole"));
        QCOMPARE(TestEnv::scalar("SELECT Phone2 FROM Contacts WHERE Name = 'Ann Archer'").toString(), QString("555-0909"));
    }

    void aRenamedContactKeepsItsOldEntryUntilTheListIsRebuilt()
    {
        prepareDatabase();
        const int ann = addContact(QStringLiteral("Ann Archer"));
        const int bob = addContact(QStringLiteral("Bob Baker"));
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        type(b, "Text1", "Anna Archer");
        clickName(b, 1);
        QCOMPARE(contactField(ann, "Name").toString(), QString("Anna Archer"));
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Bob Baker"}));

        // Choosing the stale entry of the contact shown loses nothing typed.
        type(b, "Text1", "Robert Baker");
        type(b, "Text8", "555-0200");
        clickName(b, 1);
        QCOMPARE(contactField(bob, "Name").toString(), QString("Robert Baker"));
        QCOMPARE(contactField(bob, "Phone1").toString(), QString("555-0200"));
        QCOMPARE(text(b, "Text1"), QString("Robert Baker"));
        QCOMPARE(text(b, "Text8"), QString("555-0200"));
        // The stale entry of another contact finds nothing: the contact stays.
        clickName(b, 0);
        QCOMPARE(text(b, "Text1"), QString("Robert Baker"));
        QVERIFY(TestEnv::shownTexts().isEmpty());

        InputBox::setNextAnswers({QStringLiteral("Cleo Cole")});
        click(b, "SSCommand1");
        QCOMPARE(listed(b), QStringList({"Anna Archer", "Robert Baker", "Cleo Cole"}));
        clickName(b, 0);
        QCOMPARE(text(b, "Text1"), QString("Anna Archer"));
    }

    void anOverlongTextIsRefusedAndKeptInItsBox()
    {
        prepareDatabase();
        const int ann = addContactWith({{"Name", "Ann Archer"}, {"ZIP", "62701"}});
        addContact(QStringLiteral("Bob Baker"));
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        const QString longName(101, QLatin1Char('n'));
        type(b, "Text1", longName);
        type(b, "Text3", "1 Elm Street");
        clickName(b, 1);
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("too long"));
        QVERIFY(TestEnv::shownLast().text.contains("at most 100"));
        QCOMPARE(text(b, "Text1"), longName);
        QCOMPARE(text(b, "Text3"), QString("1 Elm Street"));
        QCOMPARE(contactField(ann, "Name").toString(), QString("Ann Archer"));
        QVERIFY(contactField(ann, "Address1").isNull());
        // The list does not point at a contact that is not the one shown.
        QVERIFY(b->findChild<QListWidget *>("lstAll")->selectedItems().isEmpty());

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
        QCOMPARE(contactField(ann, "ZIP").toString(), QString("62701"));

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
        QCOMPARE(contactField(ann, "Name").toString(), QString(100, QLatin1Char('n')));
        QCOMPARE(contactField(ann, "Address1").toString(), QString("1 Elm Street"));
        QCOMPARE(contactField(ann, "ZIP").toString(), QString("62702"));
    }

    void anOverlongNewNameIsAskedForAgain()
    {
        prepareDatabase();
        addContact(QStringLiteral("Ann Archer"));
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        const QString longName(101, QLatin1Char('z'));
        InputBox::setNextAnswers({longName, QStringLiteral("Zed Zane")});
        click(b, "SSCommand1");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("too long"));
        QCOMPARE(InputBox::shown().size(), 2);
        QCOMPARE(InputBox::shown().at(1).defaultText, longName);
        QCOMPARE(count("Contacts"), 2);
        QCOMPARE(text(b, "Text1"), QString("Zed Zane"));
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Zed Zane"}));

        // Cancelled the second time: nothing is added, the contact stays.
        InputBox::setNextAnswers({longName});
        click(b, "SSCommand1");
        QCOMPARE(count("Contacts"), 2);
        QCOMPARE(text(b, "Text1"), QString("Zed Zane"));
        QCOMPARE(listed(b), QStringList({"Ann Archer", "Zed Zane"}));
    }
};

TARVELA_TEST_CLASS(AddressBookTest)
#include "tst_addressbook.moc"
