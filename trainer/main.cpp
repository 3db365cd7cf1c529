#include "CHeadlessBuild.h"
#include "MainWindow.h"

#include "frame/CLogger.h"

#include <QApplication>
#include <QTimer>

#include <exception>

int main(int argc, char* argv[])
{
    if (CHeadlessBuild::IsRequested(argc, argv))
        return CHeadlessBuild::Run(argc, argv);

    QApplication app(argc, argv);
    auto* pWindow = new MainWindow(nullptr);
    pWindow->ShowAsLeft();
    // A project file given by the file manager opens once the window is up, so that its prompts have a parent.
    const QString strProject = MainWindow::ProjectArgument(QApplication::arguments());
    if (!strProject.isEmpty())
        QTimer::singleShot(0, pWindow, [pWindow, strProject] { pWindow->slot_OpenProjectPath(strProject); });

    int nExitCode = 0;
    try
    {
        nExitCode = app.exec();
        CLogger::Write(ELogLevel_Debug, "Application is ended");
    }
    catch (const std::exception& e)
    {
        CLogger::Write(ELogLevel_Debug, "Application error: %s", e.what());
    }

    delete pWindow;
    // The drain timer no longer runs: write what is still queued before the application object goes.
    CLogger::Flush();
    return nExitCode;
}
