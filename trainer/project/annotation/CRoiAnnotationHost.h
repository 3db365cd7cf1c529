#pragma once

#include "project/annotation/IRoiAnnotationHost.h"

#include <memory>

class CProjectController;
class CProjectEditors;

// What the annotation of the project's boxes asks of the project it belongs to: whether the trainer is stopped and
// the revalidation of an image (the controller), the class chooser (the editors), and the class a new box takes
// without asking while "Quick class" is on (CProjectController::QUICK_CLASS and QUICK_CLASS_NAME, when the project
// has that class).
class CRoiAnnotationHost : public IRoiAnnotationHost
{
public:
    // Neither is owned; both must outlive this host.
    CRoiAnnotationHost(CProjectController* pController, CProjectEditors* pEditors);
    static std::unique_ptr<IRoiAnnotationHost> Make(CProjectController* pController, CProjectEditors* pEditors);

    bool CommandStopped() override;
    bool HasChooser() const override;
    bool ChooseClass(QString& strClass) override;
    bool ChooseDeletedClass(QString& strClass) override;
    bool QuickClass(QString& strClass) override;
    void ValidateImage(int nImageID) override;

private:
    CProjectController* m_pController;
    CProjectEditors* m_pEditors;
};
