#include <QApplication>

int RunProjectBuildTest(int argc, char** argv);
int RunHeadlessBuildTest(int argc, char** argv);
int RunHostileProjectBuildTest(int argc, char** argv);
int RunBoxNumbersTest(int argc, char** argv);
int RunBuildFileSafetyTest(int argc, char** argv);

// The test classes share the project fixture; each runs with its own report.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int nBuildFailures = RunProjectBuildTest(argc, argv);
    const int nHostileFailures = RunHostileProjectBuildTest(argc, argv);
    const int nHeadlessFailures = RunHeadlessBuildTest(argc, argv);
    const int nBoxFailures = RunBoxNumbersTest(argc, argv);
    return nBuildFailures + nHostileFailures + nHeadlessFailures + nBoxFailures + RunBuildFileSafetyTest(argc, argv);
}
