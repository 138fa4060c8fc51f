// All of the host's geometry values in one include.
#pragma once

#include "host/ge/gematrix3d.h"
#include "host/ge/getol.h"
#include "host/ge/gevec2d.h"
#include "host/ge/gevec3d.h"
