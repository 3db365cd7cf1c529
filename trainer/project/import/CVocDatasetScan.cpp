#include "project/import/CVocDatasetScan.h"

#include "project/import/CYoloDatasetScan.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>

#include <cmath>

CVocDatasetScan::CVocDatasetScan(const QString& strFolder, const std::atomic_bool* pCancel)
    : CDatasetScan(strFolder, pCancel)
{
    ReadAnnotations();
    if (!Stop() && m_strRefusal.isEmpty())
        ReadLists();
}

bool CVocDatasetScan::Recognises(const QString& strFolder)
{
    const QDir folder(strFolder);
    return QFileInfo(folder.filePath("Annotations")).isDir() ||
           !folder.entryList({"*.xml", "*.XML"}, QDir::Files | QDir::System).isEmpty();
}

CDatasetScan::SPixelBox CVocDatasetScan::FromCorners(int nClass, double dblXMin, double dblYMin, double dblXMax,
                                                     double dblYMax)
{
    // Corners count pixels from 1 and name the last pixel inside the box: the pixel edge before xmin is xmin - 1,
    // the one after xmax is xmax.
    SPixelBox box;
    box.nClass = nClass;
    box.dblX = dblXMin - 1.0;
    box.dblY = dblYMin - 1.0;
    box.dblWidth = dblXMax - dblXMin + 1.0;
    box.dblHeight = dblYMax - dblYMin + 1.0;
    return box;
}

bool CVocDatasetScan::Parse(const QByteArray& baXml, SAnnotation& annotation)
{
    QXmlStreamReader xml(baXml);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("annotation"))
        return false;
    int nWidth = -1;
    int nHeight = -1;
    // The element path below "annotation" decides what a text belongs to.
    QStringList lstPath;
    SAnnotation::SObject* pObject = nullptr;
    int nCorners = 0;
    while (!xml.atEnd())
    {
        const QXmlStreamReader::TokenType eToken = xml.readNext();
        if (eToken == QXmlStreamReader::StartElement)
        {
            lstPath.append(xml.name().toString());
            if (lstPath.size() == 1 && lstPath[0] == QLatin1String("object"))
            {
                annotation.vctObjects.emplace_back();
                pObject = &annotation.vctObjects.back();
                nCorners = 0;
            }
            const QString strWhere = lstPath.join('/');
            const bool bCorner =
                lstPath.size() == 3 && lstPath[0] == QLatin1String("object") && lstPath[1] == QLatin1String("bndbox");
            if (strWhere == QLatin1String("filename") || strWhere == QLatin1String("path") ||
                strWhere == QLatin1String("size/width") || strWhere == QLatin1String("size/height") ||
                strWhere == QLatin1String("object/name") || bCorner)
            {
                const QString strText = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
                lstPath.removeLast();
                bool bOk = false;
                if (strWhere == QLatin1String("filename"))
                    annotation.strFileName = strText;
                else if (strWhere == QLatin1String("path"))
                    annotation.strPath = strText;
                else if (strWhere == QLatin1String("size/width"))
                    nWidth = strText.toInt(&bOk);
                else if (strWhere == QLatin1String("size/height"))
                    nHeight = strText.toInt(&bOk);
                else if (strWhere == QLatin1String("object/name"))
                    pObject->strName = strText;
                else
                {
                    // Some tools write corners with decimals: they are pixels all the same.
                    const double dblValue = strText.toDouble(&bOk);
                    const QString strCorner = xml.name().toString();
                    double* pTarget = strCorner == QLatin1String("xmin")   ? &pObject->dblXMin
                                      : strCorner == QLatin1String("ymin") ? &pObject->dblYMin
                                      : strCorner == QLatin1String("xmax") ? &pObject->dblXMax
                                      : strCorner == QLatin1String("ymax") ? &pObject->dblYMax
                                                                           : nullptr;
                    if (pTarget && bOk && std::isfinite(dblValue))
                    {
                        *pTarget = dblValue;
                        pObject->bNumbers = ++nCorners == 4;
                    }
                }
            }
        }
        else if (eToken == QXmlStreamReader::EndElement && !lstPath.isEmpty())
        {
            lstPath.removeLast();
        }
    }
    if (xml.hasError())
        return false;
    annotation.size = QSize(nWidth, nHeight);
    // Without its size no box can be checked against the image.
    return nWidth > 0 && nHeight > 0;
}

QString CVocDatasetScan::FindImage(const QString& strXmlPath, const SAnnotation& annotation) const
{
    const QFileInfo xmlInfo(strXmlPath);
    const QString strXmlDir = xmlInfo.path();
    QStringList lstCandidates;
    if (!annotation.strPath.isEmpty())
        lstCandidates.append(QDir(strXmlDir).absoluteFilePath(annotation.strPath));
    // A name with folders in it would leave the data set's folder.
    const QString strName = QFileInfo(annotation.strFileName).fileName();
    if (!strName.isEmpty())
        lstCandidates << strXmlDir + "/" + strName << strXmlDir + "/../JPEGImages/" + strName
                      << m_strFolder + "/JPEGImages/" + strName << m_strFolder + "/" + strName;
    for (const QString& strDir : {strXmlDir, strXmlDir + "/../JPEGImages", m_strFolder + "/JPEGImages"})
    {
        for (const char* pExtension : {"jpg", "jpeg", "png", "bmp", "JPG", "JPEG", "PNG"})
            lstCandidates.append(strDir + "/" + xmlInfo.completeBaseName() + "." + pExtension);
    }
    for (const QString& strCandidate : lstCandidates)
    {
        if (QFileInfo(strCandidate).isFile() && CYoloDatasetScan::IsImageFile(strCandidate))
            return Normalised(QFileInfo(strCandidate).absoluteFilePath());
    }
    return QString();
}

int CVocDatasetScan::ClassIndex(const QString& strName)
{
    const auto it = m_mapClasses.constFind(strName);
    if (it != m_mapClasses.constEnd())
        return it.value();
    if (m_lstClassNames.size() >= kMaxClasses)
        return -1;
    m_lstClassNames.append(strName);
    m_mapClasses.insert(strName, m_lstClassNames.size() - 1);
    return m_lstClassNames.size() - 1;
}

void CVocDatasetScan::ReadAnnotations()
{
    QStringList lstXml;
    QDirIterator it(m_strFolder, {"*.xml", "*.XML"}, QDir::Files | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext() && !Stop())
        lstXml.append(Normalised(it.next()));
    // Path order makes an import repeatable and the classes come in the same order each time.
    lstXml.sort();
    QHash<QString, int> mapImageCounts;
    std::vector<SImage> vctRead;
    for (const QString& strXml : lstXml)
    {
        if (Stop())
            return;
        const QString strFile = Relative(strXml);
        QByteArray baXml;
        if (!ReadBytes(strXml, kMaxTextBytes, baXml))
        {
            ++m_nSkippedImages;
            continue;
        }
        SAnnotation annotation;
        if (!Parse(baXml, annotation))
        {
            Note(m_malformedFiles, strFile);
            continue;
        }
        SImage image;
        image.strPath = FindImage(strXml, annotation);
        if (image.strPath.isEmpty())
        {
            Note(m_missingImages, strFile);
            continue;
        }
        image.strLabelPath = strXml;
        image.sizeStated = annotation.size;
        for (const SAnnotation::SObject& object : annotation.vctObjects)
        {
            if (object.strName.isEmpty())
            {
                Note(m_unknownCategory, strFile);
                continue;
            }
            if (!object.bNumbers || object.dblXMax < object.dblXMin || object.dblYMax < object.dblYMin)
            {
                Note(m_malformedBoxes, strFile);
                continue;
            }
            if (static_cast<int>(image.vctPixelBoxes.size()) >= kMaxBoxesPerImage)
            {
                Note(m_beyondBoxLimit, strFile);
                continue;
            }
            const SPixelBox box = FromCorners(0, object.dblXMin, object.dblYMin, object.dblXMax, object.dblYMax);
            if (!CheckPixelBox(box, annotation.size, strFile))
                continue;
            const int nClass = ClassIndex(object.strName);
            if (nClass < 0)
            {
                m_strRefusal = QString("More than %1 classes: nothing imported.").arg(kMaxClasses);
                return;
            }
            image.vctPixelBoxes.push_back(box);
            image.vctPixelBoxes.back().nClass = nClass;
        }
        ++mapImageCounts[image.strPath];
        vctRead.push_back(std::move(image));
    }
    // Reached only when not cancelled: a cancelled scan keeps no image.
    for (SImage& image : vctRead)
    {
        if (mapImageCounts.value(image.strPath) > 1)
            Note(m_duplicateImages, Relative(image.strLabelPath));
        else
            m_vctImages.push_back(std::move(image));
    }
}

void CVocDatasetScan::ReadLists()
{
    const QString strMain = m_strFolder + "/ImageSets/Main/";
    QStringList lstTestFiles;
    for (const QString strName : {"train.txt", "test.txt", "val.txt"})
    {
        if (!Present(strMain + strName))
            continue;
        m_bHasLists = true;
        if (strName != QLatin1String("train.txt"))
            lstTestFiles.append(strMain + strName);
    }
    QSet<QString> setTest;
    for (const QString& strList : lstTestFiles)
    {
        QStringList lstLines;
        if (!ReadText(strList, lstLines))
        {
            // Its images would train.
            m_strRefusal = QString("%1 cannot be read or is too large: nothing imported.").arg(Relative(strList));
            return;
        }
        // A line is an image's ID, sometimes followed by a flag ("2008_000008 -1" in the per-class lists).
        for (const QString& strLine : lstLines)
        {
            const QString strID = strLine.section(' ', 0, 0, QString::SectionSkipEmpty).trimmed();
            if (!strID.isEmpty())
                setTest.insert(strID);
        }
    }
    for (SImage& image : m_vctImages)
    {
        if (setTest.contains(QFileInfo(image.strLabelPath).completeBaseName()) ||
            setTest.contains(QFileInfo(image.strPath).completeBaseName()))
            image.bTrain = false;
    }
}
