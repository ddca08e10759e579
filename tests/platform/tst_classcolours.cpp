#include "TestEnv.h"

#include "platform/Artwork.h"
#include "platform/ClassColours.h"

#include <QSet>

// The class colour table: names, menu items, tree pictures and folder colours.
class ClassColoursTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void fifteenColoursInMenuOrder()
    {
        QStringList names;
        for (const ClassColours::Colour &c : ClassColours::all())
            names << c.name;
        QCOMPARE(names, (QStringList{"Yellow", "Cyan", "Black", "Blue", "Brown", "Light Cyan", "Dark Green", "Green", "Grey",
                                     "Light Blue", "Orange", "Pink", "Purple", "Red", "White"}));
        QCOMPARE(ClassColours::menuItemName(ClassColours::all().at(5)), QString("mnuClassSetColorLightCyan"));
        QCOMPARE(ClassColours::menuItemName(ClassColours::all().at(0)), QString("mnuClassSetColorYellow"));
        QCOMPARE(ClassColours::menuItemName(ClassColours::all().at(9)), QString("mnuClassSetColorLightBlue"));
    }

    void treePicturesByExactName()
    {
        for (int i = 0; i < ClassColours::all().size(); ++i)
            QCOMPARE(ClassColours::treeImage(ClassColours::all().at(i).name), i + 4);
        QCOMPARE(ClassColours::treeImage("Light Cyan"), 9);
        QCOMPARE(ClassColours::treeImage("White"), 18);
        for (const char *other : {"", "yellow", "RED", "LightCyan", "Light  Cyan", " Red", "Magenta"})
            QCOMPARE(ClassColours::treeImage(other), ClassColours::PlainFolderImage);
    }

    void everyColourDrawsItsOwnFolder()
    {
        QSet<QRgb> seen;
        const QRgb plain = Artwork::folderColour(ClassColours::PlainFolderImage).rgb();
        for (int i = 0; i < ClassColours::all().size(); ++i) {
            const QColor c = Artwork::folderColour(i + 4);
            QCOMPARE(c, ClassColours::all().at(i).folder);
            QVERIFY(c.rgb() != plain);
            seen.insert(c.rgb());
        }
        QCOMPARE(seen.size(), 15);
        QCOMPARE(Artwork::folderColour(19).rgb(), plain);
    }
};

TARVELA_TEST_CLASS(ClassColoursTest)
#include "tst_classcolours.moc"
