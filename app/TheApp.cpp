// The one application object of a program. Palto.exe and each test program that
// needs it link this file themselves: an object in a static library that nobody
// references would be left out, and wWinMain finds the object only through its
// constructor.
#include "app/PaltoApp.h"

CPaltoApp theApp;
