#pragma once

#include "OvrelCommonGlobal.h"

#include <QString>

// The folder each kind of file dialog last took its answer from, kept with the program's settings so that the same
// kind of dialog opens there again, also after the next start. One key per purpose: choosing images does not move
// the folder that projects are opened from.
class OVRELCOMMON_EXPORT CFolderMemory
{
public:
    static const QString IMAGES;
    static const QString PROJECTS;
    static const QString IMPORT;
    static const QString EXPORT;

    // The folder to start the dialog of that purpose in; empty (the dialog's own choice) when none is remembered or
    // the remembered one is gone.
    static QString Folder(const QString& strPurpose);
    // Remembers the folder of a chosen file, or a chosen folder itself. An empty answer (a cancelled dialog) changes
    // nothing.
    static void Remember(const QString& strPurpose, const QString& strChosenPath);
    // The settings key of that purpose.
    static QString Key(const QString& strPurpose);
};
