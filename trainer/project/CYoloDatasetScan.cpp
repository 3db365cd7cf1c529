#include "project/CYoloDatasetScan.h"

#include "project/CBoxRule.h"
#include "project/CTrainerImageRule.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace
{
// How many file names a report keeps per kind of problem.
constexpr int kReportedFiles = 5;

QStringList ReadLines(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n');
}

QString Normalised(const QString& strPath)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(strPath));
}
} // namespace

CYoloDatasetScan::CYoloDatasetScan(const QString& strFolder)
    : m_strFolder(Normalised(QFileInfo(strFolder).absoluteFilePath()))
{
    FindImages();
    ReadClassNames();
    ReadLabels();
    ReadLists();
}

bool CYoloDatasetScan::IsImageFile(const QString& strPath)
{
    // The add command's filter: each extension in lower or upper case.
    static const QStringList lstExtensions = {"bmp", "jpg", "jpeg", "png", "gif", "tif", "tiff"};
    const QString strSuffix = QFileInfo(strPath).suffix();
    return lstExtensions.contains(strSuffix) ||
           (lstExtensions.contains(strSuffix.toLower()) && strSuffix == strSuffix.toUpper());
}

void CYoloDatasetScan::FindImages()
{
    QStringList lstPaths;
    QDirIterator it(m_strFolder, QDir::Files | QDir::Readable, QDirIterator::Subdirectories);
    while (it.hasNext())
    {
        const QString strPath = it.next();
        if (IsImageFile(strPath))
            lstPaths.append(Normalised(strPath));
    }
    // The order of a directory listing is the file system's; path order makes an import repeatable.
    lstPaths.sort();
    m_vctImages.reserve(lstPaths.size());
    for (const QString& strPath : lstPaths)
    {
        SImage image;
        image.strPath = strPath;
        image.strLabelPath = FindLabelFile(strPath);
        m_vctImages.push_back(std::move(image));
    }
}

QString CYoloDatasetScan::FindLabelFile(const QString& strImagePath)
{
    const QFileInfo info(strImagePath);
    const QString strBeside = info.path() + "/" + info.completeBaseName() + ".txt";
    if (QFileInfo(strBeside).isFile())
        return strBeside;
    // The darknet layout keeps "images/x.jpg" beside "labels/x.txt"; the trainer's own edit covers its extensions,
    // the folder swap covers the others.
    const QString strTrainer = CTrainerImageRule::TrainerLabelPath(strImagePath);
    if (strTrainer != strImagePath && QFileInfo(strTrainer).isFile())
        return strTrainer;
    const int nAt = strBeside.lastIndexOf("/images/");
    if (nAt >= 0)
    {
        const QString strSwapped = strBeside.left(nAt) + "/labels/" + strBeside.mid(nAt + 8);
        if (QFileInfo(strSwapped).isFile())
            return strSwapped;
    }
    return QString();
}

void CYoloDatasetScan::ReadClassNames()
{
    QStringList lstNamesFiles = QDir(m_strFolder).entryList({"*.names"}, QDir::Files, QDir::Name);
    QString strNamesPath;
    if (!lstNamesFiles.isEmpty())
        strNamesPath = m_strFolder + "/" + lstNamesFiles.first();
    else if (QFileInfo(m_strFolder + "/classes.txt").isFile())
        strNamesPath = m_strFolder + "/classes.txt";
    if (strNamesPath.isEmpty())
        return;
    m_bNamesGiven = true;
    for (const QString& strLine : ReadLines(strNamesPath))
        m_lstClassNames.append(strLine.trimmed());
    // A file ends with a line break, often with a few: they name no class.
    while (!m_lstClassNames.isEmpty() && m_lstClassNames.last().isEmpty())
        m_lstClassNames.removeLast();
    // A blank line inside keeps its place: the names after it keep the indices the labels use.
    m_nBlankClassNames = static_cast<int>(m_lstClassNames.count(QString()));
}

bool CYoloDatasetScan::ParseLine(const QString& strLine, SBox& box)
{
    const QVector<QStringRef> vctParts = strLine.splitRef(' ', Qt::SkipEmptyParts);
    if (vctParts.size() != 5)
        return false;
    bool bOk = false;
    box.nClass = vctParts[0].trimmed().toInt(&bOk);
    if (!bOk || box.nClass < 0)
        return false;
    double* pValues[] = {&box.dblCenterX, &box.dblCenterY, &box.dblWidth, &box.dblHeight};
    for (int i = 0; i < 4; ++i)
    {
        *pValues[i] = vctParts[i + 1].trimmed().toDouble(&bOk);
        if (!bOk || !std::isfinite(*pValues[i]))
            return false;
    }
    return box.dblWidth >= 0.0 && box.dblHeight >= 0.0;
}

void CYoloDatasetScan::Note(SProblem& problem, const QString& strFile)
{
    ++problem.nCount;
    if (problem.lstFiles.size() < kReportedFiles && !problem.lstFiles.contains(strFile))
        problem.lstFiles.append(strFile);
}

void CYoloDatasetScan::ReadLabels()
{
    int nHighestClass = -1;
    for (SImage& image : m_vctImages)
    {
        if (image.strLabelPath.isEmpty())
            continue;
        const QString strFile = QDir(m_strFolder).relativeFilePath(image.strLabelPath);
        for (QString strLine : ReadLines(image.strLabelPath))
        {
            strLine.replace('\t', ' ').remove('\r');
            if (IsBlank(strLine))
                continue;
            SBox box;
            if (!ParseLine(strLine, box))
            {
                Note(m_malformed, strFile);
                continue;
            }
            if (m_bNamesGiven && (box.nClass >= m_lstClassNames.size() || m_lstClassNames[box.nClass].isEmpty()))
            {
                Note(m_unnamed, strFile);
                continue;
            }
            const double dblHalfW = box.dblWidth / 2.0;
            const double dblHalfH = box.dblHeight / 2.0;
            // Finite relative values still overflow in pixels (1e308 times the width) or fill a row with hundreds of
            // digits; a box without size teaches nothing.
            if (!CBoxRule::IsUsable(box.dblCenterX - dblHalfW, box.dblCenterY - dblHalfH, box.dblWidth, box.dblHeight))
            {
                Note(m_unusable, strFile);
                continue;
            }
            constexpr double kTolerance = CBoxRule::kEdgeTolerance;
            if (box.dblCenterX - dblHalfW < -kTolerance || box.dblCenterY - dblHalfH < -kTolerance ||
                box.dblCenterX + dblHalfW > 1.0 + kTolerance || box.dblCenterY + dblHalfH > 1.0 + kTolerance)
                Note(m_outside, strFile);
            nHighestClass = std::max(nHighestClass, box.nClass);
            image.vctBoxes.push_back(box);
        }
    }
    if (!m_bNamesGiven)
    {
        for (int i = 0; i <= nHighestClass; ++i)
            m_lstClassNames.append(QString("class%1").arg(i));
    }
}

std::vector<int> CYoloDatasetScan::ListedImages(const QString& strListPath) const
{
    // Lists name images by the path the trainer was started from ("data/obj/x.jpg"), by absolute path or relative
    // to the folder: a name matches the image whose path relative to the folder is the longest tail of it.
    QHash<QString, int> mapRelative;
    const QDir folder(m_strFolder);
    for (int i = 0; i < static_cast<int>(m_vctImages.size()); ++i)
        mapRelative.insert(folder.relativeFilePath(m_vctImages[i].strPath), i);
    std::vector<int> vctListed;
    for (const QString& strLine : ReadLines(strListPath))
    {
        QString strPath = Normalised(strLine.trimmed());
        if (strPath.isEmpty() || strPath == ".")
            continue;
        if (QDir::isAbsolutePath(strPath) && strPath.startsWith(m_strFolder + "/"))
            strPath = strPath.mid(m_strFolder.size() + 1);
        for (;;)
        {
            const auto it = mapRelative.constFind(strPath);
            if (it != mapRelative.constEnd())
            {
                vctListed.push_back(it.value());
                break;
            }
            const int nSlash = strPath.indexOf('/');
            if (nSlash < 0)
                break;
            strPath = strPath.mid(nSlash + 1);
        }
    }
    return vctListed;
}

void CYoloDatasetScan::ReadLists()
{
    const QString strTrain = m_strFolder + "/train.txt";
    const QString strTest = m_strFolder + "/test.txt";
    m_bHasLists = QFileInfo(strTrain).isFile() || QFileInfo(strTest).isFile();
    if (!m_bHasLists)
        return;
    for (const int nIndex : ListedImages(strTest))
        m_vctImages[nIndex].bTrain = false;
}

void CYoloDatasetScan::SetTrainShare(double dblShare)
{
    if (m_bHasLists)
        return;
    dblShare = std::min(1.0, std::max(0.0, dblShare));
    const int nTrain = static_cast<int>(std::lround(dblShare * static_cast<double>(m_vctImages.size())));
    for (int i = 0; i < static_cast<int>(m_vctImages.size()); ++i)
        m_vctImages[i].bTrain = i < nTrain;
}

int CYoloDatasetScan::BoxCount() const
{
    int nCount = 0;
    for (const SImage& image : m_vctImages)
        nCount += static_cast<int>(image.vctBoxes.size());
    return nCount;
}
