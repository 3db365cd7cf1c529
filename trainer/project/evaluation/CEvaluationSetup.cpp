#include "project/evaluation/CEvaluationSetup.h"

#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/detection/CModelCommands.h"
#include "project/inference/CDetectionModel.h"
#include "project/inference/CWeightsChoice.h"

#include <QFileInfo>

bool CEvaluationSetup::Fail(EProblem eProblem, const QString& strError)
{
    m_eProblem = eProblem;
    m_strError = strError;
    return false;
}

bool CEvaluationSetup::Prepare(CProjectController& controller, const CProjectModel& model, bool bTrainingList,
                               const QString& strChosenWeights)
{
    m_eProblem = EProblem_None;
    m_strError.clear();
    m_vctImages.clear();
    if (model.GetProjectDir().isEmpty() || !controller.Database())
        return Fail(EProblem_NoProject, "No project is open");
    m_layout = CProjectLayout(model.GetProjectDir(), model.GetProjectName());

    CWeightsChoice choice(m_layout);
    CModelCommands* pModelCommands = controller.ModelCommands();
    choice.Choose(strChosenWeights.isEmpty() && pModelCommands ? pModelCommands->ChosenWeights() : strChosenWeights);
    m_strWeights = choice.Resolve();
    if (m_strWeights.isEmpty())
        return Fail(EProblem_NoWeights, choice.ErrorText());
    const QString strConfig = m_layout.Path(CProjectLayout::CONFIGURATION_FILE);
    if (!QFileInfo::exists(strConfig))
        return Fail(EProblem_NoConfiguration, CDetectionModel::MissingConfigurationText(strConfig));

    m_dblThreshold = pModelCommands ? pModelCommands->Threshold() : CDetectionModel::DEFAULT_THRESHOLD;
    m_lstClassNames = controller.GetClassNames();

    const CProjectModel::EntryList& vctEntries = model.GetImageList(bTrainingList);
    if (vctEntries.empty())
        return Fail(EProblem_NoImages, bTrainingList ? "The training list is empty" : "The test list is empty");
    QString strError;
    if (!CEvaluationRun::ReadImages(controller.Database(), m_layout.ProjectDir(), vctEntries, m_vctImages, strError))
        return Fail(EProblem_Unreadable, strError);
    return true;
}
