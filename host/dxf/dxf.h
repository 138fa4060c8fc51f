// Drawing files: the host's drawing database read from and written to text DXF that other
// programs open and audit cleanly.
//
// Files are written as R2007 (AC1021), whose strings are UTF-8: Chinese layer, block and style
// names are then plain names that ezdxf's audit accepts and LibreCAD shows. R2000 would need
// \U+XXXX escapes, which ezdxf's audit refuses in table names. Older files, with escapes or
// in the code page $DWGCODEPAGE names (ANSI_1252, ANSI_936), are still read.
//
// The reader and writer are our own. dxflib was tried as a candidate and left out: it passes
// non-ASCII text through unconverted and offers no way to read or write an entity's extended
// data, on which framework entities and regions depend.
//
// What the files hold beyond plain entities:
// - Framework entities (classes the database's class factory makes by drawing type name) are
//   an INSERT at the origin of an anonymous block holding their graphics in world coordinates,
//   or their own TEXT or INSERT when they draw as exactly that; either carries XDATA of
//   application "VORN": first the type name (1000), then the fields the entity writes.
// - A region is one closed LWPOLYLINE per loop, each with XDATA "VORN": "VORN_REGION" (1000),
//   the region's number in the file (1071) and its loop count (1071).
// - The print scale is an XRECORD "VORN_DRAWING" in the root dictionary (group 40); the
//   drawing unit is $INSUNITS (4 millimetres, 6 metres).
#pragma once

#include <memory>
#include <string>

#include "host/db/dbmain.h"

namespace vorn::dxf {

// Reads a drawing file into a new database. Null with error ("FILE:LINE: what was expected")
// when the file is missing, truncated, malformed or refused; nothing is ever half read.
std::unique_ptr<AcDbDatabase> ReadDxfFile(const std::string& path, std::string& error);

// The same into a database the caller made (new AcDbDatabase(true), untouched since): the file
// is read once into a scratch database and only on success again into `into`. eFilerError
// with error otherwise, and `into` is as it was.
Acad::ErrorStatus ReadDxf(const std::string& path, AcDbDatabase& into, std::string& error);

// Writes the drawing atomically: a temporary file beside path, flushed to disk, then renamed
// over it. On failure the old file is untouched and error says why (the system's reason).
Acad::ErrorStatus WriteDxf(const AcDbDatabase& db, const std::string& path, std::string& error);

// The drawing as DXF text, for tests and tools.
std::string DxfText(const AcDbDatabase& db);

// Makes a block definition named blockName in db from the model space of the drawing file at
// path (read into a scratch database, then copied with AcDbDatabase::insert).
Acad::ErrorStatus LoadDxfAsBlock(const std::string& path, AcDbDatabase& db, const std::wstring& blockName,
                                 AcDbObjectId& blockId, std::string& error);

}  // namespace vorn::dxf
