#include <QApplication>

int RunProjectBuildTest(int argc, char** argv);
int RunHeadlessBuildTest(int argc, char** argv);

// Two test classes share the project fixture; each runs with its own report.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int nBuildFailures = RunProjectBuildTest(argc, argv);
    return nBuildFailures + RunHeadlessBuildTest(argc, argv);
}
