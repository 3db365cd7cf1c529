#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

class CProjectCategories;

// The colour of each class: a fixed palette of well-separated colours taken by the class's index for the trainer (its
// position in the class table, CProjectCategories::IndexOf), so that a class keeps its colour across sessions and on
// every machine. A project with more classes than the palette has starts the palette again. A class that is gone has
// a grey of its own, which no palette colour is.
class CClassColours
{
public:
    // The colour of the class at that index; the colour of a class that is gone for an index below 0.
    static QColor OfIndex(int nIndex);
    // The colour of the class with that name in the table; that of a class that is gone when no class has it.
    static QColor OfName(const CProjectCategories& classes, const QString& strName);
    static QColor Gone();
    // The colours of a list of names taken in table order (for the list a chooser offers).
    static QList<QColor> OfList(const QStringList& lstNames);
    // A small filled square of the colour with a dark rim, for a decoration beside a class's name.
    static QIcon Swatch(const QColor& colour);
};
