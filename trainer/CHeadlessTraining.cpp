#include "CHeadlessTraining.h"

#include "frame/CLogger.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/run/CTrainerJobChoice.h"
#include "project/run/CTrainingRun.h"
#include "project/store/CProjectLayout.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTextStream>

#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace
{
// The handler's end of the pipe; -1 while no handler is installed.
int g_nSignalWriteFd = -1;

// Only async-signal-safe calls: the signal's number goes down the pipe and the event loop does the rest.
void OnSignal(int nSignal)
{
    const int nSavedErrno = errno;
    const char cSignal = static_cast<char>(nSignal);
    // The write end does not block: a full pipe already holds a stop request.
    [[maybe_unused]] const ssize_t nWritten = ::write(g_nSignalWriteFd, &cSignal, 1);
    errno = nSavedErrno;
}

// SIGINT and SIGTERM turned into bytes on a socket for the life of the object; the previous handlers come back after.
struct SSignalPipe
{
    int anFds[2] = {-1, -1};
    struct sigaction previousInt = {};
    struct sigaction previousTerm = {};
    bool bInstalled = false;

    SSignalPipe()
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, anFds) != 0)
            return;
        g_nSignalWriteFd = anFds[0];
        struct sigaction action = {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        // A read or wait of the trainer's output that the signal interrupts goes on.
        action.sa_flags = SA_RESTART;
        bInstalled =
            ::sigaction(SIGINT, &action, &previousInt) == 0 && ::sigaction(SIGTERM, &action, &previousTerm) == 0;
    }
    ~SSignalPipe()
    {
        if (anFds[0] < 0)
            return;
        ::sigaction(SIGINT, &previousInt, nullptr);
        ::sigaction(SIGTERM, &previousTerm, nullptr);
        g_nSignalWriteFd = -1;
        ::close(anFds[0]);
        ::close(anFds[1]);
    }
    // The last signal received since the previous call, 0 when none was.
    int Take() const
    {
        int nSignal = 0;
        char cSignal = 0;
        while (anFds[1] >= 0 && ::read(anFds[1], &cSignal, 1) == 1)
            nSignal = cSignal;
        return nSignal;
    }
};
// The log's lines are echoed on standard error from a queue: they go first, so that the reason is the last line.
void Tell(QTextStream& err, const QString& strLine)
{
    CLogger::Flush();
    err << strLine << "\n";
    err.flush();
}
} // namespace

int CHeadlessTraining::Train(const QString& strProjectFile, QTextStream& out, QTextStream& err)
{
    out.setCodec("UTF-8");
    const QString strAbsolute = QFileInfo(strProjectFile).absoluteFilePath();
    if (!QFileInfo(strAbsolute).isFile())
    {
        Tell(err, "No project file " + strAbsolute);
        return 1;
    }
    // From before the build: a Ctrl+C then must not leave a trainer behind that starts after it.
    const SSignalPipe signalPipe;
    if (!signalPipe.bInstalled)
    {
        Tell(err, "Cannot catch the stop signals: " + qt_error_string(errno));
        return 1;
    }

    const CProjectLayout layout = CProjectLayout::FromProjectFile(strAbsolute);
    CProjectModel model;
    CProjectController controller(&model, nullptr);
    // The build validates every image; no tree shows the open's marks.
    controller.SetValidateOnOpen(false);
    controller.OpenProject(layout.ProjectDir(), layout.ProjectName());
    if (model.GetProjectDir().isEmpty())
    {
        Tell(err, "Cannot open the project " + strAbsolute);
        return 1;
    }
    if (!controller.BuildProject())
    {
        Tell(err, "The build of " + strAbsolute + " failed: the trainer was not started");
        controller.CloseProject();
        return 1;
    }
    const int nEarlySignal = signalPipe.Take();
    if (nEarlySignal != 0)
    {
        Tell(err, QString("Stopped by signal %1 before the trainer started").arg(nEarlySignal));
        controller.CloseProject();
        return 128 + nEarlySignal;
    }

    CTrainingRun run(nullptr, CTrainerJobChoice::MakeJob());
    QEventLoop loop;
    bool bEnded = false;
    bool bStopping = false;
    QObject::connect(&run, &CTrainingRun::signal_OutputLine, &loop,
                     [&out](const QString& strLine)
                     {
                         out << strLine << "\n";
                         out.flush();
                     });
    QObject::connect(run.Job(), &ITrainerJob::signal_Ended, &loop,
                     [&]
                     {
                         bEnded = true;
                         loop.quit();
                     });
    QSocketNotifier notifier(signalPipe.anFds[1], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop,
                     [&]
                     {
                         const int nSignal = signalPipe.Take();
                         if (nSignal == 0 || bStopping || bEnded)
                             return;
                         bStopping = true;
                         CLogger::Write(ELogLevel_Normal, "Stopping the trainer on signal %d", nSignal);
                         run.Stop();
                     });
    if (!run.Start(controller.GetProjectProperty("PROJECT_INITIALIZED_MODEL"), model.GetProjectDir(),
                   controller.GetProjectProperty("PROJECT_CONFIGURATION")))
    {
        Tell(err, "The trainer was not started");
        controller.CloseProject();
        return 1;
    }
    if (!bEnded)
        loop.exec();
    out.flush();
    controller.CloseProject();
    const int nExitCode = run.Job()->ExitCode();
    if (nExitCode < 0)
    {
        Tell(err, "The trainer ended without an exit status");
        return 1;
    }
    return nExitCode;
}
