// The drawing database in one include: ids, objects, entities, tables, the database.
#pragma once

#include "host/db/db2dpline.h"
#include "host/db/dbarc.h"
#include "host/db/dbblockref.h"
#include "host/db/dbkept.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/db/dbpline.h"
#include "host/db/dbregion.h"
#include "host/db/dbtext.h"
#include "host/db/gi.h"
