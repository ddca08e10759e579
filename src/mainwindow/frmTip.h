#pragma once
// Tip of the day: a random line of the tips file in the program's folder.
#include "platform/Form.h"

#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

class frmTip : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmTip)
public:
    frmTip();

    // Reads the tips file; false when the name is empty or no such file exists.
    bool LoadTips(const QString &fileName);
    void DoNextTip();
    void DisplayCurrentTip();
    int currentTip() const { return CurrentTip; }
    const QStringList &tips() const { return m_tips; }

    // Help > Tip of the Day shows the tips even when they are off at start-up.
    static void setShowRegardless(bool on);

    static QString notFoundText();

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;

private Q_SLOTS:
    void cmdNextTip_Click();
    void cmdOK_Click();
    void chkLoadTipsAtStartup_Click();

private:
    QStringList m_tips;
    int CurrentTip = 0;
    QLabel *lblTipText;
    QPushButton *cmdNextTip;
    QPushButton *cmdOK;
    QCheckBox *chkLoadTipsAtStartup;
};
