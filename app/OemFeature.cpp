#include "app/PaltoApp.h"

bool QueryOemOnlyFeature()
{
    return false;  // the product configuration file is not read yet
}
