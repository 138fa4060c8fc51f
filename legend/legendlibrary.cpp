// Selection lists, legend directory search, symbol files and restoring a selection.
#include "legend/legendlibrary.h"

#include <cwchar>

#include "frame/VornFrame.h"
#include "framework/core/KyDtBlock.h"

std::vector<std::wstring> g_legendNames;
AcDbObjectIdArray g_legendBlockIds;

namespace {

bool IsDirectory(const KyDtLibItemBase& node) {
    return std::wcscmp(node.GetKindName(), L"Directory") == 0;
}

LegendSymbolLoader& SymbolLoader() {
    static LegendSymbolLoader loader;
    return loader;
}

std::wstring Slashed(std::wstring path) {
    for (wchar_t& c : path)
        if (c == L'\\') c = L'/';
    return path;
}

}  // namespace

const KyDtLibItemBase* FindLegendDirectory(const KyDtLibItemBase& node) {
    for (int i = 0; i < node.GetChildCount(); ++i) {
        const KyDtLibItemBase* child = node.GetChild(i);
        if (!child) continue;
        if (IsDirectory(*child)) {
            if (child->GetName() == kLegendDirectoryName) return child;
        } else if (const KyDtLibItemBase* found = FindLegendDirectory(*child)) {
            return found;
        }
    }
    return nullptr;
}

std::vector<const KyDtLibItemBase*> LegendRows(const KyDtLibItemBase& directory) {
    std::vector<const KyDtLibItemBase*> rows;
    for (int i = 0; i < directory.GetChildCount(); ++i) {
        const KyDtLibItemBase* child = directory.GetChild(i);
        if (child && !child->GetName().empty()) rows.push_back(child);
    }
    return rows;
}

std::wstring LegendGroupFile() {
    return Slashed(GetDwgLibDirectory() + L"GeneralDrawingLib\\LibGroup.dmls");
}

std::wstring LegendSymbolFile(const KyDtLibItemBase& row) {
    const auto* item = dynamic_cast<const KyDtLibItem*>(&row);
    if (!item || item->GetDataFile().empty()) return std::wstring();
    return Slashed(GetDwgLibDirectory() + L"GeneralDrawingLib\\SysLib\\" + item->GetDataFile());
}

void SetLegendSymbolLoader(LegendSymbolLoader loader) { SymbolLoader() = std::move(loader); }

AcDbObjectId LoadLegendSymbol(const KyDtLibItemBase& row) {
    if (SymbolLoader()) return SymbolLoader()(row);
    const std::wstring file = LegendSymbolFile(row);
    if (file.empty()) return AcDbObjectId::kNull;
    return KyDtLoadBlock(file.c_str(), nullptr);
}

std::vector<std::wstring> RestoreLegendSelection(const std::vector<const KyDtLibItemBase*>& rows,
                                                 std::vector<std::wstring>& names,
                                                 AcDbObjectIdArray& ids,
                                                 const LegendSymbolLoader& load) {
    std::vector<std::wstring> kept;
    for (const std::wstring& name : names) {
        for (const KyDtLibItemBase* row : rows) {
            if (row->GetName() != name) continue;
            const AcDbObjectId id = load(*row);
            if (id.isNull()) continue;
            ids.append(id);
            kept.push_back(name);
            break;
        }
    }
    names = kept;
    return kept;
}
