#pragma once
// The address book: the contacts listed by name, one contact shown and
// edited at a time in bound boxes (stored when another contact is chosen,
// on New and Delete, and when the window closes), a linked picture, and a
// new e-mail message to the contact by a double-click on the e-mail box.
#include "platform/Form.h"

class ClickLabel;
class ContactPicture;
class DataSource;
class NameList;
class QLineEdit;
class QPushButton;
class RuntimeError;

class frmAddressBook : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmAddressBook)
public:
    frmAddressBook();

    // Opens the address book (modeless), or brings it forward when open.
    static void open();

    // The contacts; its current row is the contact shown.
    DataSource *datContacts;

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void datContacts_Reposition();
    void lstAll_Click();
    void SSCommand1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void Text2_DblClick();
    void Image1_DblClick();
    void Command1_Click();

private:
    void RebuildList();
    // Stores what was typed for the contact shown; false (after telling
    // why) when it cannot be stored, the boxes keeping what they hold.
    bool storePending();
    void tellNotStored(const RuntimeError &e);
    // The list's entry of the contact shown (the list holds the named
    // contacts in their stored order); -1 when it has none.
    int shownEntry() const;
    void addContact(const QString &name);
    void sendMail(bool hourglass);

    NameList *lstAll;
    ContactPicture *imgPicture;
    ClickLabel *Image1; // the envelope: a double-click sends e-mail
    QLineEdit *Text1; // field Name
    QLineEdit *Text2; // field EMail (a double-click sends e-mail)
    QLineEdit *Text3; // field Address1
    QLineEdit *Text4; // field Address2
    QLineEdit *Text5; // field City
    QLineEdit *Text6; // field State
    QLineEdit *Text7; // field ZIP
    QLineEdit *Text8; // field Phone1
    QLineEdit *Text9; // field Phone2
    QPushButton *SSCommand1; // "New Contact"
    QPushButton *SSCommand2; // "Delete Contact"
    QPushButton *SSCommand3; // "Link Picture"
    QPushButton *Command1; // "Done"
};
