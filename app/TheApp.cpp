// The one application object of a program. Palto.exe and each test program that
// needs it link this file themselves: an object in a static library that nobody
// references would be left out, and wWinMain finds the object only through its
// constructor.
//
// It is made at static initialization and never destroyed: worker threads and engine
// callbacks may still read it while the process ends.
#include "app/PaltoApp.h"

CPaltoApp& theApp = *new CPaltoApp;
