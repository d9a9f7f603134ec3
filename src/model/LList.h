// CLList: the cursor-based singly linked list of net objects, owning its items
// or only referring to them, with the priority-ordered insertion that orders a
// place's token entries and a transition's input and output places.
// Thread rule: used by the thread that steps its net.
#pragma once

#include "model/GNObject.h"

#include <cstddef>
#include <memory>

class CLList : public CBaseObject {
 public:
  // `owns`: the list destroys an item when it removes it, and all items with itself.
  explicit CLList(bool owns);
  ~CLList() override;
  CLList(const CLList&) = delete;
  CLList& operator=(const CLList&) = delete;

  // The item becomes the first; an owning list now owns it. The cursor is reset
  // to the first item.
  void addFront(CGNObject* item);
  // After the first item and every following item of strictly greater
  // priority; first when strictly greater than the first. E.g. equal
  // priorities inserted A, B, C read A, C, B.
  void insertByPriority(CGNObject* item);
  // Keeps the first item and inserts every other again with insertByPriority.
  void resort();

  // Cursor traversal: first() then next() until atEnd().
  CGNObject* first();
  CGNObject* next();
  CGNObject* current() const;
  // Replaces the item at the cursor (the former item is not destroyed).
  void setCurrent(CGNObject* item);
  bool atEnd() const;
  // Removes the item at the cursor (destroying it when owning), leaves the
  // cursor on the following item and returns it (null when none follows).
  CGNObject* removeCurrent();

  // 0-based position of the first occurrence of `item`, or -1.
  int indexOf(const CGNObject* item) const;
  int count() const { return count_; }

  // Cursor-free iteration, for code that may run while another traversal of
  // the same list is under way (GNVCFL reading a place during a step).
  class const_iterator;
  const_iterator begin() const;
  const_iterator end() const;

 private:
  struct Node {
    CGNObject* item;
    std::unique_ptr<Node> next;
  };
  // Links a node for `item` into `link` (head_ or a node's next).
  void link(std::unique_ptr<Node>& link, CGNObject* item);
  void destroyItem(CGNObject* item);
  // Frees a chain of nodes one by one, so that a long chain does not recurse.
  static void freeChain(std::unique_ptr<Node> chain);

  // Invariant: beforeCursor_ is null or the node whose next is cursor_; the
  // cursor stays valid while items are inserted anywhere in the list.
  std::unique_ptr<Node> head_;
  // Nodes of removed items, linked again by the next insertions: a place's
  // entries come and go on every move, and its list keeps at most as many
  // nodes as it once held items.
  std::unique_ptr<Node> spare_;
  Node* cursor_ = nullptr;
  Node* beforeCursor_ = nullptr;
  int count_ = 0;
  const bool owns_;
};

class CLList::const_iterator {
 public:
  explicit const_iterator(const Node* node) : node_(node) {}
  CGNObject* operator*() const { return node_->item; }
  const_iterator& operator++() {
    node_ = node_->next.get();
    return *this;
  }
  bool operator==(const const_iterator& other) const { return node_ == other.node_; }
  bool operator!=(const const_iterator& other) const { return node_ != other.node_; }

 private:
  const Node* node_;
};

inline CLList::const_iterator CLList::begin() const { return const_iterator(head_.get()); }
inline CLList::const_iterator CLList::end() const { return const_iterator(nullptr); }
