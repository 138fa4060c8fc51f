// What a drawing file holds beyond what the host models, kept so that a save writes it back:
// the groups of a record the host reads only in part, whole records of kinds it does not model
// (entities of any block, objects, table records, classes), and the drawing-wide parts of the
// file (its version, code page, header variables). Handles are the file's own: an object read
// from a file keeps its handle, and new objects take handles from the seed past every handle
// the file used.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/db/dbentity.h"

class AcDbDatabase;
class AcDbSymbolTable;
class AcDbSymbolTableRecord;

// One group of a drawing file: its code and its value as text. A string in UTF-8 (escapes
// undone), a number in its shortest exact decimal form, a handle or binary data in hexadecimal.
struct AcDbKeptGroup {
    int code = 0;
    std::string value;
    bool operator==(const AcDbKeptGroup& o) const { return code == o.code && value == o.value; }
};
using AcDbKeptGroups = std::vector<AcDbKeptGroup>;

// A record of its own: its type as group 0 names it ("ATTRIB", "DICTIONARY"), its handle and
// its other groups in order. Records kept whole among objects, classes and unmodelled tables
// keep even their handle among the groups (handle 0 then).
struct AcDbKeptRecord {
    std::string type;
    std::uint64_t handle = 0;
    AcDbKeptGroups groups;
};

// What an object keeps of its file record: the groups the host does not set (in file order,
// subclass markers included, so that each stays in its part of the record), and the records
// that follow it and belong to it (a block reference's attributes and SEQEND, a polyline's
// vertices and SEQEND, a block's BLOCK and ENDBLK).
struct AcDbKeptData {
    AcDbKeptGroups groups;
    std::vector<AcDbKeptRecord> following;
    bool empty() const { return groups.empty() && following.empty(); }
};

namespace vorn::db {

// Group codes whose values are handles of other objects.
bool IsHandleCode(int code);
// Pointer codes: a handle naming another object (owner, reference), not the record's own.
bool IsPointerCode(int code);
// The value of a real-valued group as a number; false when it is not one.
bool KeptReal(const AcDbKeptGroup& g, double& value);
// The shortest exact text of a finite number, as kept groups hold reals.
std::string KeptRealText(double value);
// Whether a code is one of the three of a point: the X codes of 10..18, 110..112, 210, 1010..1013
// and their Y (+10) and Z (+20) companions.
bool IsPointCode(int code, int& xCode);

}  // namespace vorn::db

class AcGiWorldDraw;

// An entity of a kind the host does not model: hatches, dimensions, splines, ellipses,
// points, solids, images, viewports, tables, leaders, ... It keeps its type and every group
// its record had, beside the properties every entity has (layer, colour, line type, extended
// data). Its extents are the box of the points its groups name, so that it can be picked and
// chosen by window; a move, turn or scale transforms those points, their directions and sizes
// where the kind defines what they mean, and refuses otherwise (eCannotScaleNonUniformly or
// eNotApplicable) rather than change it wrongly.
class AcDbKeptEntity : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbKeptEntity)
public:
    AcDbKeptEntity() = default;
    explicit AcDbKeptEntity(std::string type) : m_type(std::move(type)) {}
    AcDbKeptEntity(const AcDbKeptEntity&) = default;

    // The record's type ("HATCH").
    const std::string& type() const { return m_type; }
    // Its groups (kept data): an empty list for an entity without any.
    const AcDbKeptGroups& groups() const;
    // The records that follow it (attributes, vertices, SEQEND).
    const std::vector<AcDbKeptRecord>& following() const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    // Draws the kind as plan views show it (dbkeptdraw.cpp): fills and patterns of hatches,
    // curves, points, dimensions and tables through their blocks, frames of images.
    bool worldDraw(AcGiWorldDraw* draw) const override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new AcDbKeptEntity(*this); }

private:
    std::string m_type;
};

namespace vorn::db {

// The parts of a drawing file that belong to the whole drawing, as read. A drawing made here
// has none: it is written as a new file.
struct FileData {
    std::string version;   // $ACADVER ("AC1015"); empty for a drawing made here
    std::string codePage;  // $DWGCODEPAGE as the file names it ("ANSI_936")
    bool binary = false;   // read from binary DXF, and written back in that form
    // Every header variable in file order: its name ("$ANGBASE") and groups.
    std::vector<std::pair<std::string, AcDbKeptGroups>> header;
    // What the host took from the header variables it models: a variable whose value is still
    // this is written back as the file had it.
    int drawUnitAsRead = 0;
    double textSizeAsRead = 0.0, filletRadiusAsRead = 0.0;
    std::wstring clayerAsRead, textStyleAsRead;
    std::vector<AcDbKeptRecord> classes;
    // Tables the host does not model (VPORT, VIEW, UCS, APPID, DIMSTYLE, ...), whole; the
    // modelled ones keep their head's groups on the table object.
    struct Table {
        std::string name;
        AcDbKeptRecord head;
        std::vector<AcDbKeptRecord> records;
    };
    std::vector<Table> tables;
    // Records of the modelled tables that the host cannot hold (a shape file's style, which
    // has no name), by table name, written back at the end of their table.
    std::vector<std::pair<std::string, AcDbKeptRecord>> extraRecords;
    bool hasObjects = false;  // the file had an OBJECTS section
    std::vector<AcDbKeptRecord> objects;
    // Other sections (THUMBNAILIMAGE, ACDSDATA, ...), in file order, with their records.
    std::vector<std::pair<std::string, std::vector<AcDbKeptRecord>>> sections;
    // What the reader mended or left out, one line per kind: "FILE:LINE: what was done".
    std::vector<std::string> notes;
};

FileData& FileDataOf(AcDbDatabase& db);
const FileData& FileDataOf(const AcDbDatabase& db);

// The object holding a handle (null when none does).
AcDbObjectId IdOfHandle(const AcDbDatabase& db, std::uint64_t handle);
// For the file reader: gives an object the handle its file names. An object holding that handle
// already moves to a new one from the seed. eInvalidInput for handle 0 or a bad id.
Acad::ErrorStatus TakeHandle(AcDbDatabase& db, const AcDbObjectId& id, std::uint64_t handle);
// Raises the seed so that no new handle is below it.
void ReserveHandles(AcDbDatabase& db, std::uint64_t seed);
// A new handle for a record kept inside an object (a copied block reference's attributes).
std::uint64_t NewHandle(AcDbDatabase& db);

// Appends an entity read whole from a file to a block (open for write), closed, with the
// checks appendAcDbEntity makes, under the file's handle when no object holds that yet (else
// a new one; the caller may then take it with TakeHandle).
Acad::ErrorStatus AppendEntityAsRead(AcDbBlockTableRecord* block, AcDbEntity* entity, std::uint64_t handle,
                                     AcDbObjectId& id);
// Makes room for about count more objects, so that reading a large file does not grow the
// drawing's tables step by step.
void ReserveObjects(AcDbDatabase& db, std::size_t count);

// Adds a record read from a file to its table under the name the file gives it, which may
// hold characters a typed name may not (xref-dependent names "SITE|ROAD"): any name without
// control characters goes. eDuplicateKey for a name the table has.
Acad::ErrorStatus AddRecordAsRead(AcDbSymbolTable* table, AcDbSymbolTableRecord* record, const std::wstring& name,
                                  AcDbObjectId& id);

// Makes the kept data of a copy fit a new object: links that belong to the original (its
// extension dictionary, reactors, the handles of its attributes) are dropped or renewed on
// append. acrossDrawings: the copy goes to another drawing, whose objects the original's
// references do not name; false when the copy cannot go there whole (a kept entity that names
// other objects by handle or a block by name) and must be left out.
bool PrepareCopy(AcDbObject* copy, bool acrossDrawings);

// Transforms the points, directions, sizes and angles kept groups hold, for the kind they
// belong to (type: the record type, "HATCH"; groups: its groups; frame: the groups whose
// extrusion gives the object coordinates, when not their own, as a polyline's for its
// vertices). False (nothing changed) when the matrix cannot be applied the way the kind
// defines them: every kind moves, some also turn and scale uniformly in the plan.
bool TransformKeptGroups(const std::string& type, AcDbKeptGroups& groups, const AcGeMatrix3d& xform,
                         const AcDbKeptGroups* frame = nullptr);
// For the host's own kinds: moves what their kept data holds with them (a block reference's
// attributes, a paragraph text's columns) after the entity itself was transformed. What cannot
// follow the matrix stays as it was.
void TransformKeptOf(AcDbEntity* entity, const std::string& type, const AcGeMatrix3d& xform);

// The visible attributes a block reference keeps from its file, drawn with their values; true
// when the sink asked to stop.
bool DrawKeptAttributes(const AcDbEntity* owner, AcGiWorldDraw* draw);

namespace detail {
// The box of what a kept entity draws, for the kinds whose groups' points alone miss part of
// it (a hatch's arcs, a dimension's text, the curve of a spline); false for the others.
bool KeptDrawnExtents(const AcDbKeptEntity& e, AcDbExtents& extents);
}  // namespace detail

}  // namespace vorn::db
