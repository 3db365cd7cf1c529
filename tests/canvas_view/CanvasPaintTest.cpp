#include "CCanvasFixture.h"
int RunCanvasPaintTest(int, char**)
{
    return 0;
}
