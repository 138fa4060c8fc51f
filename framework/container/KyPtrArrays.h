// Containers of owned pointers: KyDynPArray (one block), KyPDList and KyPXList (linked). They
// delete what they hold; an empty slot is a null pointer, which PlaceIn fills first.
#pragma once

#include "framework/container/KyDynArray.h"
#include "framework/container/KyList.h"

template <typename T, typename Store>
class KyOwningArray : public Store {
 public:
  KyOwningArray() = default;
  KyOwningArray(const KyOwningArray&) = delete;
  KyOwningArray& operator=(const KyOwningArray&) = delete;
  ~KyOwningArray() override { DeleteAll(); }

  // The element under the cursor is deleted together with its slot.
  bool DelCur() override {
    T** slot = this->GetCur();
    if (!slot) return false;
    delete *slot;
    *slot = nullptr;
    return Store::DelCur();
  }
  // Deletes every element and empties the container.
  void Reset() override {
    DeleteAll();
    Store::Reset();
  }
  void Release() { Reset(); }

  // Hands element index to the caller, who then owns it; its slot stays, empty. Null when the
  // index is out of range or the slot was empty.
  T* TakeOff(int index) {
    T** slot = this->GetPtrAt(index);
    if (!slot) return nullptr;
    T* p = *slot;
    *slot = nullptr;
    return p;
  }
  // Takes ownership of p and stores it in the first empty slot, or appends; its index.
  // A null pointer is refused with KY_INVALID_INDEX.
  int PlaceIn(T* p) {
    if (!p) return KY_INVALID_INDEX;
    for (int i = 0; i < this->GetLength(); ++i) {
      T** slot = this->GetPtrAt(i);
      if (!*slot) {
        *slot = p;
        this->MoveTo(i);
        return i;
      }
    }
    return this->Append(p);
  }
  // The element itself (not its slot); null when out of range or empty.
  T* Get(int index) const {
    T* const* slot = Store::GetPtrAt(index);
    return slot ? *slot : nullptr;
  }

 private:
  void DeleteAll() {
    for (int i = 0; i < this->GetLength(); ++i) {
      T** slot = this->GetPtrAt(i);
      delete *slot;
      *slot = nullptr;
    }
  }
};

template <typename T>
class KyDynPArray : public KyOwningArray<T, KyDynArray<T*>> {};
template <typename T>
class KyPDList : public KyOwningArray<T, KyDList<T*>> {};
template <typename T>
class KyPXList : public KyOwningArray<T, KyXList<T*>> {};
