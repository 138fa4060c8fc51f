// Compiles every public header of the layer on its own.
#include "host/mfc/afx.h"
