#include <QApplication>

int RunProjectControllerTest(int argc, char** argv);
int RunProjectSafetyTest(int argc, char** argv);

// Two test classes share the project fixture; each runs with its own report.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int nControllerFailures = RunProjectControllerTest(argc, argv);
    return nControllerFailures + RunProjectSafetyTest(argc, argv);
}
