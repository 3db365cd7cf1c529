#include <QApplication>

int RunRoiAnnotationTest(int argc, char** argv);
int RunRoiConsistencyTest(int argc, char** argv);

// Two test classes share the annotation fixture; each runs with its own report.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int nAnnotationFailures = RunRoiAnnotationTest(argc, argv);
    return nAnnotationFailures + RunRoiConsistencyTest(argc, argv);
}
