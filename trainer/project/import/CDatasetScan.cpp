#include "project/import/CDatasetScan.h"

#include "project/store/CBoxRule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace
{
// How many file names a report keeps per kind of problem.
constexpr int kReportedFiles = 5;
} // namespace

CDatasetScan::CDatasetScan(const QString& strFolder, const std::atomic_bool* pCancel)
    : m_strFolder(Normalised(QFileInfo(strFolder).absoluteFilePath())), m_pCancel(pCancel)
{
}

bool CDatasetScan::Stop()
{
    if (m_pCancel && m_pCancel->load())
        m_bCancelled = true;
    return m_bCancelled;
}

bool CDatasetScan::Present(const QString& strPath)
{
    const QFileInfo info(strPath);
    return info.exists() || info.isSymLink();
}

QString CDatasetScan::Normalised(const QString& strPath)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(strPath));
}

QString CDatasetScan::Relative(const QString& strPath) const
{
    return QDir(m_strFolder).relativeFilePath(strPath);
}

void CDatasetScan::Note(SProblem& problem, const QString& strFile)
{
    ++problem.nCount;
    if (problem.lstFiles.size() < kReportedFiles && !problem.lstFiles.contains(strFile))
        problem.lstFiles.append(strFile);
}

bool CDatasetScan::ReadBytes(const QString& strPath, qint64 nMaxBytes, QByteArray& baData)
{
    baData.clear();
    // The file's type is asked before it is opened: opening a FIFO waits for a writer, a device never ends.
    const QFileInfo info(strPath);
    if (!info.isFile())
    {
        Note(m_unreadable, Relative(strPath));
        return false;
    }
    if (info.size() > nMaxBytes)
    {
        Note(m_tooLarge, Relative(strPath));
        return false;
    }
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
    {
        Note(m_unreadable, Relative(strPath));
        return false;
    }
    // The file may have grown since it was measured.
    baData = file.read(nMaxBytes + 1);
    if (baData.size() > nMaxBytes)
    {
        baData.clear();
        Note(m_tooLarge, Relative(strPath));
        return false;
    }
    return true;
}

bool CDatasetScan::ReadText(const QString& strPath, QStringList& lstLines)
{
    lstLines.clear();
    QByteArray baText;
    if (!ReadBytes(strPath, kMaxTextBytes, baText))
        return false;
    lstLines = QString::fromUtf8(baText).remove('\r').split('\n');
    return true;
}

bool CDatasetScan::CheckPixelBox(const SPixelBox& box, const QSize& size, const QString& strFile)
{
    if (!CBoxRule::IsUsableInPixels(box.dblX, box.dblY, box.dblWidth, box.dblHeight, size.width(), size.height()))
    {
        Note(m_unusableBoxes, strFile);
        return false;
    }
    // Half a pixel beyond an edge is rounding of the tool that wrote the box, not a box beyond the image.
    constexpr double kTolerance = 0.5;
    if (box.dblX < -kTolerance || box.dblY < -kTolerance || box.dblX + box.dblWidth > size.width() + kTolerance ||
        box.dblY + box.dblHeight > size.height() + kTolerance)
        Note(m_outside, strFile);
    return true;
}

void CDatasetScan::SetTrainShare(double dblShare)
{
    if (m_bHasLists)
        return;
    dblShare = std::min(1.0, std::max(0.0, dblShare));
    const int nTrain = static_cast<int>(std::lround(dblShare * static_cast<double>(m_vctImages.size())));
    for (int i = 0; i < static_cast<int>(m_vctImages.size()); ++i)
        m_vctImages[i].bTrain = i < nTrain;
}

int CDatasetScan::BoxCount() const
{
    int nCount = 0;
    for (const SImage& image : m_vctImages)
        nCount += static_cast<int>(image.vctBoxes.size() + image.vctPixelBoxes.size());
    return nCount;
}
