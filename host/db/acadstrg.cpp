// Texts of the status codes.
#include "host/db/db.h"
