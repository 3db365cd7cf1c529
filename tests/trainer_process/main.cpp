#include <QCoreApplication>

int RunLineAssemblerTest(int argc, char** argv);
int RunTrainerProcessTest(int argc, char** argv);

// The line assembly alone, then the runner with real processes; each with its own report.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int nAssemblerFailures = RunLineAssemblerTest(argc, argv);
    return nAssemblerFailures + RunTrainerProcessTest(argc, argv);
}
