#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CUndoCommand.h"

#include <QString>

#include <memory>
#include <vector>

class CDrawableObject;

// Gives one or several objects a new name (their label) as one step; undo gives each back the name it had when the
// command was made. Each rename is announced by the object itself, so whoever keeps the labels elsewhere follows the
// model both ways.
class OVRELCOMMON_EXPORT CRelabelDrawableObjectCommand : public CUndoCommand
{
public:
    CRelabelDrawableObjectCommand(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects,
                                  const QString& strName);

    void Execute() override;
    void Undo() override;

private:
    std::vector<std::shared_ptr<CDrawableObject>> m_vctObjects;
    std::vector<QString> m_vctOldNames;
    QString m_strName;
};
