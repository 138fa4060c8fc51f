// Library tree nodes.
#include "framework/library/KyDtLibItem.h"

#include "framework/lang/VornLanguageSwitch.h"

KyDtLibItemBase* KyDtLibItemBase::GetChild(int index) const {
  if (index < 0 || index >= GetChildCount()) return nullptr;
  return m_children[static_cast<size_t>(index)].get();
}

KyDtLibItemBase* KyDtLibItemBase::AddChild(std::unique_ptr<KyDtLibItemBase> child) {
  m_children.push_back(std::move(child));
  return m_children.back().get();
}

const std::wstring& KyDtLibItemBase::GetShownName() const {
  if (g_pVornLangSwitch == nullptr) return m_strName;
  auto it = m_names.find(g_pVornLangSwitch->Language());
  return it == m_names.end() ? m_strName : it->second;
}

void KyDtLibItemBase::SetNameIn(const std::wstring& language, std::wstring name) {
  if (!language.empty() && !name.empty()) m_names[language] = std::move(name);
}
