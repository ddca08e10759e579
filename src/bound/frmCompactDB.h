#pragma once
// Offered when the main window closes: compacts the database when 30 days
// or more have passed since the last compaction, unless the user chose never
// to be asked.
#include "platform/Form.h"

class QCheckBox;
class QLabel;
class QPushButton;
class clsTarvelaDB;

// Shows what the database class tells the user (why a file could not be
// made or compacted) in message boxes, as it tells it.
void showNotices(clsTarvelaDB *db);

class frmCompactDB : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmCompactDB)
public:
    frmCompactDB();

    static constexpr int AskingHeightTwips = 3600;
    static constexpr int WorkingHeightTwips = 4140;

protected:
    void Form_Load() override;

private Q_SLOTS:
    void Check1_Click();
    void Command1_Click();
    void Command2_Click();
    void cTarveladb_StatusText(const QString &text);

private:
    clsTarvelaDB *cTarveladb = nullptr;
    QWidget *m_body;
    int m_askingHeight;
    int m_workingHeight;
    QCheckBox *Check1; // "Check if you never want Tarvela to optimize."
    QPushButton *Command1; // "No"
    QPushButton *Command2; // "Yes" (compact now)
    QLabel *lblStatus;
};
