#include "CTestSandbox.h"

#include "frame/CSetting.h"

#include <QApplication>

int RunImageViewerTest(int argc, char** argv);
int RunImageWorkspaceTest(int argc, char** argv);
int RunWorkspaceObjectsTest(int argc, char** argv);

// Three groups of workspace behaviour, each with its own report: one viewer panel, the four-viewer workspace's layouts
// and files, and the objects of every viewer as the workspace reaches them. They share one sandbox and log folder.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CTestSandbox sandbox;
    CSetting::Set("GENERAL_LOG_DIR", sandbox.Path("Log"));
    return RunImageViewerTest(argc, argv) + RunImageWorkspaceTest(argc, argv) + RunWorkspaceObjectsTest(argc, argv);
}
