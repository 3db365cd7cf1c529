#include "frame/CFolderMemory.h"

#include "frame/CSetting.h"

#include <QFileInfo>

const QString CFolderMemory::IMAGES = QStringLiteral("IMAGES");
const QString CFolderMemory::PROJECTS = QStringLiteral("PROJECTS");
const QString CFolderMemory::IMPORT = QStringLiteral("IMPORT");
const QString CFolderMemory::EXPORT = QStringLiteral("EXPORT");

QString CFolderMemory::Key(const QString& strPurpose)
{
    return QStringLiteral("GENERAL_LAST_FOLDER_") + strPurpose;
}

QString CFolderMemory::Folder(const QString& strPurpose)
{
    const QString strFolder = CSetting::GetString(Key(strPurpose), QString());
    // A folder removed or unmounted since would open the dialog somewhere the user never was.
    return !strFolder.isEmpty() && QFileInfo(strFolder).isDir() ? strFolder : QString();
}

void CFolderMemory::Remember(const QString& strPurpose, const QString& strChosenPath)
{
    if (strChosenPath.isEmpty())
        return;
    const QFileInfo info(strChosenPath);
    CSetting::Set(Key(strPurpose), info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}
