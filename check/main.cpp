#include "CVosticApp.h"

int main(int argc, char** argv)
{
    CVosticApp theApp(argc, argv);
    return theApp.InitInstance();
}
