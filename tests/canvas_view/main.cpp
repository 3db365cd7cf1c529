#include <QApplication>

int RunCanvasMappingTest(int argc, char** argv);
int RunCanvasSignalsTest(int argc, char** argv);
int RunCanvasPaintTest(int argc, char** argv);
int RunCanvasProposalTest(int argc, char** argv);

// Four groups of canvas behaviour, each with its own report.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return RunCanvasMappingTest(argc, argv) + RunCanvasSignalsTest(argc, argv) + RunCanvasPaintTest(argc, argv) +
           RunCanvasProposalTest(argc, argv);
}
