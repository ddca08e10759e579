#include "TestEnv.h"

#include "platform/Artwork.h"
#include "platform/ClassColours.h"

#include <QSet>

// The class colour table: names, menu items, tree pictures and folder colours.
class ClassColoursTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void fifteenColoursInMenuOrderEachWithItsPicture()
    {
        QStringList names;
        QSet<QRgb> folders;
        const QRgb plain = Artwork::folderColour(ClassColours::PlainFolderImage).rgb();
        for (int i = 0; i < ClassColours::all().size(); ++i) {
            const ClassColours::Colour &c = ClassColours::all().at(i);
            names << c.name;
            // Tree pictures by exact name, each drawing a folder of its own colour.
            QCOMPARE(ClassColours::treeImage(c.name), i + 4);
            QCOMPARE(Artwork::folderColour(i + 4), c.folder);
            QVERIFY(c.folder.rgb() != plain);
            folders.insert(c.folder.rgb());
        }
        QCOMPARE(names, (QStringList{"Yellow", "Cyan", "Black", "Blue", "Brown", "Light Cyan", "Dark Green", "Green", "Grey",
                                     "Light Blue", "Orange", "Pink", "Purple", "Red", "White"}));
        QCOMPARE(folders.size(), 15);
        QCOMPARE(Artwork::folderColour(19).rgb(), plain);
        QCOMPARE(ClassColours::menuItemName(ClassColours::all().at(0)), QString("mnuClassSetColorYellow"));
        QCOMPARE(ClassColours::menuItemName(ClassColours::all().at(5)), QString("mnuClassSetColorLightCyan"));
        for (const char *other : {"", "yellow", "RED", "LightCyan", "Light  Cyan", " Red", "Magenta"})
            QCOMPARE(ClassColours::treeImage(other), ClassColours::PlainFolderImage);
    }
};

TARVELA_TEST_CLASS(ClassColoursTest)
#include "tst_classcolours.moc"
