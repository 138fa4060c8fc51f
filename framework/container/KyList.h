// The linked containers: KyList (one-way links), KyDList and KyXList (two-way links), all with
// their nodes behind a head node that holds no element.
#pragma once

#include "framework/container/KyDynArrayBase.h"

// Shared node machinery. Index lookups walk from the nearest known node (the head, the last
// node reached, and for two-way lists also the tail), so a walk in index order costs one step
// per element.
template <typename T, bool kTwoWay>
class KyLinkedList : public KyDynArrayBase<T> {
 public:
  KyLinkedList() = default;
  KyLinkedList(const KyLinkedList& other) : KyDynArrayBase<T>() { CopyFrom(other); }
  KyLinkedList& operator=(const KyLinkedList& other) {
    if (this != &other) {
      Reset();
      CopyFrom(other);
    }
    return *this;
  }
  ~KyLinkedList() override { FreeNodes(); }

  int GetLength() const override { return m_nLen; }
  bool MoveTo(int index) override {
    if (index < -1 || index >= m_nLen) return false;
    this->m_nCur = index;
    return true;
  }
  int InsertCur(const T& value) override {
    NodeBase* before = Locate(this->m_nCur);
    Node* node = new Node(value);
    node->next = before->next;
    before->next = node;
    if (kTwoWay) {
      node->prev = before;
      if (node->next) node->next->prev = node;
    }
    if (!node->next) m_pTail = node;
    ++m_nLen;
    ++this->m_nCur;
    Remember(this->m_nCur, node);
    return this->m_nCur;
  }
  bool DelCur() override {
    if (this->m_nCur < 0) return false;
    NodeBase* before = Locate(this->m_nCur - 1);
    Node* victim = static_cast<Node*>(before->next);
    before->next = victim->next;
    if (kTwoWay && victim->next) victim->next->prev = before;
    if (m_pTail == victim) m_pTail = before;
    delete victim;
    --m_nLen;
    --this->m_nCur;
    Remember(this->m_nCur, before);
    return true;
  }
  void Reset() override {
    FreeNodes();
    this->m_nCur = -1;
  }
  const T* GetPtrAt(int index) const override {
    if (index < 0 || index >= m_nLen) return nullptr;
    return &static_cast<const Node*>(Locate(index))->value;
  }
  using KyDynArrayBase<T>::GetPtrAt;

  // Reverses the element order in place; the cursor returns to -1.
  void Reverse() {
    NodeBase* prev = nullptr;
    NodeBase* node = m_head.next;
    m_pTail = node ? node : &m_head;
    while (node) {
      NodeBase* next = node->next;
      node->next = prev;
      if (kTwoWay) node->prev = next ? next : &m_head;
      prev = node;
      node = next;
    }
    m_head.next = prev;
    if (kTwoWay && prev) prev->prev = &m_head;
    this->m_nCur = -1;
    Remember(-1, &m_head);
  }

 private:
  struct NodeBase {
    NodeBase* next = nullptr;
    NodeBase* prev = nullptr;  // only kept in two-way lists
  };
  struct Node : NodeBase {
    explicit Node(const T& v) : value(v) {}
    T value;
  };

  void Remember(int index, NodeBase* node) const {
    m_nKnown = index;
    m_pKnown = node;
  }
  // Node of index, -1 giving the head; index must be in [-1, length).
  NodeBase* Locate(int index) const {
    NodeBase* node = const_cast<NodeBase*>(&m_head);
    int at = -1;
    if (index == m_nLen - 1 && m_nLen > 0) {
      node = m_pTail;
      at = index;
    } else if (m_nKnown <= index) {
      node = m_pKnown;
      at = m_nKnown;
    } else if (kTwoWay && m_nKnown - index < index + 1) {
      node = m_pKnown;
      at = m_nKnown;
      while (at > index) {
        node = node->prev;
        --at;
      }
    }
    while (at < index) {
      node = node->next;
      ++at;
    }
    Remember(index, node);
    return node;
  }
  void FreeNodes() {
    NodeBase* node = m_head.next;
    while (node) {
      NodeBase* next = node->next;
      delete static_cast<Node*>(node);
      node = next;
    }
    m_head.next = nullptr;
    m_pTail = &m_head;
    m_nLen = 0;
    Remember(-1, &m_head);
  }
  void CopyFrom(const KyLinkedList& other) {
    for (int i = 0; i < other.GetLength(); ++i) this->Append(*other.GetPtrAt(i));
    this->m_nCur = -1;
  }

  NodeBase m_head;
  NodeBase* m_pTail = &m_head;
  int m_nLen = 0;
  mutable int m_nKnown = -1;
  mutable NodeBase* m_pKnown = &m_head;
};

template <typename T>
class KyList : public KyLinkedList<T, false> {};
template <typename T>
class KyDList : public KyLinkedList<T, true> {};
template <typename T>
class KyXList : public KyLinkedList<T, true> {};
