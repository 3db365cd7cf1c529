#include <QApplication>

int RunMainWindowTest(int argc, char** argv);
int RunMainWindowWorkflowTest(int argc, char** argv);

// The window's parts one by one, then the user's workflows through the whole window; each class reports on its own.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int nPartFailures = RunMainWindowTest(argc, argv);
    return nPartFailures + RunMainWindowWorkflowTest(argc, argv);
}
