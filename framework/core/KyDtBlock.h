// Block definitions loaded from support drawings.
#pragma once

#include "host/db/dbid.h"

class AcDbDatabase;

// The block definition made from the model space of the drawing file (a DXF, or a ".dwg"
// name whose ".dxf" twin exists) in db (null: the working drawing). The block is named after
// the file's stem; when a block of that name exists it is returned as it is, so loading one
// file twice gives one block. Null when the file is missing or unreadable, with a message.
AcDbObjectId KyDtLoadBlock(const wchar_t* file, AcDbDatabase* db = nullptr);
