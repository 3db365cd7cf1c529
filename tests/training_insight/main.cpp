#include <QApplication>

int RunTrainingChartTest(int argc, char** argv);
int RunDatasetReportTest(int argc, char** argv);
int RunFitToClassesTest(int argc, char** argv);

// Three test classes; each runs with its own report.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int nFailures = RunTrainingChartTest(argc, argv);
    nFailures += RunDatasetReportTest(argc, argv);
    return nFailures + RunFitToClassesTest(argc, argv);
}
