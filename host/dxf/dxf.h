// Drawing files: the host's drawing database read from and written to DXF that other
// programs open and audit cleanly.
//
// Everything a file holds is kept: the entities the host models become its own (lines, arcs,
// circles, polylines, texts, block references) and keep the groups they do not set; every other
// entity (hatches, dimensions, splines, images, viewports, ...) is kept as a record of its
// groups in order; table records, classes, objects, header variables and extended data of
// every application are kept too, all with their handles, and written back where they were.
// New objects take handles past the file's $HANDSEED.
//
// A drawing read from a file is written in the file's version, code page and form (text or
// binary). A new drawing is written as R2007 (AC1021), whose strings are UTF-8: Chinese layer,
// block and style names are then plain names that ezdxf's audit accepts and LibreCAD shows.
// Files of R2004 and older are read and written in the code page their $DWGCODEPAGE names
// (ANSI_936 GBK, ANSI_950 Big5, ANSI_932, ANSI_949, ANSI_1250 to ANSI_1258, ...), with \U+XXXX
// and \M+NXXXX escapes read and a character the page lacks written as \U+XXXX.
//
// A damaged file is read as far as it makes sense: an impossible value (a circle of radius 0,
// a block without a name, a bad handle, lines that are no groups, a missing section end, text
// after EOF) is mended or its record left out, with one note per kind naming the file, the
// line and what was done; the notes stay with the drawing for AUDIT. Only a file without any
// readable structure is refused, and a DWG file is recognised by its signature.
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
#include <vector>

#include "host/db/dbmain.h"

namespace vorn::dxf {

// Reads a drawing file into a new database. Null with error ("FILE:LINE: what was expected")
// when the file is missing, unreadable or refused; nothing is ever half read. What was mended
// or left out goes to standard error, one "vorncad: warning: FILE:LINE: ..." line per kind.
std::unique_ptr<AcDbDatabase> ReadDxfFile(const std::string& path, std::string& error);
// The same, handing back those lines ("FILE:LINE: what was done") instead of printing them.
std::unique_ptr<AcDbDatabase> ReadDxfFile(const std::string& path, std::string& error, std::vector<std::string>& notes);

// The same into a database the caller made (new AcDbDatabase(true), untouched since): the file
// is read once into a scratch database and only on success again into `into`. eFilerError
// with error otherwise, and `into` is as it was.
Acad::ErrorStatus ReadDxf(const std::string& path, AcDbDatabase& into, std::string& error);

// Writes the drawing atomically: a temporary file beside path, flushed to disk, then renamed
// over it. On failure the old file is untouched and error says why (the system's reason).
Acad::ErrorStatus WriteDxf(const AcDbDatabase& db, const std::string& path, std::string& error);

// The drawing as DXF text (also when it came from a binary file), for tests and tools.
std::string DxfText(const AcDbDatabase& db);

// What the reader mended or left out when the drawing was read (empty for a drawing made here).
const std::vector<std::string>& ReadNotes(const AcDbDatabase& db);

// Makes a block definition named blockName in db from the model space of the drawing file at
// path (read into a scratch database, then copied with AcDbDatabase::insert).
Acad::ErrorStatus LoadDxfAsBlock(const std::string& path, AcDbDatabase& db, const std::wstring& blockName,
                                 AcDbObjectId& blockId, std::string& error);

}  // namespace vorn::dxf
