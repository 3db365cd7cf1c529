#include <QApplication>

int RunRoiAnnotationTest(int argc, char** argv);
int RunRoiConsistencyTest(int argc, char** argv);
int RunRoiQuickClassTest(int argc, char** argv);
int RunRoiNavigationTest(int argc, char** argv);
int RunRoiDeletedClassTest(int argc, char** argv);
int RunRoiHistoryTest(int argc, char** argv);
int RunRoiBoxRowsTest(int argc, char** argv);
int RunRoiColourTest(int argc, char** argv);
int RunRoiBoxListTest(int argc, char** argv);
int RunRoiProposalTest(int argc, char** argv);

// The test classes share the annotation fixture; each runs with its own report.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int nAnnotationFailures = RunRoiAnnotationTest(argc, argv);
    const int nConsistencyFailures = RunRoiConsistencyTest(argc, argv);
    const int nQuickClassFailures = RunRoiQuickClassTest(argc, argv);
    const int nNavigationFailures = RunRoiNavigationTest(argc, argv);
    return nAnnotationFailures + nConsistencyFailures + nQuickClassFailures + nNavigationFailures +
           RunRoiDeletedClassTest(argc, argv) + RunRoiHistoryTest(argc, argv) + RunRoiBoxRowsTest(argc, argv) +
           RunRoiColourTest(argc, argv) + RunRoiBoxListTest(argc, argv) + RunRoiProposalTest(argc, argv);
}
