#pragma once
// The class editor and the schedule editor, opened as a user opens them.
#include "SetupHelpers.h"

#include "setup/frmEditClass.h"
#include "setup/frmEditClassSchedule.h"

#include <QApplication>
#include <QCheckBox>
#include <functional>

using namespace SetupHelpers;

namespace EditClassHelpers {

inline const char *const Boxes[14] = {"txtMondayFrom",   "txtMondayTo",     "txtTuesdayFrom", "txtTuesdayTo", "txtWednesdayFrom",
                               "txtWednesdayTo",  "txtThursdayFrom", "txtThursdayTo",  "txtFridayFrom", "txtFridayTo",
                               "txtSaturdayFrom", "txtSaturdayTo",   "txtSundayFrom",  "txtSundayTo"};

inline const QString InvalidTime = QStringLiteral("Something was wrong with the way you \nentered the time for that day.  Time \ncan be "
                                           "entered in the #:## AM/PM way.\n\nFor example, 3:00 AM is a valid time.");

struct Fixture {
    int fall = 0;
    int art = 0;
    int music = 0;
};

// Two classes with every field the editor shows.
inline Fixture twoClasses()
{
    Fixture f;
    f.fall = newFile();
    f.art = addClass(f.fall, QStringLiteral("Art"));
    f.music = addClass(f.fall, QStringLiteral("Music"));
    TestEnv::exec("UPDATE Classes SET TeacherName = 'Ms. Kahlo', TeacherPhone = '555-0101', TeacherEMail = 'kahlo@example.edu', "
                  "CreditHours = 3, ClassNotes = 'Bring brushes', AppliesToGPA = 1, Points_Grade_A = 90, Points_Grade_B = 80, "
                  "Points_Grade_C = 70, Points_Grade_D = 60, PointsPossible = 100 WHERE ID = ?",
                  {f.art});
    TestEnv::exec("UPDATE Classes SET TeacherName = 'Mr. Bach', TeacherPhone = '555-0202', TeacherEMail = 'bach@example.edu', "
                  "CreditHours = 1.5, ClassNotes = 'Choir', AppliesToGPA = 0, Points_Grade_A = 450, Points_Grade_B = 400, "
                  "Points_Grade_C = 350, Points_Grade_D = 300, PointsPossible = 500 WHERE ID = ?",
                  {f.music});
    return f;
}

// Opens the class editor by Class > Edit.
inline frmEditClass *openEditor(frmMain *m)
{
    trigger(m, "mnuClassEdit");
    frmEditClass *e = frmEditClass::existing();
    if (e)
        activate(e);
    return e;
}

// The two classes in a new database (`before` changes them further), the
// program started, a class clicked in the tree and the class editor opened
// on it (and, with openScheduleOn(), the schedule editor by its "Edit
// Schedule"). A test class takes it as a base: QVERIFY(openOn("Art")).
struct EditorFixture {
    Fixture f;
    frmMain *m = nullptr;
    frmEditClass *e = nullptr;
    frmEditClassSchedule *s = nullptr;

    bool openOn(const QString &className, const std::function<void(const Fixture &)> &before = {})
    {
        f = twoClasses();
        if (before)
            before(f);
        m = startQuiet();
        if (!className.isEmpty())
            clickNode(m, className);
        e = openEditor(m);
        return e && !QTest::currentTestFailed();
    }
    bool openScheduleOn(const QString &className, const std::function<void(const Fixture &)> &before = {})
    {
        if (!openOn(className, before))
            return false;
        click(e, "SSCommand1");
        s = frmEditClassSchedule::existing();
        return s && activate(s);
    }
};

inline QLineEdit *box(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(QString::fromLatin1(name)); }

// Puts the focus into a box, as a click into it would.
inline void focusBox(QWidget *w, const char *name)
{
    QLineEdit *b = box(w, name);
    QVERIFY2(b, name);
    b->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
}

inline QString focused()
{
    QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("<none>");
}

} // namespace EditClassHelpers
