#pragma once
// The fifteen colours a class can be tagged with: the names the settings
// store keeps (exactly as written, blanks and letter case included), the
// menu order, the tree picture of each and the folder colour it is drawn in.
#include <QColor>
#include <QString>
#include <QVector>

namespace ClassColours {

struct Colour {
    QString name;     // as stored and as the menu item's caption
    QColor folder;    // the colour of the class folder picture
};

// The colours in menu order.
const QVector<Colour> &all();

// The menu item of a colour: "mnuClassSetColor" + its name without blanks.
QString menuItemName(const Colour &colour);

// The tree picture of a class tagged with `name`: 4 to 18 for the fifteen
// colours in menu order, 3 (the plain folder) for anything else, a name in
// other letter case included.
int treeImage(const QString &name);
constexpr int PlainFolderImage = 3;

} // namespace ClassColours
