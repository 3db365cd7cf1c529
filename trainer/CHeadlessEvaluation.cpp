#include "CHeadlessEvaluation.h"

#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/evaluation/CEvaluationRun.h"
#include "project/evaluation/CEvaluationSetup.h"
#include "project/evaluation/CEvaluationTable.h"
#include "project/store/CProjectLayout.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>

int CHeadlessEvaluation::Evaluate(const QString& strProjectFile, const QString& strWeightsFile, QTextStream& out,
                                  QTextStream& err)
{
    const QString strAbsolute = QFileInfo(strProjectFile).absoluteFilePath();
    if (!QFileInfo(strAbsolute).isFile())
    {
        err << "No project file " << strAbsolute << "\n";
        return 1;
    }
    const CProjectLayout layout = CProjectLayout::FromProjectFile(strAbsolute);
    CProjectModel model;
    CProjectController controller(&model, nullptr);
    // The run decodes every image itself: a validation pass would read them twice.
    controller.SetValidateOnOpen(false);
    controller.OpenProject(layout.ProjectDir(), layout.ProjectName());
    if (model.GetProjectDir().isEmpty())
    {
        err << "Cannot open the project " << strAbsolute << "\n";
        return 1;
    }

    int nExitCode = 1;
    CEvaluationSetup setup;
    if (!setup.Prepare(controller, model, false,
                       strWeightsFile.isEmpty() ? QString() : QFileInfo(strWeightsFile).absoluteFilePath()))
        err << setup.ErrorText() << "\n";
    else
    {
        CEvaluationRun run;
        QEventLoop loop;
        QObject::connect(&run, &CEvaluationRun::signal_Evaluated, &loop,
                         [&out](const CEvaluationResult& result, const CDoubtfulLabelList& lstSuspects,
                                const CEvaluationRecord&, const CEvaluationRecord*, const QString&)
                         {
                             for (const QString& strLine : CEvaluationTable::Lines(result))
                                 out << strLine << "\n";
                             out << lstSuspects.size() << " suspect labels\n";
                         });
        QObject::connect(&run, &CEvaluationRun::signal_Finished, &loop,
                         [&](bool bCancelled, int nSkipped, const QString& strError)
                         {
                             if (nSkipped > 0)
                                 out << nSkipped << " images did not decode and were left out\n";
                             if (!strError.isEmpty())
                                 err << strError << "\n";
                             else if (!bCancelled)
                                 nExitCode = 0;
                             loop.quit();
                         });
        if (run.Start(CEvaluationRun::EPurpose_Evaluate, setup.Layout(), setup.ClassNames(), setup.Images(),
                      setup.WeightsFile(), setup.Threshold()))
            loop.exec();
    }
    out.flush();
    err.flush();
    controller.CloseProject();
    return nExitCode;
}
