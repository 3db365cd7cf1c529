#pragma once

class CModel;
class CController;
class QWidget;

// One registered triple. The registry owns none of the pointers.
struct SMVC
{
    CModel* pModel = nullptr;
    CController* pController = nullptr;
    QWidget* pView = nullptr;
};

// The same triple as kept by the image workspace for its viewers.
struct SMVCItem
{
    CModel* pModel = nullptr;
    CController* pController = nullptr;
    QWidget* pView = nullptr;
};
