#include "project/import/CDatasetFormat.h"

#include "project/import/CCocoDatasetScan.h"
#include "project/import/CVocDatasetScan.h"
#include "project/import/CYoloDatasetScan.h"

#include <QDir>
#include <QFileInfo>

CDatasetFormat::EFormat CDatasetFormat::Recognise(const QString& strPath)
{
    const QFileInfo info(strPath);
    if (!info.isDir())
        return info.suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0 ? Coco : Yolo;
    // The names file is what only a YOLO folder has; a stray JSON or XML file beside it changes nothing.
    const QDir folder(strPath);
    if (!folder.entryList({"*.names", "classes.txt"}, QDir::Files | QDir::System).isEmpty())
        return Yolo;
    if (CCocoDatasetScan::Recognises(strPath))
        return Coco;
    if (CVocDatasetScan::Recognises(strPath))
        return Voc;
    return Yolo;
}

QString CDatasetFormat::Name(EFormat eFormat)
{
    switch (eFormat)
    {
    case Voc:
        return QStringLiteral("Pascal VOC");
    case Coco:
        return QStringLiteral("COCO");
    case Yolo:
        break;
    }
    return QStringLiteral("YOLO");
}

std::unique_ptr<CDatasetScan> CDatasetFormat::Scan(const QString& strPath, const std::atomic_bool* pCancel)
{
    switch (Recognise(strPath))
    {
    case Voc:
        return std::make_unique<CVocDatasetScan>(strPath, pCancel);
    case Coco:
        return std::make_unique<CCocoDatasetScan>(strPath, pCancel);
    case Yolo:
        break;
    }
    return std::make_unique<CYoloDatasetScan>(strPath, pCancel);
}
