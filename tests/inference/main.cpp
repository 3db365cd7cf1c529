#include <QCoreApplication>

int RunDetectionAgreementTest(int argc, char** argv);
int RunDetectionInputsTest(int argc, char** argv);
int RunDetectionRunnerTest(int argc, char** argv);

// Each test class runs with its own report.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return RunDetectionAgreementTest(argc, argv) + RunDetectionInputsTest(argc, argv) +
           RunDetectionRunnerTest(argc, argv);
}
