#include "CTestSandbox.h"

#include "frame/CSetting.h"

#include <QApplication>

int RunToolFrameTest(int argc, char** argv);
int RunFilterToolsTest(int argc, char** argv);
int RunOcrToolTest(int argc, char** argv);

// Three groups of tool behaviour, each with its own report: the frame's binding and ROI list, the filters, and OCR.
// They share one sandbox so that log lines are read back from one folder.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CTestSandbox sandbox;
    CSetting::Set("GENERAL_LOG_DIR", sandbox.Path("Log"));
    return RunToolFrameTest(argc, argv) + RunFilterToolsTest(argc, argv) + RunOcrToolTest(argc, argv);
}
