// Typed record lists with a cursor. Every variable-count population of the
// game (monsters, shots, particles, texts, pickups, draw queues, menu entries)
// lives in one, and is walked with the idiom
//
//   ListRewind(list);
//   while (T* r = ListStep(list)) { ...; maybe ListRemoveCurrent(list); }
//
// The cursor rules below make such a walk visit every element present at its
// start exactly once, while elements are removed from it or inserted into it.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

#include "runtime/element_pool.h"

namespace quorin {

template <class T>
class List {
 public:
  struct Node {
    Node* next;
    Node* prev;
    T record;
  };

  List() = default;
  ~List() { Clear(); }

  // A copy holds copies of the records in the same order, its cursor on the
  // element at the same position: a copied world runs on identically.
  List(const List& other) { CopyFrom(other); }
  List& operator=(const List& other) {
    if (this != &other) {
      Clear();
      CopyFrom(other);
    }
    return *this;
  }

  // The current record (the game's only handle on it), or null when the
  // cursor is on no element.
  T* Current() const { return current_ ? &current_->record : nullptr; }
  int Count() const { return count_; }
  const ElementPool& Pool() const { return pool_; }

  // Read-only pass in list order that leaves the cursor alone (digests, drawing
  // of lists that are not being updated).
  template <class F>
  void ForEach(F&& visit) const {
    for (const Node* n = first_; n; n = n->next) visit(n->record);
  }

  T& Insert() {
    Node* node = static_cast<Node*>(pool_.Take());
    node->next = nullptr;
    node->prev = nullptr;
    ::new (static_cast<void*>(&node->record)) T{};
    ++count_;
    if (!current_) {
      node->next = first_;
      if (first_) first_->prev = node;
    } else {
      node->prev = current_;
      node->next = current_->next;
      if (current_->next) current_->next->prev = node;
      current_->next = node;
    }
    current_ = node;
    if (!node->prev) first_ = node;
    if (!node->next) last_ = node;
    return node->record;
  }

  T* Step() {
    if (current_) {
      if (!current_->next) return nullptr;  // parked on the last element
      current_ = current_->next;
    } else {
      current_ = first_;
    }
    return Current();
  }

  void RemoveCurrent() {
    Node* node = current_;
    if (!node) return;
    --count_;
    if (node->prev) {
      node->prev->next = node->next;
      if (node->next) node->next->prev = node->prev;
      else last_ = node->prev;
      current_ = node->prev;
    } else if (node->next) {
      first_ = node->next;
      first_->prev = nullptr;
      current_ = nullptr;
    } else {
      first_ = last_ = current_ = nullptr;
    }
    Release(node);
  }

  void Rewind() { current_ = nullptr; }

  void Clear() {
    Node* node = first_;
    while (node) {
      Node* next = node->next;
      Release(node);
      node = next;
    }
    first_ = last_ = current_ = nullptr;
    count_ = 0;
  }

 private:
  void Release(Node* node) {
    node->record.~T();  // releases the record's texts
    pool_.Give(node);
  }

  void CopyFrom(const List& other) {
    for (const Node* n = other.first_; n; n = n->next) {
      Node* node = static_cast<Node*>(pool_.Take());
      node->next = nullptr;
      node->prev = last_;
      ::new (static_cast<void*>(&node->record)) T(n->record);
      if (last_) last_->next = node;
      else first_ = node;
      last_ = node;
      if (n == other.current_) current_ = node;
      ++count_;
    }
  }

  Node* first_ = nullptr;
  Node* last_ = nullptr;
  Node* current_ = nullptr;
  int count_ = 0;
  ElementPool pool_{sizeof(Node), alignof(Node)};
};

// The game's names for the list operations.

// New empty list: whatever the list held is dropped first.
template <class T>
void ListCreate(List<T>& list) { list.Clear(); }
// Drops every element; the list stays usable.
template <class T>
void ListDestroy(List<T>& list) { list.Clear(); }
// Inserts after the cursor (at the head when there is no current element) and
// moves the cursor onto the new, zeroed record.
template <class T>
T& ListInsert(List<T>& list) { return list.Insert(); }
template <class T>
void ListRewind(List<T>& list) { list.Rewind(); }
// Next record, or the first after a rewind; null at the end, where the cursor
// stays parked on the last element.
template <class T>
T* ListStep(List<T>& list) { return list.Step(); }
// Removes the current element; the cursor moves back so that the next step
// yields the element that followed it.
template <class T>
void ListRemoveCurrent(List<T>& list) { list.RemoveCurrent(); }
template <class T>
void ListClearAll(List<T>& list) { list.Clear(); }

}  // namespace quorin
