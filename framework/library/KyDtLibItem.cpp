// Library tree nodes.
#include "framework/library/KyDtLibItem.h"

KyDtLibItemBase* KyDtLibItemBase::GetChild(int index) const {
  if (index < 0 || index >= GetChildCount()) return nullptr;
  return m_children[static_cast<size_t>(index)].get();
}

KyDtLibItemBase* KyDtLibItemBase::AddChild(std::unique_ptr<KyDtLibItemBase> child) {
  m_children.push_back(std::move(child));
  return m_children.back().get();
}
