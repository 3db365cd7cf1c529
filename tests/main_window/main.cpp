#include <QApplication>

int RunMainWindowTest(int argc, char** argv);
int RunMainWindowLayoutTest(int argc, char** argv);
int RunMainWindowWorkflowTest(int argc, char** argv);
int RunProjectScreenTest(int argc, char** argv);
int RunTrainerSettingsTest(int argc, char** argv);
int RunCanvasKeysTest(int argc, char** argv);
int RunWindowMemoryTest(int argc, char** argv);

// The window's commands, its layout, then the user's workflows through the whole window; each class reports on its
// own.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int nFailures = RunMainWindowTest(argc, argv);
    nFailures += RunMainWindowLayoutTest(argc, argv);
    nFailures += RunMainWindowWorkflowTest(argc, argv);
    nFailures += RunTrainerSettingsTest(argc, argv);
    nFailures += RunCanvasKeysTest(argc, argv);
    nFailures += RunWindowMemoryTest(argc, argv);
    return nFailures + RunProjectScreenTest(argc, argv);
}
