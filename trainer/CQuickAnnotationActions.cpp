#include "CQuickAnnotationActions.h"

#include "CMainWindowActions.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "frame/CSetting.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/CRoiAnnotationHost.h"
#include "project/ECommandState.h"
#include "project/classes/CClassColours.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QToolBar>

CQuickAnnotationActions::CQuickAnnotationActions(QWidget* pWindow, const CMainWindowActions& commands,
                                                 CImageWorkspaceController* pWorkspace, CProjectModel* pModel,
                                                 CProjectController* pController)
    : m_pModel(pModel), m_pController(pController)
{
    pImportDataset = new QAction(QIcon(":/Image/open-folder.png"), "Import Dataset", pWindow);
    pImportDataset->setToolTip("Import Dataset");
    pExportDataset = new QAction("Export Dataset...", pWindow);
    pExportDataset->setToolTip("Export the project's images and boxes as Pascal VOC or COCO");
    pQuickClass = new QAction("Quick class", pWindow);
    pQuickClass->setCheckable(true);
    pQuickClass->setToolTip("Quick class: new boxes take the class shown beside it");
    pQuickClass->setChecked(CSetting::GetInt(CRoiAnnotationHost::QUICK_CLASS, 0) != 0);

    // "Import Dataset" sits with the other project file commands, above "Recent".
    commands.pFileMenu->insertAction(commands.pFileCommandsEnd, pImportDataset);
    commands.pFileMenu->insertAction(commands.pFileCommandsEnd, pExportDataset);
    commands.pEditMenu->addSeparator();
    commands.pEditMenu->addAction(pQuickClass);

    QToolBar* pToolBar = commands.pToolBar;
    pClassBox = new QComboBox(pToolBar);
    pClassBox->setObjectName(CRoiAnnotationHost::QUICK_CLASS_NAME);
    pClassBox->setToolTip("Class of new boxes while \"Quick class\" is on");
    pClassBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Before the spacer that pushes "Setting" to the far end.
    QAction* pSpacer = commands.pToolBarSpacer;
    pToolBar->insertAction(pSpacer, pQuickClass);
    pToolBar->insertWidget(pSpacer, pClassBox);
    pToolBar->insertSeparator(pSpacer);

    QObject::connect(pImportDataset, &QAction::triggered, pController, &CProjectController::slot_ImportDataset);
    QObject::connect(pExportDataset, &QAction::triggered, pController, &CProjectController::slot_ExportDataset);
    QObject::connect(pQuickClass, &QAction::toggled,
                     [this](bool bOn)
                     {
                         // The box shows the class new boxes take: turned on, that is the class, stored or not.
                         if (bOn && !pClassBox->currentText().isEmpty())
                             CSetting::Set(CRoiAnnotationHost::QUICK_CLASS_NAME, pClassBox->currentText());
                         CSetting::Set(CRoiAnnotationHost::QUICK_CLASS, bOn ? 1 : 0);
                     });
    QObject::connect(pClassBox, &QComboBox::currentTextChanged,
                     [this](const QString& strName)
                     {
                         // Refilling the box passes through other names: only the user's choice is stored.
                         if (!m_bFilling && !strName.isEmpty())
                             CSetting::Set(CRoiAnnotationHost::QUICK_CLASS_NAME, strName);
                     });
    QObject::connect(pController, &CProjectController::signal_ClassesChanged, pClassBox, [this] { RefreshClasses(); });
    for (auto signal : {&CProjectModel::signal_ChangeProject, &CProjectModel::signal_CloseProject,
                        &CProjectModel::signal_ChangeCommandState})
        QObject::connect(pModel, signal, pImportDataset, [this] { UpdateEnabled(); });
    QObject::connect(pModel, &CProjectModel::signal_CloseProject, pClassBox, [this] { RefreshClasses(); });
    for (int nViewID = 0; pWorkspace && nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
    {
        CImageViewerController* pViewer = pWorkspace->GetViewerController(nViewID);
        if (pViewer && pViewer->GetCanvas())
            QObject::connect(pViewer->GetCanvas(), &CImageView2D::signal_PressKey, pClassBox,
                             [this, pViewer](int nKey)
                             {
                                 if (!RelabelSelection(pViewer, nKey))
                                     CanvasKey(nKey);
                             });
    }
    RefreshClasses();
    UpdateEnabled();
}

void CQuickAnnotationActions::RefreshClasses()
{
    m_bFilling = true;
    pClassBox->clear();
    if (m_pModel && m_pController && !m_pModel->GetProjectDir().isEmpty())
    {
        const QStringList lstNames = m_pController->GetClassNames();
        pClassBox->addItems(lstNames);
        for (int i = 0; i < lstNames.size(); ++i)
            pClassBox->setItemIcon(i, CClassColours::Swatch(CClassColours::OfIndex(i)));
    }
    const int nStored = pClassBox->findText(CSetting::GetString(CRoiAnnotationHost::QUICK_CLASS_NAME, QString()));
    pClassBox->setCurrentIndex(nStored >= 0 ? nStored : 0);
    m_bFilling = false;
    // A project without the stored class shows its first class: that is the one new boxes take.
    if (nStored < 0 && pClassBox->count() > 0 && pQuickClass->isChecked())
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS_NAME, pClassBox->currentText());
}

void CQuickAnnotationActions::CanvasKey(int nKey)
{
    if (!pQuickClass->isChecked() || nKey < Qt::Key_1 || nKey > Qt::Key_9)
        return;
    const int nIndex = nKey - Qt::Key_1;
    // The box's own change signal stores the choice, as a choice with the mouse would.
    if (nIndex < pClassBox->count())
        pClassBox->setCurrentIndex(nIndex);
}

bool CQuickAnnotationActions::RelabelSelection(CImageViewerController* pViewer, int nKey)
{
    CImageView2DController* pCanvas = pViewer ? pViewer->GetCanvasController() : nullptr;
    if (!pCanvas || !m_pController || !m_pModel || m_pModel->GetProjectDir().isEmpty() || nKey < Qt::Key_1 ||
        nKey > Qt::Key_9)
        return false;
    const std::vector<std::shared_ptr<CDrawableObject>> vctSelected = pCanvas->SelectedObjects();
    if (vctSelected.empty())
        return false;
    // With boxes selected the digit is about them: a digit past the classes relabels nothing and chooses nothing.
    const QStringList lstNames = m_pController->GetClassNames();
    const int nIndex = nKey - Qt::Key_1;
    if (nIndex < lstNames.size())
        pCanvas->RelabelObjects(vctSelected, lstNames[nIndex]);
    return true;
}

void CQuickAnnotationActions::UpdateEnabled()
{
    const bool bOpen = m_pModel && !m_pModel->GetProjectDir().isEmpty();
    pImportDataset->setEnabled(bOpen && m_pModel->GetCommandState() == ECommandState_Stopped);
    // The export only reads the project: a running trainer does not stand in its way.
    pExportDataset->setEnabled(bOpen);
}
