// The program's entry point: hands over to the application object at once.
#include "framework/CWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    return AfxWinMain(instance, showCommand);
}
