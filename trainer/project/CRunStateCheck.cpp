#include "project/CRunStateCheck.h"

#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"

bool CRunStateCheck::Stopped(const CProjectModel* pModel, QWidget* pParent)
{
    if (pModel && pModel->GetCommandState() == ECommandState_Stopped)
        return true;
    CPrompt::Critical(pParent, CSetting::GetString("GENERAL_PROGRAME_NAME", "OvrelTrainer"),
                      "Project is still running");
    return false;
}
