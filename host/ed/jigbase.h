// What jigs and selection speak in: points of the geometry layer, entities and ids of the
// drawing database.
#pragma once

#include "host/db/dbentity.h"
#include "host/db/dbid.h"
#include "host/ge/gevec3d.h"
