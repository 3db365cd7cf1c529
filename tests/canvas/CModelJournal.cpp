#include "CModelJournal.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"

#include "Geometry/COvrelRectangle.h"

CModelJournal::CModelJournal(CDrawableObjectModel& model)
{
    QObject::connect(&model, &CDrawableObjectModel::signal_AddDrawableObject, &model,
                     [this](uint nUID, const QString& strName) { Log("add", nUID, strName); });
    QObject::connect(&model, &CDrawableObjectModel::signal_BeforeDeleteDrawableObject, &model,
                     [this](uint nUID, const QString& strName) { Log("before", nUID, strName); });
    QObject::connect(&model, &CDrawableObjectModel::signal_DeleteDrawableObject, &model,
                     [this](uint nUID, const QString& strName) { Log("delete", nUID, strName); });
    QObject::connect(&model, &CDrawableObjectModel::signal_ChangeDrawableObjectProperty, &model,
                     [this](uint nUID) { m_lines << QString("change %1").arg(nUID); });
    QObject::connect(&model, &CDrawableObjectModel::signal_ChangeDrawingObject, &model,
                     [this] { m_lines << "drawing"; });
    QObject::connect(&model, &CDrawableObjectModel::signal_ClearObject, &model, [this] { m_lines << "clear"; });
}

QStringList CModelJournal::Take()
{
    const QStringList taken = m_lines;
    m_lines.clear();
    return taken;
}

QString CModelJournal::Line(const char* szWhat, const CDrawableObject& object)
{
    return QString("%1 %2 %3").arg(szWhat).arg(object.GetUID()).arg(object.GetName());
}

std::shared_ptr<CDrawableGeometry> CModelJournal::Rectangle(double x, double y, double dblWidth, double dblHeight)
{
    return std::make_shared<CDrawableGeometry>(
        std::make_shared<Ovrel::Geometry::COvrelRectangle>(x, y, dblWidth, dblHeight));
}

void CModelJournal::Log(const char* szWhat, uint nUID, const QString& strName)
{
    m_lines << QString("%1 %2 %3").arg(szWhat).arg(nUID).arg(strName);
}
