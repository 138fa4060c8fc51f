// The drawing database as the editor's sources include it.
#pragma once

#include "host/db/db.h"
