#include <QApplication>

int RunImageViewerTest(int argc, char** argv);
int RunImageWorkspaceTest(int argc, char** argv);

// Two groups of workspace behaviour, each with its own report: one viewer panel, and the four-viewer workspace.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return RunImageViewerTest(argc, argv) + RunImageWorkspaceTest(argc, argv);
}
