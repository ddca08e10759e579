#include "ClassColours.h"

namespace ClassColours {

const QVector<Colour> &all()
{
    static const QVector<Colour> colours = {
        {QStringLiteral("Yellow"), QColor(0xF5, 0xD7, 0x3A)},
        {QStringLiteral("Cyan"), QColor(0x2B, 0xC8, 0xD8)},
        {QStringLiteral("Black"), QColor(0x30, 0x30, 0x30)},
        {QStringLiteral("Blue"), QColor(0x2E, 0x5E, 0xD8)},
        {QStringLiteral("Brown"), QColor(0x8B, 0x5A, 0x2B)},
        {QStringLiteral("Light Cyan"), QColor(0xA8, 0xF0, 0xF4)},
        {QStringLiteral("Dark Green"), QColor(0x1E, 0x6B, 0x2E)},
        {QStringLiteral("Green"), QColor(0x3C, 0xB0, 0x4C)},
        {QStringLiteral("Grey"), QColor(0x9A, 0x9A, 0x9A)},
        {QStringLiteral("Light Blue"), QColor(0x8C, 0xB8, 0xF4)},
        {QStringLiteral("Orange"), QColor(0xF2, 0x8C, 0x28)},
        {QStringLiteral("Pink"), QColor(0xF4, 0x9A, 0xC8)},
        {QStringLiteral("Purple"), QColor(0x82, 0x3C, 0xB4)},
        {QStringLiteral("Red"), QColor(0xD8, 0x2C, 0x2C)},
        {QStringLiteral("White"), QColor(0xFA, 0xFA, 0xFA)},
    };
    return colours;
}

QString menuItemName(const Colour &colour)
{
    return QStringLiteral("mnuClassSetColor") + QString(colour.name).remove(QLatin1Char(' '));
}

int treeImage(const QString &name)
{
    const QVector<Colour> &colours = all();
    for (int i = 0; i < colours.size(); ++i)
        if (colours.at(i).name == name)
            return i + PlainFolderImage + 1;
    return PlainFolderImage;
}

} // namespace ClassColours
