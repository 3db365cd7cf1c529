#pragma once

#include "project/evaluation/CEvaluationRun.h"
#include "project/store/CProjectLayout.h"

#include <QString>
#include <QStringList>
#include <QVector>

class CProjectController;
class CProjectModel;

// What an evaluation or a label check of the open project needs, gathered and checked before anything runs: the
// weights (the file given, else the one "Choose Weights..." chose, else the newest of Backup), the build's
// configuration, the class table, the images of the test or training list with their boxes, and the project's
// detection threshold as the model's commands read it.
class CEvaluationSetup
{
public:
    enum EProblem
    {
        EProblem_None,
        EProblem_NoProject,
        // "No trained weights in <Backup folder>", or a chosen file that is gone.
        EProblem_NoWeights,
        // config.txt is missing: the project must be built first.
        EProblem_NoConfiguration,
        EProblem_NoImages,
        EProblem_Unreadable,
    };

    // False with Problem and ErrorText when something is missing; the weights are checked before the configuration.
    bool Prepare(CProjectController& controller, const CProjectModel& model, bool bTrainingList,
                 const QString& strChosenWeights = QString());
    EProblem Problem() const { return m_eProblem; }
    QString ErrorText() const { return m_strError; }

    CProjectLayout Layout() const { return m_layout; }
    QString WeightsFile() const { return m_strWeights; }
    QStringList ClassNames() const { return m_lstClassNames; }
    const QVector<CEvaluationRun::SImage>& Images() const { return m_vctImages; }
    double Threshold() const { return m_dblThreshold; }

private:
    bool Fail(EProblem eProblem, const QString& strError);

    EProblem m_eProblem = EProblem_None;
    QString m_strError;
    CProjectLayout m_layout{QString()};
    QString m_strWeights;
    QStringList m_lstClassNames;
    QVector<CEvaluationRun::SImage> m_vctImages;
    double m_dblThreshold = 0.0;
};
