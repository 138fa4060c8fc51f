// The headless library picker.
#include "framework/library/KySelectFromDmls.h"

#include <vector>

#include "framework/library/KyDmLibGroup.h"
#include "host/base/hostio.h"

namespace {

struct Choice {
  const KyDtLibItem* item;
  const KyDtLibrary* library;
  std::wstring where;
};

void Collect(const KyDtLibItemBase& node, const KyDtLibrary& lib, const std::wstring& where,
             std::vector<Choice>& out) {
  for (int i = 0; i < node.GetChildCount(); ++i) {
    const KyDtLibItemBase* child = node.GetChild(i);
    if (const auto* item = dynamic_cast<const KyDtLibItem*>(child)) {
      if (!item->GetName().empty()) out.push_back({item, &lib, where});
    } else {
      Collect(*child, lib, where + child->GetShownName() + L"/", out);
    }
  }
}

}  // namespace

bool SelectFromDmls(const std::wstring& libFile, std::wstring& file, std::wstring& name, int /*mode*/) {
  KyDtDwgLibGroup group;
  group.SetFileName(libFile);
  if (!group.ReadFromXML() || !group.ReadLibFromXML()) {
    vorn::HostPrint(L"\n" + group.GetError() + L".\n");
    return false;
  }
  std::vector<Choice> choices;
  for (int i = 0; i < group.GetLibraryCount(); ++i) {
    const KyDtLibrary* lib = group.GetLibrary(i);
    Collect(*lib, *lib, lib->GetShownName() + L"/", choices);
  }
  if (const auto& native = vorn::NativeDialogs().pickItem) {
    std::vector<std::wstring> names, files;
    for (const Choice& c : choices) {
      names.push_back(c.where + c.item->GetShownName());
      files.push_back(c.library->GetSymbolFolder() + c.item->GetDataFile());
    }
    int chosen = -1;
    const int answer = native(group.GetFileName(), names, files, chosen);
    if (answer == 0) return false;
    if (answer > 0 && chosen >= 0 && chosen < static_cast<int>(choices.size())) {
      file = files[static_cast<std::size_t>(chosen)];
      name = choices[static_cast<std::size_t>(chosen)].item->GetName();
      return true;
    }
  }
  std::wstring list = L"\nLibrary items of " + group.GetFileName() + L":\n";
  for (const Choice& c : choices) list += L"  " + c.where + c.item->GetShownName() + L"\n";
  vorn::HostPrint(list);

  std::wstring answer;
  if (!vorn::HostReadLine(L"\nItem name<cancel>: ", answer)) return false;
  while (!answer.empty() && (answer.back() == L' ' || answer.back() == L'\r')) answer.pop_back();
  while (!answer.empty() && answer.front() == L' ') answer.erase(0, 1);
  if (answer.empty() || answer == L"ESC" || answer == L"^C") return false;
  for (const Choice& c : choices) {
    if (c.item->GetShownName() == answer || c.item->GetName() == answer) {
      file = c.library->GetSymbolFolder() + c.item->GetDataFile();
      name = c.item->GetName();
      return true;
    }
  }
  vorn::HostPrint(L"\nNo item named \"" + answer + L"\" in " + group.GetFileName() +
                  L"; expected one of the item names listed.\n");
  return false;
}
