#include "project/import/CCocoDatasetScan.h"

#include "project/import/CYoloDatasetScan.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QSet>

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
// Annotations read between two looks at the cancel flag.
constexpr int kAnnotationsPerCancelCheck = 4096;

// A JSON number that is a whole number, as IDs are.
bool WholeNumber(const QJsonValue& value, qint64& nNumber)
{
    if (!value.isDouble())
        return false;
    const double dblValue = value.toDouble();
    if (!std::isfinite(dblValue) || std::floor(dblValue) != dblValue || std::fabs(dblValue) > 9e15)
        return false;
    nNumber = static_cast<qint64>(dblValue);
    return true;
}
} // namespace

CCocoDatasetScan::CCocoDatasetScan(const QString& strPath, const std::atomic_bool* pCancel)
    : CDatasetScan(QFileInfo(strPath).isDir() ? strPath : QFileInfo(strPath).absolutePath(), pCancel)
{
    QString strTrain;
    QString strTest;
    if (!ChooseFiles(strPath, strTrain, strTest))
        return;
    std::vector<SImage> vctImages;
    if (!ReadFile(strTrain, true, vctImages) || (!strTest.isEmpty() && !ReadFile(strTest, false, vctImages)))
    {
        // A file that cannot be read whole would import part of the data set.
        vctImages.clear();
    }
    m_bHasLists = !strTest.isEmpty();
    // An image listed twice (in one file or in both) has boxes that cannot be told apart.
    QHash<QString, int> mapCounts;
    for (const SImage& image : vctImages)
        ++mapCounts[image.strPath];
    for (SImage& image : vctImages)
    {
        if (mapCounts.value(image.strPath) > 1)
            Note(m_duplicateImages, Relative(image.strPath));
        else
            m_vctImages.push_back(std::move(image));
    }
    if (Stop())
        m_vctImages.clear();
}

bool CCocoDatasetScan::Recognises(const QString& strFolder)
{
    return !QDir(strFolder).entryList({"*.json", "*.JSON"}, QDir::Files | QDir::System).isEmpty();
}

CDatasetScan::SPixelBox CCocoDatasetScan::FromBbox(int nClass, double dblX, double dblY, double dblWidth,
                                                   double dblHeight)
{
    SPixelBox box;
    box.nClass = nClass;
    box.dblX = dblX;
    box.dblY = dblY;
    box.dblWidth = dblWidth;
    box.dblHeight = dblHeight;
    return box;
}

bool CCocoDatasetScan::ChooseFiles(const QString& strPath, QString& strTrain, QString& strTest)
{
    if (!QFileInfo(strPath).isDir())
    {
        strTrain = strPath;
        return true;
    }
    const QStringList lstJson = QDir(strPath).entryList({"*.json", "*.JSON"}, QDir::Files | QDir::System, QDir::Name);
    if (lstJson.size() == 1)
    {
        strTrain = m_strFolder + "/" + lstJson.first();
        return true;
    }
    QStringList lstTrain;
    QStringList lstTest;
    for (const QString& strName : lstJson)
    {
        const QString strLower = strName.toLower();
        if (strLower.contains("train"))
            lstTrain.append(strName);
        else if (strLower.contains("test") || strLower.contains("val"))
            lstTest.append(strName);
    }
    if (lstJson.size() != 2 || lstTrain.size() != 1 || lstTest.size() != 1)
    {
        // Guessing which files belong together would import the wrong boxes.
        m_strRefusal = QString("The folder holds %1 JSON files (%2); COCO needs one file, or one whose name holds "
                               "\"train\" and one whose name holds \"test\" or \"val\": nothing imported.")
                           .arg(lstJson.size())
                           .arg(lstJson.join(", "));
        return false;
    }
    strTrain = m_strFolder + "/" + lstTrain.first();
    strTest = m_strFolder + "/" + lstTest.first();
    return true;
}

QString CCocoDatasetScan::FindImage(const QString& strJsonDir, const QString& strFileName) const
{
    const QString strName = QDir::fromNativeSeparators(strFileName);
    if (strName.isEmpty())
        return QString();
    for (const QString& strCandidate : {QDir(strJsonDir).absoluteFilePath(strName), strJsonDir + "/images/" + strName,
                                        strJsonDir + "/images/" + QFileInfo(strName).fileName()})
    {
        const QFileInfo info(strCandidate);
        if (info.isFile() && CYoloDatasetScan::IsImageFile(strCandidate))
            return Normalised(info.absoluteFilePath());
    }
    return QString();
}

bool CCocoDatasetScan::ReadCategories(const QJsonObject& root, const QString& strFile,
                                      std::map<qint64, QString>& mapNames)
{
    for (const QJsonValue& value : root.value(QLatin1String("categories")).toArray())
    {
        const QJsonObject category = value.toObject();
        qint64 nID = 0;
        if (!WholeNumber(category.value(QLatin1String("id")), nID) || !category.value(QLatin1String("name")).isString())
        {
            Note(m_malformedFiles, strFile);
            return false;
        }
        const QString strName = category.value(QLatin1String("name")).toString().trimmed();
        const auto it = mapNames.find(nID);
        // The same ID with two names in one file or in the two files: which name a box has cannot be told.
        if (it != mapNames.end() && it->second != strName)
        {
            Note(m_malformedFiles, strFile);
            return false;
        }
        mapNames[nID] = strName;
    }
    return true;
}

bool CCocoDatasetScan::ReadFile(const QString& strJson, bool bTrain, std::vector<SImage>& vctImages)
{
    const QString strFile = Relative(strJson);
    QByteArray baJson;
    if (!ReadBytes(strJson, kMaxJsonBytes, baJson))
    {
        m_strRefusal =
            QString("%1 cannot be read or is larger than %2 bytes: nothing imported.").arg(strFile).arg(kMaxJsonBytes);
        return false;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(baJson, &error);
    baJson.clear();
    const QJsonObject root = document.object();
    if (error.error != QJsonParseError::NoError || !root.value(QLatin1String("images")).isArray())
    {
        Note(m_malformedFiles, strFile);
        m_strRefusal = QString("%1 is no COCO annotation file (%2): nothing imported.")
                           .arg(strFile, error.error != QJsonParseError::NoError
                                             ? QString("%1 at byte %2").arg(error.errorString()).arg(error.offset)
                                             : QString("no \"images\" list"));
        return false;
    }
    // Classes in the order of their IDs, the same in both files; a category nobody uses still becomes a class.
    std::map<qint64, QString> mapNames;
    for (auto it = m_mapClasses.constBegin(); it != m_mapClasses.constEnd(); ++it)
        mapNames[it.key()] = m_lstClassNames[it.value()];
    if (!ReadCategories(root, strFile, mapNames))
    {
        m_strRefusal = QString("%1 has a category without a whole number ID and a name, or an ID with two names: "
                               "nothing imported.")
                           .arg(strFile);
        return false;
    }
    if (static_cast<int>(mapNames.size()) > kMaxClasses)
    {
        m_strRefusal = QString("%1 classes exceed the limit of %2 per project: nothing imported.")
                           .arg(mapNames.size())
                           .arg(kMaxClasses);
        return false;
    }
    m_lstClassNames.clear();
    m_mapClasses.clear();
    for (const auto& idName : mapNames)
    {
        m_mapClasses.insert(idName.first, m_lstClassNames.size());
        m_lstClassNames.append(idName.second);
    }

    const QString strJsonDir = QFileInfo(strJson).absolutePath();
    // Image ID to its place in vctImages, or -1 when its file is missing.
    QHash<qint64, qint64> mapImages;
    const QJsonArray arrImages = root.value(QLatin1String("images")).toArray();
    QSet<qint64> setTwice;
    for (const QJsonValue& value : arrImages)
    {
        const QJsonObject object = value.toObject();
        qint64 nID = 0;
        qint64 nWidth = 0;
        qint64 nHeight = 0;
        const QString strName = object.value(QLatin1String("file_name")).toString();
        if (!WholeNumber(object.value(QLatin1String("id")), nID) ||
            !WholeNumber(object.value(QLatin1String("width")), nWidth) ||
            !WholeNumber(object.value(QLatin1String("height")), nHeight) || nWidth <= 0 || nHeight <= 0 ||
            nWidth > INT_MAX || nHeight > INT_MAX || strName.isEmpty())
        {
            Note(m_malformedFiles, strFile);
            m_strRefusal =
                QString("%1 has an image without a whole number ID, size or file name: nothing imported.").arg(strFile);
            return false;
        }
        if (mapImages.contains(nID))
        {
            // Both entries' boxes would go to one image: neither is imported.
            const qint64 nPlace = mapImages.value(nID);
            if (!setTwice.contains(nID))
                Note(m_duplicateImages,
                     nPlace >= 0 ? Relative(vctImages[static_cast<size_t>(nPlace)].strPath) : strName);
            setTwice.insert(nID);
            Note(m_duplicateImages, strName);
            continue;
        }
        SImage image;
        image.strPath = FindImage(strJsonDir, strName);
        if (image.strPath.isEmpty())
        {
            Note(m_missingImages, strName);
            mapImages.insert(nID, -1);
            continue;
        }
        image.strLabelPath = strJson;
        image.bTrain = bTrain;
        image.sizeStated = QSize(static_cast<int>(nWidth), static_cast<int>(nHeight));
        mapImages.insert(nID, static_cast<qint64>(vctImages.size()));
        vctImages.push_back(std::move(image));
    }

    int nAnnotation = 0;
    for (const QJsonValue& value : root.value(QLatin1String("annotations")).toArray())
    {
        if (++nAnnotation % kAnnotationsPerCancelCheck == 0 && Stop())
            return false;
        const QJsonObject object = value.toObject();
        qint64 nImageID = 0;
        qint64 nCategoryID = 0;
        if (!WholeNumber(object.value(QLatin1String("image_id")), nImageID))
        {
            Note(m_malformedBoxes, strFile);
            continue;
        }
        const auto itImage = mapImages.constFind(nImageID);
        if (itImage == mapImages.constEnd())
        {
            Note(m_unknownImage, strFile);
            continue;
        }
        // Its image's file is missing: counted once with the image.
        if (itImage.value() < 0)
            continue;
        SImage& image = vctImages[static_cast<size_t>(itImage.value())];
        const QJsonArray arrBox = object.value(QLatin1String("bbox")).toArray();
        bool bNumbers = arrBox.size() == 4;
        for (int i = 0; bNumbers && i < 4; ++i)
            bNumbers = arrBox[i].isDouble() && std::isfinite(arrBox[i].toDouble());
        if (!bNumbers || arrBox[2].toDouble() < 0.0 || arrBox[3].toDouble() < 0.0)
        {
            Note(m_malformedBoxes, strFile);
            continue;
        }
        if (!WholeNumber(object.value(QLatin1String("category_id")), nCategoryID) ||
            !m_mapClasses.contains(nCategoryID) || m_lstClassNames[m_mapClasses.value(nCategoryID)].isEmpty())
        {
            Note(m_unknownCategory, strFile);
            continue;
        }
        if (static_cast<int>(image.vctPixelBoxes.size()) >= kMaxBoxesPerImage)
        {
            Note(m_beyondBoxLimit, strFile);
            continue;
        }
        const SPixelBox box = FromBbox(m_mapClasses.value(nCategoryID), arrBox[0].toDouble(), arrBox[1].toDouble(),
                                       arrBox[2].toDouble(), arrBox[3].toDouble());
        if (!CheckPixelBox(box, image.sizeStated, strFile))
            continue;
        if (object.value(QLatin1String("iscrowd")).toInt() != 0)
            ++m_nCrowdBoxes;
        image.vctPixelBoxes.push_back(box);
    }
    for (const qint64 nID : setTwice)
    {
        const qint64 nPlace = mapImages.value(nID);
        if (nPlace >= 0)
            vctImages[static_cast<size_t>(nPlace)].strPath.clear();
    }
    vctImages.erase(
        std::remove_if(vctImages.begin(), vctImages.end(), [](const SImage& image) { return image.strPath.isEmpty(); }),
        vctImages.end());
    return true;
}
