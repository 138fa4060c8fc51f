// The legend's view of the site-plan symbol library: the selection lists shared by the dialog
// and the jig, the search for the legend directory and the restoring of a previous selection.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/library/KyDtLibItem.h"
#include "host/db/dbid.h"

// The selection in legend order; entry i of both lists stands for the same item. The names
// outlive a command; the ids are rebuilt each time the dialog opens.
extern std::vector<std::wstring> g_legendNames;
extern AcDbObjectIdArray g_legendBlockIds;

// Name of the directory whose items the legend offers.
constexpr const wchar_t* kLegendDirectoryName = L"总平图例";

// Depth first from node: a directory is compared by name and never entered unless it is the
// match; any other node is searched through. Null when there is none.
const KyDtLibItemBase* FindLegendDirectory(const KyDtLibItemBase& node);

// The rows of the available list: the children of the directory with a non-empty name.
std::vector<const KyDtLibItemBase*> LegendRows(const KyDtLibItemBase& directory);

// The group file and a row's symbol drawing (empty for a row that is no item).
std::wstring LegendGroupFile();
std::wstring LegendSymbolFile(const KyDtLibItemBase& row);

// Loads a row's symbol into the working drawing; null on failure.
using LegendSymbolLoader = std::function<AcDbObjectId(const KyDtLibItemBase& row)>;
AcDbObjectId LoadLegendSymbol(const KyDtLibItemBase& row);
// Replaces how LoadLegendSymbol loads (null: from the symbol drawings), for symbol blocks
// made without drawing files.
void SetLegendSymbolLoader(LegendSymbolLoader loader);

// Rebuilds ids for names from the rows: each name takes the first row of that exact name whose
// symbol loads; names without one are dropped from names. Returns the names kept, in order.
std::vector<std::wstring> RestoreLegendSelection(const std::vector<const KyDtLibItemBase*>& rows,
                                                 std::vector<std::wstring>& names,
                                                 AcDbObjectIdArray& ids,
                                                 const LegendSymbolLoader& load);
