// Entity picks and selection sets. Entity names (ads_name) stand for object ids; selection set
// names for sets kept by the editor until acedSSFree. Filters are result buffer lists of
// entity type names (group 0 or RTDXF0, comma lists such as "LINE,ARC" or
// "INSERT,VORN_INSERT", a framework class answering to its drawing type name) and layer
// names (group 8, comma lists too); all conditions of a filter must hold.
#pragma once

#include <cstdint>
#include <string>

#include "host/ed/adsdefs.h"

class AcDbObjectId;

// An entity name for an id and back (eOk, or eInvalidInput / eNullObjectId). Names of
// erased entities stay valid; their id reports isErased.
int acdbGetAdsName(ads_name name, const AcDbObjectId& id);
int acdbGetObjectId(AcDbObjectId& id, const ads_name name);

// One entity picked at a point (within PICKBOX pixels of its geometry; the last added wins
// ties): RTNORM with its name and the pick point (user coordinates); RTNONE on Enter; RTCAN
// on Esc; RTKWORD for a keyword of acedInitGet. A pick that hits nothing says so and asks again.
int acedEntSel(const wchar_t* prompt, ads_name entity, ads_point point);

// Selection: str null or "" asks the user (points pick one by one, W and C then two points,
// ALL, Enter ends, a "Select objects: " prompt); "X" the whole drawing; "W" window and "C"
// crossing between pt1 and pt2; "CP" and "WP" crossing and window polygon with pt1 a
// resbuf list of RTPOINT/RT3DPOINT vertices; "L" the last entity added; "I" or "P" the
// previous selection. Points are user coordinates. RTNORM with a set when anything was
// selected, RTERROR when nothing was, RTCAN on Esc.
int acedSSGet(const wchar_t* str, const void* pt1, const void* pt2, const resbuf* filter,
              ads_name ss);
int acedSSFree(const ads_name ss);
int acedSSLength(const ads_name ss, std::int32_t* len);
int acedSSName(const ads_name ss, std::int32_t i, ads_name entity);
// Adds an entity to a set; with a null set name it makes a new set holding it.
int acedSSAdd(const ads_name entity, const ads_name ss, ads_name result);
int acedSSDel(const ads_name entity, const ads_name ss);
// RTNORM when the entity is in the set.
int acedSSMemb(const ads_name entity, const ads_name ss);

namespace vorn::ed {

// A prompted pick of one entity the filter admits (filter may be null). Keywords come from
// acedInitGet as for acedEntSel.
int SelectEntity(const wchar_t* prompt, const resbuf* filter, ads_name entity, ads_point point);
// A prompted multiple selection with its own prompt: RTNORM with a set (RTERROR when the user
// ended with nothing selected), RTNONE for Enter at once, RTCAN on Esc, RTKWORD when one of
// keywords (space-separated, may be null) was typed: keyword then holds it.
int SelectEntities(const wchar_t* prompt, const resbuf* filter, ads_name ss,
                   const wchar_t* keywords = nullptr, std::wstring* keyword = nullptr);

// Pick distance in drawing units (PICKBOX times PIXELSIZE).
double PickDistance();

}  // namespace vorn::ed
