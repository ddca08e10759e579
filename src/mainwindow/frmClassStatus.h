#pragma once
// "Class Status": the points still missing to each of the grades A to D.
#include "platform/Form.h"

class QLabel;
class QPushButton;

class frmClassStatus : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmClassStatus)
public:
    frmClassStatus();

    // Fills the four lines from the current class's thresholds and the earned points shown.
    void fill(const QVariant thresholds[4], const QString &earnedText);

    static QString hintText();

protected:
    void Form_Activate() override;

private Q_SLOTS:
    void Command1_Click();

private:
    QLabel *lblPointsShy[4];
    QPushButton *Command1; // "Done"
    QPushButton *Command2; // "Analysis" (does nothing)
};
