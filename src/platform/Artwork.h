#pragma once
// The program's own pictures, drawn when first asked for.
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace Artwork {

// The tree's images, 1 to 18: 2 a semester, 3 a class folder without colour,
// 4 to 18 the class folder in the fifteen tag colours.
QPixmap treeImage(int index);
// The same as an icon, made once per picture.
QIcon treeIcon(int index);
// The colour of the folders 4 to 18.
QColor folderColour(int index);

// Named pictures: "books", "error", "tip", "compact", "splash", "document",
// "semester", "grade", "about", "today".
QPixmap picture(const QString &name, int size = 64);

} // namespace Artwork
