// The host's own windows: the main frame that parents the module's dialogs, and the drawing view
// that takes the keyboard focus back so that typing goes to the command line.
#pragma once

#include "host/mfc/cwnd.h"

CWnd* acedGetAcadFrame();
CWnd* acedGetAcadDwgView();
