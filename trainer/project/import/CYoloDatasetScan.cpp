#include "project/import/CYoloDatasetScan.h"

#include "project/build/CTrainerImageRule.h"
#include "project/store/CBoxRule.h"

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
// Lines read between two looks at the cancel flag.
constexpr int kLinesPerCancelCheck = 4096;
} // namespace

CYoloDatasetScan::CYoloDatasetScan(const QString& strFolder, const std::atomic_bool* pCancel)
    : CDatasetScan(strFolder, pCancel)
{
    FindImages();
    if (!Stop())
        ReadClassNames();
    if (!Stop() && m_strRefusal.isEmpty())
        ReadLabels();
    if (!Stop() && m_strRefusal.isEmpty())
        ReadLists();
    if (m_bCancelled)
        m_vctImages.clear();
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
    // System entries are listed too: an image that is a FIFO, a device or a dangling link is reported, not lost.
    QDirIterator it(m_strFolder, QDir::Files | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext() && !Stop())
    {
        const QString strPath = it.next();
        if (!IsImageFile(strPath))
            continue;
        const QFileInfo info(strPath);
        if (!info.isFile() || !info.isReadable())
            Note(m_unreadable, Relative(strPath));
        else if (info.size() > kMaxImageBytes)
            Note(m_tooLarge, Relative(strPath));
        else
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
        if (image.strLabelPath.isEmpty())
        {
            // Something that is not a regular file where the label file belongs: the image's boxes cannot be read.
            const QString strBlocked = BlockedLabelFile(strPath);
            if (!strBlocked.isEmpty())
            {
                Note(m_unreadable, Relative(strBlocked));
                ++m_nSkippedImages;
                continue;
            }
        }
        m_vctImages.push_back(std::move(image));
    }
}

QStringList CYoloDatasetScan::LabelFileCandidates(const QString& strImagePath)
{
    const QFileInfo info(strImagePath);
    const QString strBeside = info.path() + "/" + info.completeBaseName() + ".txt";
    QStringList lstCandidates = {strBeside};
    // The darknet layout keeps "images/x.jpg" beside "labels/x.txt"; the trainer's own edit covers its extensions,
    // the folder swap covers the others.
    const QString strTrainer = CTrainerImageRule::TrainerLabelPath(strImagePath);
    if (strTrainer != strImagePath)
        lstCandidates.append(strTrainer);
    const int nAt = strBeside.lastIndexOf("/images/");
    if (nAt >= 0)
        lstCandidates.append(strBeside.left(nAt) + "/labels/" + strBeside.mid(nAt + 8));
    return lstCandidates;
}

QString CYoloDatasetScan::FindLabelFile(const QString& strImagePath)
{
    for (const QString& strCandidate : LabelFileCandidates(strImagePath))
    {
        if (QFileInfo(strCandidate).isFile())
            return strCandidate;
    }
    return QString();
}

QString CYoloDatasetScan::BlockedLabelFile(const QString& strImagePath)
{
    for (const QString& strCandidate : LabelFileCandidates(strImagePath))
    {
        if (Present(strCandidate))
            return strCandidate;
    }
    return QString();
}

void CYoloDatasetScan::ReadClassNames()
{
    QStringList lstNamesFiles = QDir(m_strFolder).entryList({"*.names"}, QDir::Files | QDir::System, QDir::Name);
    QString strNamesPath;
    if (!lstNamesFiles.isEmpty())
        strNamesPath = m_strFolder + "/" + lstNamesFiles.first();
    else if (Present(m_strFolder + "/classes.txt"))
        strNamesPath = m_strFolder + "/classes.txt";
    if (strNamesPath.isEmpty())
        return;
    m_bNamesGiven = true;
    QStringList lstLines;
    if (!ReadText(strNamesPath, lstLines))
    {
        // Numbered classes in place of the named ones would mislabel every box.
        m_strRefusal = QString("%1 cannot be read or is too large: nothing imported.").arg(Relative(strNamesPath));
        return;
    }
    for (const QString& strLine : lstLines)
        m_lstClassNames.append(strLine.trimmed());
    // A file ends with a line break, often with a few: they name no class.
    while (!m_lstClassNames.isEmpty() && m_lstClassNames.last().isEmpty())
        m_lstClassNames.removeLast();
    // A blank line inside keeps its place: the names after it keep the indices the labels use.
    m_nBlankClassNames = static_cast<int>(m_lstClassNames.count(QString()));
    if (m_lstClassNames.size() > kMaxClasses)
    {
        m_strRefusal = QString("%1 classes exceed the limit of %2 per project: nothing imported.")
                           .arg(m_lstClassNames.size())
                           .arg(kMaxClasses);
        m_lstClassNames.clear();
    }
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

void CYoloDatasetScan::ReadLabels()
{
    int nHighestClass = -1;
    std::vector<SImage> vctReadable;
    vctReadable.reserve(m_vctImages.size());
    for (SImage& image : m_vctImages)
    {
        if (Stop())
            return;
        if (image.strLabelPath.isEmpty())
        {
            vctReadable.push_back(std::move(image));
            continue;
        }
        const QString strFile = QDir(m_strFolder).relativeFilePath(image.strLabelPath);
        QStringList lstLines;
        if (!ReadText(image.strLabelPath, lstLines))
        {
            ++m_nSkippedImages;
            continue;
        }
        int nLine = 0;
        for (QString strLine : lstLines)
        {
            if (++nLine % kLinesPerCancelCheck == 0 && Stop())
                return;
            strLine.replace('\t', ' ').remove('\r');
            if (IsBlank(strLine))
                continue;
            SBox box;
            if (!ParseLine(strLine, box))
            {
                Note(m_malformed, strFile);
                continue;
            }
            // Without names every index up to the highest becomes a class: a huge index must not make millions.
            if ((m_bNamesGiven && (box.nClass >= m_lstClassNames.size() || m_lstClassNames[box.nClass].isEmpty())) ||
                box.nClass >= kMaxClasses)
            {
                Note(m_unnamed, strFile);
                continue;
            }
            if (static_cast<int>(image.vctBoxes.size()) >= kMaxBoxesPerImage)
            {
                Note(m_beyondBoxLimit, strFile);
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
        vctReadable.push_back(std::move(image));
    }
    m_vctImages = std::move(vctReadable);
    if (!m_bNamesGiven)
    {
        for (int i = 0; i <= nHighestClass; ++i)
            m_lstClassNames.append(QString("class%1").arg(i));
    }
}

std::vector<int> CYoloDatasetScan::ListedImages(const QStringList& lstLines) const
{
    // Lists name images by the path the trainer was started from ("data/obj/x.jpg"), by absolute path or relative
    // to the folder: a name matches the image whose path relative to the folder is the longest tail of it.
    QHash<QString, int> mapRelative;
    const QDir folder(m_strFolder);
    for (int i = 0; i < static_cast<int>(m_vctImages.size()); ++i)
        mapRelative.insert(folder.relativeFilePath(m_vctImages[i].strPath), i);
    std::vector<int> vctListed;
    for (const QString& strLine : lstLines)
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
    m_bHasLists = Present(strTrain) || Present(strTest);
    if (!m_bHasLists || !Present(strTest))
        return;
    QStringList lstLines;
    if (!ReadText(strTest, lstLines))
    {
        // Its images would train: a test list that cannot be read stops the import.
        m_strRefusal = QString("test.txt cannot be read or is too large: nothing imported.");
        return;
    }
    for (const int nIndex : ListedImages(lstLines))
        m_vctImages[nIndex].bTrain = false;
}
