// Run-time class registry: classes by name and by drawing type name, and the factory.
#include "host/db/rxobject.h"
