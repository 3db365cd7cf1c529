#include "CAnnotationSnapshot.h"

#include "CSqliteReader.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/EImageView2DDrawbleObjectType.h"

QString CAnnotationSnapshot::Box(double dblX, double dblY, double dblWidth, double dblHeight, const QString& strClass,
                                 int nDecimals)
{
    return QString("%1 %2 %3 %4 %5")
        .arg(dblX, 0, 'f', nDecimals)
        .arg(dblY, 0, 'f', nDecimals)
        .arg(dblWidth, 0, 'f', nDecimals)
        .arg(dblHeight, 0, 'f', nDecimals)
        .arg(strClass);
}

QStringList CAnnotationSnapshot::Rows(const QString& strDataFile, int nImageID, int nDecimals)
{
    QStringList lstRows;
    const QString strSql =
        QString("SELECT r.X, r.Y, r.WIDTH, r.HEIGHT, IFNULL(c.NAME, '') FROM dataset_roi r LEFT JOIN "
                "category c ON c.ID = r.CATEGORY_ID WHERE r.IMAGE_ID = %1")
            .arg(nImageID);
    for (const QString& strRow : CSqliteReader::Rows(strDataFile, strSql))
    {
        const QStringList row = strRow.split('|');
        if (row.size() < 5)
            lstRows.append(strRow);
        else
            lstRows.append(Box(row[0].toDouble(), row[1].toDouble(), row[2].toDouble(), row[3].toDouble(),
                               row.mid(4).join('|'), nDecimals));
    }
    lstRows.sort();
    return lstRows;
}

std::vector<std::shared_ptr<CDrawableGeometry>> CAnnotationSnapshot::Geometries(const CDrawableObjectModel* pObjects)
{
    std::vector<std::shared_ptr<CDrawableGeometry>> vctObjects;
    for (int i = 0; pObjects && i < pObjects->GetObjectCount(); ++i)
    {
        const auto pObject = pObjects->GetObject(i);
        if (pObject && pObject->GetType() == EImageView2DDrawbleObjectType_Geometry)
            vctObjects.push_back(std::dynamic_pointer_cast<CDrawableGeometry>(pObject));
    }
    return vctObjects;
}

QStringList CAnnotationSnapshot::Boxes(const CDrawableObjectModel* pObjects, int nDecimals)
{
    QStringList lstBoxes;
    for (const auto& pObject : Geometries(pObjects))
    {
        const QRectF box = pObject->GetBoundary();
        lstBoxes.append(Box(box.x(), box.y(), box.width(), box.height(), pObject->GetName(), nDecimals));
    }
    lstBoxes.sort();
    return lstBoxes;
}
