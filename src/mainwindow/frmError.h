#pragma once
// The error report window: tells the error's number, the window and the
// procedure in which it happened and its description, and lets the user go
// on ("&Recover") or end the program ("&Terminate").
#include "platform/Form.h"

class QPlainTextEdit;
class QPushButton;
class RuntimeError;

class frmError : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmError)
public:
    frmError();

    // Set in this order, then show the window.
    void setErrorDescription(const QString &text) { m_description = text; }
    void setErrorNumber(int number) { m_number = number; }
    void setErrorForm(const QString &form) { m_form = form; }
    void setErrorProcedure(const QString &procedure) { m_procedure = procedure; }

    // The report protocol of the trapping handlers: optionally the
    // description in a critical message box first, then the four facts and
    // the window.
    static void report(const RuntimeError &error, const QString &form, const QString &procedure, bool messageFirst = false);
    static void report(int number, const QString &description, const QString &form, const QString &procedure,
                       bool messageFirst = false);

    // The four lines of a report.
    static QString compose(int number, const QString &form, const QString &procedure, const QString &description);

protected:
    void Form_Activate() override;

private Q_SLOTS:
    void Command1_Click();
    void Command2_Click();

private:
    QString m_description;
    int m_number = 0;
    QString m_form;
    QString m_procedure;
    QPlainTextEdit *txtError;
    QPushButton *Command1; // "Recover"
    QPushButton *Command2; // "Terminate"
};
