#include "project/annotation/CRoiAnnotationHost.h"

#include "frame/CSetting.h"
#include "project/CProjectController.h"
#include "project/CProjectEditors.h"

CRoiAnnotation::SHost CRoiAnnotationHost::Make(CProjectController* pController, CProjectEditors* pEditors)
{
    CRoiAnnotation::SHost host;
    host.commandStopped = [pController]() { return pController->CheckCommandStopped(); };
    host.hasChooser = [pEditors]() { return pEditors->HasChooser(); };
    host.chooseClass = [pEditors](QString& strClass) { return pEditors->ChooseClass(strClass); };
    host.chooseDeletedClass = [pEditors](QString& strClass)
    { return pEditors->ChooseClass(strClass, "The class of this box was deleted: choose a new one"); };
    host.quickClass = [pController](QString& strClass)
    {
        if (CSetting::GetInt(CProjectController::QUICK_CLASS, 0) == 0)
            return false;
        strClass = CSetting::GetString(CProjectController::QUICK_CLASS_NAME, QString());
        return pController->GetCategoryID(strClass) >= 0;
    };
    host.validateImage = [pController](int nImageID) { pController->ValidateImageByID(nImageID); };
    return host;
}
