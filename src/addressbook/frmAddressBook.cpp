#include "frmAddressBook.h"

#include "AddressBook.h"
#include "AddressBookControls.h"
#include "platform/Controls.h"
#include "platform/FileDialogs.h"
#include "platform/InputBox.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Shell.h"
#include "platform/Trap.h"
#include "store/CurrentSelection.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"
#include "store/modTransport.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString NamePrompt = QStringLiteral("Enter the name of the new contact.");
const QString NameTitle = QStringLiteral("Name?");

// The address book opens the database file of the program's folder itself.
QString databaseFile() { return databaseFileIn(Platform::programFolder()); }

using Trap::tell;

// A small envelope beside the e-mail box.
QPixmap envelope()
{
    QPixmap pm(22, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(1.5, 2.5, 19, 12);
    p.setPen(QPen(QColor(60, 60, 90), 1));
    p.setBrush(QColor(250, 246, 224));
    p.drawRect(body);
    p.drawLine(body.topLeft(), QPointF(body.center().x(), body.center().y() + 1));
    p.drawLine(body.topRight(), QPointF(body.center().x(), body.center().y() + 1));
    return pm;
}

QLineEdit *box(QWidget *parent, const char *name)
{
    auto *b = new QLineEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel *caption(QWidget *parent, const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

frmAddressBook::frmAddressBook()
{
    setObjectName(QStringLiteral("frmAddressBook"));
    setWindowTitle(QStringLiteral("Tarvela Address Book"));

    datContacts = new DataSource(this, QStringLiteral("datContacts"));

    SSCommand1 = button(this, "SSCommand1", QStringLiteral("New Contact"));
    SSCommand2 = button(this, "SSCommand2", QStringLiteral("Delete Contact"));
    SSCommand3 = button(this, "SSCommand3", QStringLiteral("Link Picture"));

    lstAll = new NameList(this);
    lstAll->setObjectName(QStringLiteral("lstAll"));
    imgPicture = new ContactPicture(this);
    imgPicture->setObjectName(QStringLiteral("imgPicture"));

    Text1 = box(this, "Text1");
    Text2 = box(this, "Text2");
    Image1 = new ClickLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(envelope());
    Image1->setToolTip(QStringLiteral("Double-click to send e-mail"));
    Text3 = box(this, "Text3");
    Text4 = box(this, "Text4");
    Text5 = box(this, "Text5");
    Text6 = box(this, "Text6");
    Text7 = box(this, "Text7");
    Text8 = box(this, "Text8");
    Text9 = box(this, "Text9");
    Command1 = button(this, "Command1", QStringLiteral("&Done"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(SSCommand1);
    buttons->addWidget(SSCommand2);
    buttons->addWidget(SSCommand3);
    buttons->addStretch();

    auto *lists = new QHBoxLayout;
    lists->addWidget(lstAll, 3);
    lists->addWidget(imgPicture, 2);

    auto *mail = new QHBoxLayout;
    mail->setSpacing(4);
    mail->addWidget(Text2, 1);
    mail->addWidget(Image1);

    auto *place = new QHBoxLayout;
    place->addWidget(Text5, 3);
    place->addWidget(Text6, 1);
    place->addWidget(Text7, 1);

    auto *boxes = new QGridLayout;
    boxes->addWidget(caption(this, QStringLiteral("Name"), Text1), 0, 0);
    boxes->addWidget(Text1, 0, 1);
    boxes->addWidget(caption(this, QStringLiteral("E-mail"), Text2), 0, 2);
    boxes->addLayout(mail, 0, 3);
    boxes->addWidget(caption(this, QStringLiteral("Address"), Text3), 1, 0);
    boxes->addWidget(Text3, 1, 1, 1, 3);
    boxes->addWidget(Text4, 2, 1, 1, 3);
    boxes->addLayout(place, 3, 1, 1, 3);
    boxes->addWidget(caption(this, QStringLiteral("Phone 1"), Text8), 4, 0);
    boxes->addWidget(Text8, 4, 1);
    boxes->addWidget(caption(this, QStringLiteral("Phone 2"), Text9), 4, 2);
    boxes->addWidget(Text9, 4, 3);
    boxes->setColumnStretch(1, 1);
    boxes->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(lists, 1);
    layout->addLayout(boxes);
    layout->addWidget(Command1, 0, Qt::AlignRight);
    resize(520, 460);

    // Without a contact shown the boxes take no input: there is nothing to store it in.
    for (QLineEdit *b : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9})
        b->setEnabled(false);
    datContacts->bind(Text1, QStringLiteral("Name"));
    datContacts->bind(Text2, QStringLiteral("EMail"));
    datContacts->bind(Text3, QStringLiteral("Address1"));
    datContacts->bind(Text4, QStringLiteral("Address2"));
    datContacts->bind(Text5, QStringLiteral("City"));
    datContacts->bind(Text6, QStringLiteral("State"));
    datContacts->bind(Text7, QStringLiteral("ZIP"));
    datContacts->bind(Text8, QStringLiteral("Phone1"));
    datContacts->bind(Text9, QStringLiteral("Phone2"));

    Text2->installEventFilter(this);
    connect(datContacts, &DataSource::Reposition, this, &frmAddressBook::datContacts_Reposition);
    connect(lstAll, &NameList::Click, this, &frmAddressBook::lstAll_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &frmAddressBook::SSCommand1_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &frmAddressBook::SSCommand2_Click);
    connect(SSCommand3, &QPushButton::clicked, this, &frmAddressBook::SSCommand3_Click);
    connect(Image1, &ClickLabel::doubleClicked, this, &frmAddressBook::Image1_DblClick);
    connect(Command1, &QPushButton::clicked, this, &frmAddressBook::Command1_Click);
}

void frmAddressBook::open()
{
    try {
        instance()->Show();
    } catch (const RuntimeError &e) {
        tell(e);
    }
}

void frmAddressBook::Form_Load()
{
    try {
        RebuildList();
    } catch (const RuntimeError &e) {
        tell(e);
    }
    datContacts->setDatabaseName(databaseFile());
    datContacts->setRecordSource(QStringLiteral("Contacts"));
    try {
        datContacts->Refresh();
    } catch (const RuntimeError &e) {
        tell(e);
    }
}

void frmAddressBook::Form_Unload(bool &cancel)
{
    // What the boxes hold is stored first: when it cannot be, the window
    // stays open with it.
    if (!runUnloadHooks()) {
        cancel = true;
        return;
    }
    if (CurrentSelection *main = CurrentSelection::get())
        main->showMainWindow();
}

bool frmAddressBook::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text2 && event->type() == QEvent::MouseButtonDblClick)
        Text2_DblClick();
    return Form::eventFilter(watched, event);
}

void frmAddressBook::RebuildList()
{
    lstAll->clear();
    lstAll->addItems(AddressBook::contactNames(databaseFile()));
}

bool frmAddressBook::storePending()
{
    try {
        datContacts->saveBoundControls();
        return true;
    } catch (const RuntimeError &e) {
        tellNotStored(e);
        return false;
    }
}

void frmAddressBook::tellNotStored(const RuntimeError &e)
{
    MessageBox::show(e.description() + QStringLiteral("\n\nThe contact stays shown so that you can correct the entry."),
                     MessageBox::OkOnly, MessageBox::Exclamation, Trap::titleOf(e));
}

void frmAddressBook::datContacts_Reposition()
{
    const bool shown = datContacts->hasCurrentRow();
    for (QLineEdit *b : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9})
        b->setEnabled(shown);
    try {
        QVariant picture;
        if (datContacts->hasCurrentRow())
            picture = datContacts->recordset().value(QStringLiteral("Picture"));
        // A picture that cannot be read leaves the box empty, without a word.
        imgPicture->setPicture(picture.isNull() ? QImage() : AddressBook::loadPicture(picture.toString()));
    } catch (const RuntimeError &) {
        imgPicture->clear();
    }
}

void frmAddressBook::lstAll_Click()
{
    QListWidgetItem *item = lstAll->currentItem();
    if (!item || !datContacts->isOpen())
        return;
    // The entry may name a contact renamed since the list was built: what
    // was typed for the contact shown is stored before anything is looked up.
    // When it cannot be, that contact stays shown, and so does its entry.
    if (!storePending()) {
        const int entry = shownEntry();
        lstAll->setCurrentRow(entry);
        if (entry < 0)
            lstAll->clearSelection();
        return;
    }
    try {
        datContacts->recordset().FindFirst(QStringLiteral("Name"), item->text());
    } catch (const RuntimeError &e) {
        tellNotStored(e);
    }
}

int frmAddressBook::shownEntry() const
{
    const Recordset *rs = datContacts->recordsetOrNull();
    if (!rs || !rs->hasCurrentRow() || rs->value(QStringLiteral("Name")).isNull())
        return -1;
    int entry = 0;
    for (int row = 0; row < rs->position(); ++row)
        if (!rs->valueAt(row, QStringLiteral("Name")).isNull())
            ++entry;
    return entry < lstAll->count() ? entry : -1;
}

void frmAddressBook::addContact(const QString &name)
{
    Recordset &rs = datContacts->recordset();
    rs.AddNew();
    try {
        rs.setValue(QStringLiteral("Name"), name);
        rs.Update();
    } catch (const RuntimeError &) {
        rs.CancelUpdate();
        datContacts->showCurrentRow();
        throw;
    }
    rs.MoveLast();
}

void frmAddressBook::SSCommand1_Click()
{
    try {
        if (!datContacts->isOpen() || !storePending())
            return;
        QString name = InputBox::ask(NamePrompt, NameTitle, QString());
        while (!name.trimmed().isEmpty()) {
            try {
                addContact(name);
                break;
            } catch (const RuntimeError &e) {
                if (e.number() != Err::FieldTooSmall)
                    throw;
                // Asked again with what was typed, to be shortened.
                Trap::tell(e, MessageBox::Exclamation);
                name = InputBox::ask(NamePrompt, NameTitle, name);
            }
        }
        if (name.trimmed().isEmpty())
            return;
        RebuildList();
    } catch (const RuntimeError &e) {
        tell(e);
    }
}

void frmAddressBook::SSCommand2_Click()
{
    try {
        if (!datContacts->hasCurrentRow())
            return;
        // What was typed for the contact goes with it.
        Recordset &rs = datContacts->recordset();
        rs.Delete();
        if (rs.isEmpty()) {
            datContacts->showCurrentRow();
            datContacts_Reposition();
        } else {
            rs.MoveFirst();
        }
        RebuildList();
    } catch (const RuntimeError &e) {
        tell(e);
    }
}

void frmAddressBook::SSCommand3_Click()
{
    if (!datContacts->hasCurrentRow())
        return;
    const QString chosen = FileDialogs::openFileName(QString(), QString(), AddressBook::pictureFilter());
    if (chosen.isEmpty())
        return;
    const QString path = QFileInfo(chosen).absoluteFilePath();
    try {
        // Stores what the boxes hold along with the picture's path.
        datContacts->saveRow({{QStringLiteral("Picture"), path}});
    } catch (const RuntimeError &e) {
        tellNotStored(e);
        return;
    }
    imgPicture->setPicture(AddressBook::loadPicture(path));
}

void frmAddressBook::sendMail(bool hourglass)
{
    const QString url = AddressBook::mailtoUrl(Text2->text());
    if (url.isEmpty())
        return;
    if (hourglass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    Shell::open(url);
    if (hourglass)
        QApplication::restoreOverrideCursor();
}

void frmAddressBook::Text2_DblClick() { sendMail(false); }

void frmAddressBook::Image1_DblClick() { sendMail(true); }

void frmAddressBook::Command1_Click() { Unload(); }
