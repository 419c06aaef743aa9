// A static text or picture control.
#pragma once

#include "framework/CWnd.h"

class CStatic : public CWnd {};
