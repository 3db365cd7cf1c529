#pragma once

#include "project/annotation/CRoiAnnotation.h"

class CProjectController;
class CProjectEditors;

// What the annotation of the project's boxes asks of the project it belongs to: whether the trainer is stopped and
// the revalidation of an image (the controller), the class chooser (the editors), and the class a new box takes
// without asking while "Quick class" is on (CProjectController::QUICK_CLASS and QUICK_CLASS_NAME, when the project
// has that class).
class CRoiAnnotationHost
{
public:
    CRoiAnnotationHost() = delete;

    // Neither is owned; both must outlive the annotation given the answers.
    static CRoiAnnotation::SHost Make(CProjectController* pController, CProjectEditors* pEditors);
};
