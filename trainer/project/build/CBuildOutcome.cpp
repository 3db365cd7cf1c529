#include "project/build/CBuildOutcome.h"

#include "frame/CLogger.h"
#include "frame/CPrompt.h"

namespace
{
// The heading of one reason for n items.
QString Heading(CBuildOutcome::EReason eReason, int nCount)
{
    const bool bOne = nCount == 1;
    switch (eReason)
    {
    case CBuildOutcome::EReason_NoBoxes:
        return QString("%1 %2 no boxes:").arg(nCount).arg(bOne ? "image has" : "images have");
    case CBuildOutcome::EReason_ClassGone:
        return QString("%1 %2 boxes whose class was deleted:").arg(nCount).arg(bOne ? "image has" : "images have");
    case CBuildOutcome::EReason_BadNumbers:
        return QString("%1 %2 no size or boxes that are not numbers, have no size or lie outside the image:")
            .arg(nCount)
            .arg(bOne ? "image has" : "images have");
    case CBuildOutcome::EReason_Unusable:
        return QString("%1 %2 cannot be used by the trainer:").arg(nCount).arg(bOne ? "image" : "images");
    case CBuildOutcome::EReason_Failed:
        return QString("The build could not finish (a file could not be read, written or put in place):");
    case CBuildOutcome::EReason_ClassName:
        return QString("%1 %2 cannot be written to custom.names:").arg(nCount).arg(bOne ? "class" : "classes");
    case CBuildOutcome::EReason_Count:
        break;
    }
    return QString();
}
} // namespace

void CBuildOutcome::Add(EReason eReason, const QString& strItem)
{
    if (eReason >= 0 && eReason < EReason_Count)
        m_lists[eReason].append(strItem);
}

bool CBuildOutcome::IsRefused() const
{
    for (const QStringList& lstItems : m_lists)
    {
        if (!lstItems.isEmpty())
            return true;
    }
    return false;
}

QString CBuildOutcome::Text() const
{
    QStringList lstLines = {"The build was refused; the files of the previous build were left as they were.", ""};
    for (int i = 0; i < EReason_Count; ++i)
    {
        const QStringList& lstItems = m_lists[i];
        if (lstItems.isEmpty())
            continue;
        lstLines.append(Heading(static_cast<EReason>(i), lstItems.size()));
        for (const QString& strItem : lstItems.mid(0, kShown))
            lstLines.append("    " + strItem);
        if (lstItems.size() > kShown)
            lstLines.append(QString("    and %1 more (the log names all of them)").arg(lstItems.size() - kShown));
    }
    return lstLines.join('\n');
}

void CBuildOutcome::LogSummary() const
{
    for (int i = 0; i < EReason_Count; ++i)
    {
        if (!m_lists[i].isEmpty())
            CLogger::Write(ELogLevel_Error, "Refused: %s",
                           Heading(static_cast<EReason>(i), m_lists[i].size()).chopped(1).toUtf8().constData());
    }
}

void CBuildOutcome::Tell(QWidget* pParent, const QString& strTitle) const
{
    if (!IsRefused())
        return;
    // Red lines scrolling by in the log are easily missed, and the first of them need not say why: the user is told
    // every reason at once. A run without window has the box answered and logged.
    LogSummary();
    CPrompt::Warning(pParent, strTitle, Text());
}
