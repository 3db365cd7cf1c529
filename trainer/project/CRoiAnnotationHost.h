#pragma once

#include "project/annotation/IRoiAnnotationHost.h"

#include <QPointer>
#include <QString>

#include <memory>

class CDatabase;
class CProjectEditors;
class CProjectModel;
class QWidget;

// What the annotation of the project's boxes asks of the project it belongs to, answered from the project's parts
// rather than from its controller: whether the trainer is stopped (CRunStateCheck, told over the project view), the
// revalidation of an image (CImageValidation on the model), the class chooser (the editors), and the class a new box
// takes without asking while "Quick class" is on (QUICK_CLASS and QUICK_CLASS_NAME, when the project has that class).
class CRoiAnnotationHost : public IRoiAnnotationHost
{
public:
    // Settings of "Quick class": 1 while a new box takes the class named by QUICK_CLASS_NAME without the chooser
    // (when the project has that class; otherwise the chooser asks as before).
    static inline const QString QUICK_CLASS = QStringLiteral("TRAINER_QUICK_CLASS");
    static inline const QString QUICK_CLASS_NAME = QStringLiteral("TRAINER_QUICK_CLASS_NAME");

    // Nothing is owned; the database and the editors must outlive this host, the model is watched.
    CRoiAnnotationHost(CProjectModel* pModel, CDatabase* pDatabase, CProjectEditors* pEditors, QWidget* pView);
    static std::unique_ptr<IRoiAnnotationHost> Make(CProjectModel* pModel, CDatabase* pDatabase,
                                                    CProjectEditors* pEditors, QWidget* pView);

    bool CommandStopped() override;
    bool HasChooser() const override;
    bool ChooseClass(QString& strClass) override;
    bool ChooseDeletedClass(QString& strClass) override;
    bool QuickClass(QString& strClass) override;
    void ValidateImage(int nImageID) override;

private:
    QPointer<CProjectModel> m_pModel;
    CDatabase* m_pDatabase;
    CProjectEditors* m_pEditors;
    QWidget* m_pView;
};
