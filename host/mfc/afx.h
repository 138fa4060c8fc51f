// Everything of the host's MFC-like layer in one include, for code written against that layer.
#pragma once

#include "host/mfc/afxtypes.h"
#include "host/mfc/cstring.h"
#include "host/mfc/cwnd.h"
#include "host/mfc/dialog.h"
#include "host/mfc/hostwindows.h"
#include "host/mfc/msgbox.h"
#include "host/mfc/msgmap.h"
#include "host/mfc/resources.h"
#include "host/mfc/window.h"
#include "host/mfc/winmsg.h"
