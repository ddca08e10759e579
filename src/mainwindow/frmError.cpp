#include "frmError.h"

#include "platform/Artwork.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmError::frmError()
{
    setObjectName(QStringLiteral("frmError"));
    setWindowTitle(QStringLiteral("Tarvela Error!"));
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(Artwork::picture(QStringLiteral("error"), 48));
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    label->setText(QStringLiteral("An error has occured in Tarvela.  Please contact technical support through the "
                                  "Web Support page of the Help menu and describe what you were doing.  "
                                  "Be sure to have the following information available:"));
    txtError = new QPlainTextEdit(this);
    txtError->setObjectName(QStringLiteral("txtError"));
    txtError->setReadOnly(true);
    Command1 = new QPushButton(QStringLiteral("&Recover"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("&Terminate"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto *top = new QHBoxLayout;
    top->addWidget(image, 0, Qt::AlignTop);
    top->addWidget(label, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(txtError, 1);
    layout->addLayout(buttons);
    resize(420, 260);

    connect(Command1, &QPushButton::clicked, this, &frmError::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmError::Command2_Click);
}

QString frmError::compose(int number, const QString &form, const QString &procedure, const QString &description)
{
    const QString num = number < 0 ? QString::number(number) : QLatin1Char(' ') + QString::number(number);
    return QStringLiteral("Error number was ") + num + QLatin1Char('\n')
        + QStringLiteral("Form was ") + (form.isEmpty() ? QStringLiteral("No form given.") : form) + QLatin1Char('\n')
        + QStringLiteral("Routine was ") + (procedure.isEmpty() ? QStringLiteral("No procedure given.") : procedure) + QLatin1Char('\n')
        + QStringLiteral("Description: ") + (description.isEmpty() ? QStringLiteral("No description given.") : description)
        + QLatin1Char('\n');
}

void frmError::Form_Activate()
{
    txtError->clear();
    txtError->setPlainText(compose(m_number, m_form, m_procedure, m_description));
}

void frmError::report(const RuntimeError &error, const QString &form, const QString &procedure, bool messageFirst)
{
    report(error.number(), error.description(), form, procedure, messageFirst);
}

void frmError::report(int number, const QString &description, const QString &form, const QString &procedure, bool messageFirst)
{
    if (messageFirst)
        MessageBox::show(description, MessageBox::OkOnly, MessageBox::Critical, QString());
    frmError *w = instance();
    w->setErrorDescription(description);
    w->setErrorNumber(number);
    w->setErrorForm(form);
    w->setErrorProcedure(procedure);
    w->Show();
}

void frmError::Command1_Click() { Unload(); }

void frmError::Command2_Click() { Platform::endProgram(); }
