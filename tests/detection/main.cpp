#include <QApplication>

int RunModelCommandsTest(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return RunModelCommandsTest(argc, argv);
}
