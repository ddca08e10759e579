#pragma once
// "Tarvela Assignment Search": finds assignments of every semester by a piece
// of their title or comments, and makes a found assignment's class the main
// window's current class.
#include "platform/Form.h"
#include "store/AssignmentSearch.h"

#include <QVector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmSearch : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmSearch)
public:
    frmSearch();

protected:
    void Form_Unload(bool &cancel) override;

private Q_SLOTS:
    void cmdFind_Click();
    void lstResults_DblClick();
    void cmdDone_Click();

private:
    void jumpTo(const AssignmentSearch::Hit &hit);

    QLineEdit *txtSearch;
    QPushButton *cmdFind;
    QListWidget *lstResults;
    QLabel *lblResults;
    QPushButton *cmdDone;
    // The hits, in step with the entries of lstResults.
    QVector<AssignmentSearch::Hit> m_hits;
};
