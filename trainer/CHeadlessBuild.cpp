#include "CHeadlessBuild.h"

#include "CHeadlessPromptHandler.h"
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

namespace
{
const char* const BUILD_OPTION = "build";
} // namespace

bool CHeadlessBuild::IsRequested(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
    {
        const QString strArgument = QString::fromLocal8Bit(argv[i]);
        if (strArgument == "--build" || strArgument.startsWith("--build=") || strArgument == "--help" ||
            strArgument == "-h" || strArgument == "--help-all")
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
    // Prints the help and ends the program for --help, and ends it with an error for an unknown option.
    parser.process(app);

    CLogModel::GetInstance().SetEchoToStandardError(true);
    CHeadlessPromptHandler handler;
    IPromptHandler* pPrevious = CPrompt::SetHandler(&handler);
    LoadSettings();
    const bool bBuilt = BuildProjectFile(parser.value(buildOption));
    CPrompt::SetHandler(pPrevious);
    // The log's timer never ran: everything is still queued.
    CLogger::Flush();
    return bBuilt ? 0 : 1;
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
