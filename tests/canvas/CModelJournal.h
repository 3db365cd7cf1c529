#pragma once

#include <QStringList>

#include <memory>

class CDrawableGeometry;
class CDrawableObject;
class CDrawableObjectModel;

// Every signal of a model as one line each: "add 12 Rectangle_12", "before 12 ...", "delete 12 ...", "change 12",
// "drawing", "clear".
class CModelJournal
{
public:
    explicit CModelJournal(CDrawableObjectModel& model);

    // The lines since the previous call.
    QStringList Take();
    // The line an add, before-delete or delete of the object gives: "add 12 Rectangle_12".
    static QString Line(const char* szWhat, const CDrawableObject& object);
    // A geometry object over a new rectangle.
    static std::shared_ptr<CDrawableGeometry> Rectangle(double x, double y, double dblWidth, double dblHeight);

private:
    void Log(const char* szWhat, uint nUID, const QString& strName);

    QStringList m_lines;
};
