// The parts of a record that the host writes itself, shared by the reader (which takes those
// groups out of what it keeps) and the writer (which writes them after their subclass marker,
// followed by the kept groups of that part). Groups the host does not set stay in file order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/db/dbkept.h"
#include "host/dxf/dxfgroups.h"

namespace vorn::dxf::detail {

// The records whose groups the host takes in part.
enum class RecordKind : unsigned char {
    kLine, kCircle, kArc, kLwPolyline, kPolyline, kVertex, kSeqEnd, kText, kMText, kInsert, kKept,
    kBlockBegin, kBlockEnd, kLayer, kLinetype, kStyle, kBlockRecord, kTableHead
};

// The subclass markers the writer puts before the host's groups of each part, in order.
const std::vector<const char*>& MarkersOf(RecordKind part);

// Whether the host sets a group of the record itself (beyond handle, owner and extended data).
// common: the group stands where an entity's common properties do.
bool HostSets(RecordKind part, int code, bool common);

// Flag groups whose bits the host sets only in part: the other bits are kept in a group of
// the negated code (-70), which the writer merges into the flags it writes.
int HostFlagBits(RecordKind part);  // the bits of group 70 the host sets; -1: the host keeps no bits of it

// Where each group of a record stands.
enum class Place : unsigned char {
    kHandle,    // the record's own handle (5, or 105 of a dimension style)
    kOwner,     // the owner (the first 330 before any subclass marker)
    kFlat,      // a record without subclass markers (R12)
    kHead,      // before the first marker
    kEntity,    // in the AcDbEntity part
    kOwn,       // in another part
    kMarker,    // a subclass marker (100)
    kBrace,     // inside a 102 {...} group (reactors, extension dictionary)
    kEmbedded,  // from an embedded object marker (101) on
    kXData      // extended data (1001 and after)
};
void Places(const std::vector<Group>& body, std::vector<Place>& out);

// Kept groups of negated codes are no groups of the file but notes for the writer: the bits of
// a flag group the host does not set (-70), the index beside a true colour (-62, -420), that
// the file gave an optional group (-7, -11, -41, -43), an angle in the degrees the file wrote
// (-50, -51), where the host's groups stood in a record without subclass markers (-1).
// The value of such a note, false when there is none.
bool KeptNote(const AcDbKeptData* kept, int code, std::string& value);
// An angle in degrees as the file wrote it, while the host's radians are still what it read.
double KeptDegrees(const AcDbKeptData* kept, int code, double radians);
// The value of the kept flag bits of code (the -code group), 0 when none.
long long KeptBits(const AcDbKeptData* kept, int code);
// Whether kept groups hold a group of that code outside braces.
bool KeptHas(const AcDbKeptData* kept, int code);

}  // namespace vorn::dxf::detail
