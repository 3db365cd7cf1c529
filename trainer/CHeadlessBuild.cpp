#include "CHeadlessBuild.h"

#include "CHeadlessEvaluation.h"
#include "CHeadlessPromptHandler.h"
#include "CHeadlessTraining.h"
#include "frame/CLogModel.h"
#include "frame/CLogger.h"
#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "frame/CSettingController.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/store/CProjectLayout.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

namespace
{
const char* const BUILD_OPTION = "build";
const char* const EVALUATE_OPTION = "evaluate";
const char* const WEIGHTS_OPTION = "weights";
const char* const TRAIN_OPTION = "train";
} // namespace

bool CHeadlessBuild::IsRequested(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
    {
        const QString strArgument = QString::fromLocal8Bit(argv[i]);
        if (strArgument == "--build" || strArgument.startsWith("--build=") || strArgument == "--evaluate" ||
            strArgument.startsWith("--evaluate=") || strArgument == "--train" || strArgument.startsWith("--train=") ||
            strArgument == "--help" || strArgument == "-h" || strArgument == "--help-all")
            return true;
    }
    return false;
}

int CHeadlessBuild::Run(int argc, char* argv[])
{
    // Before the application object exists: it picks its platform when it is made, and there may be no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName("OvrelTrainer");
    QCoreApplication::setApplicationVersion("1.0.0");

    QCommandLineParser parser;
    parser.setApplicationDescription("Training projects for the Darknet trainer. Without options the window opens.");
    parser.addHelpOption();
    const QCommandLineOption buildOption(
        BUILD_OPTION,
        "Builds the trainer's files of the project PATH/name.data without window; exits with 0 when the "
        "build succeeded and 1 otherwise.",
        "project file");
    parser.addOption(buildOption);
    const QCommandLineOption evaluateOption(
        EVALUATE_OPTION,
        "Evaluates the trained weights on the test list of the project PATH/name.data without window: prints the "
        "per-class table and the means, saves the record in the Evaluation folder; exits with 0, or 1 with the "
        "reason.",
        "project file");
    parser.addOption(evaluateOption);
    const QCommandLineOption weightsOption(
        WEIGHTS_OPTION, "The weights file --evaluate measures (default: the newest in the project's Backup folder).",
        "weights file");
    parser.addOption(weightsOption);
    const QCommandLineOption trainOption(
        TRAIN_OPTION,
        "Builds the project PATH/name.data as --build does, then runs the trainer where the trainer settings say "
        "(this computer or a Slurm cluster) without window: prints the trainer's lines as they come and exits with "
        "the trainer's exit status, or 1 with the reason. Ctrl+C stops the trainer or cancels the job.",
        "project file");
    parser.addOption(trainOption);
    // Prints the help and ends the program for --help, and ends it with an error for an unknown option.
    parser.process(app);

    CLogModel::GetInstance().SetEchoToStandardError(true);
    CHeadlessPromptHandler handler;
    IPromptHandler* pPrevious = CPrompt::SetHandler(&handler);
    LoadSettings();
    int nExitCode = 1;
    if (parser.isSet(evaluateOption))
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        nExitCode = CHeadlessEvaluation::Evaluate(parser.value(evaluateOption), parser.value(weightsOption), out, err);
    }
    else if (parser.isSet(trainOption))
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        nExitCode = CHeadlessTraining::Train(parser.value(trainOption), out, err);
    }
    else
        nExitCode = BuildProjectFile(parser.value(buildOption)) ? 0 : 1;
    CPrompt::SetHandler(pPrevious);
    // The log's timer never ran: everything is still queued.
    CLogger::Flush();
    return nExitCode;
}

void CHeadlessBuild::LoadSettings()
{
    const QString strProgramName = "OvrelTrainer";
    const QString strConfigDir =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QDir::separator() + strProgramName;
    CSetting::Set("GENERAL_PROGRAME_NAME", strProgramName);
    CSetting::Set("GENERAL_PROGRAM_CONFIG_DIR", strConfigDir);
    CSetting::Set("GENERAL_LOG_DIR", strConfigDir + QDir::separator() + "Log");
    // Only read: a controller without view writes nothing back, so the build leaves the recent projects alone.
    if (QFileInfo::exists(strConfigDir + QDir::separator() + "settings.data"))
        CSettingController settings(nullptr);
}

bool CHeadlessBuild::BuildProjectFile(const QString& strProjectFile)
{
    const CProjectLayout layout = CProjectLayout::FromProjectFile(QFileInfo(strProjectFile).absoluteFilePath());

    CProjectModel model;
    CProjectController controller(&model, nullptr);
    // The build validates every image; no tree shows the open's marks.
    controller.SetValidateOnOpen(false);
    controller.OpenProject(layout.ProjectDir(), layout.ProjectName());
    if (model.GetProjectDir().isEmpty())
        return false;
    const bool bBuilt = controller.BuildProject();
    controller.CloseProject();
    return bBuilt;
}
