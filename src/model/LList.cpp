// CLList: cursor traversal, priority-ordered insertion and the re-sort of a
// transition's place lists.
#include "model/LList.h"

#include <cassert>
#include <vector>

CLList::CLList(bool owns) : owns_(owns) {}

CLList::~CLList() {
  for (Node* node = head_.get(); node != nullptr; node = node->next.get()) destroyItem(node->item);
  freeChain(std::move(head_));
  freeChain(std::move(spare_));
}

void CLList::freeChain(std::unique_ptr<Node> chain) {
  while (chain) chain = std::move(chain->next);
}

void CLList::destroyItem(CGNObject* item) {
  if (owns_) std::unique_ptr<CGNObject> owned(item);
}

void CLList::link(std::unique_ptr<Node>& at, CGNObject* item) {
  assert(item != nullptr);
  std::unique_ptr<Node> node = std::move(spare_);
  if (node) {
    spare_ = std::move(node->next);
    node->item = item;
  } else {
    node = std::make_unique<Node>(Node{item, nullptr});
  }
  node->next = std::move(at);
  at = std::move(node);
  ++count_;
  // A node inserted just before the cursor becomes the one before it.
  if (cursor_ != nullptr && at->next.get() == cursor_) beforeCursor_ = at.get();
}

void CLList::addFront(CGNObject* item) {
  link(head_, item);
  cursor_ = head_.get();
  beforeCursor_ = nullptr;
}

void CLList::insertByPriority(CGNObject* item) {
  if (!head_ || item->priority() > head_->item->priority()) {
    link(head_, item);
    return;
  }
  // After the first item and every following item of strictly greater priority.
  Node* previous = head_.get();
  while (previous->next && previous->next->item->priority() > item->priority()) previous = previous->next.get();
  link(previous->next, item);
}

void CLList::resort() {
  if (!head_) return;
  std::vector<CGNObject*> followers;
  for (Node* node = head_->next.get(); node != nullptr; node = node->next.get()) followers.push_back(node->item);
  freeChain(std::move(head_->next));
  count_ = 1;
  cursor_ = nullptr;
  beforeCursor_ = nullptr;
  for (CGNObject* item : followers) insertByPriority(item);
}

CGNObject* CLList::first() {
  cursor_ = head_.get();
  beforeCursor_ = nullptr;
  return current();
}

CGNObject* CLList::next() {
  if (cursor_ == nullptr) return nullptr;
  beforeCursor_ = cursor_;
  cursor_ = cursor_->next.get();
  return current();
}

CGNObject* CLList::current() const { return cursor_ != nullptr ? cursor_->item : nullptr; }

void CLList::setCurrent(CGNObject* item) {
  if (cursor_ != nullptr) cursor_->item = item;
}

bool CLList::atEnd() const { return count_ == 0 || cursor_ == nullptr; }

CGNObject* CLList::removeCurrent() {
  if (cursor_ == nullptr) return nullptr;
  std::unique_ptr<Node>& at = beforeCursor_ != nullptr ? beforeCursor_->next : head_;
  assert(at.get() == cursor_);
  std::unique_ptr<Node> removed = std::move(at);
  at = std::move(removed->next);
  cursor_ = at.get();
  --count_;
  destroyItem(removed->item);
  removed->next = std::move(spare_);
  spare_ = std::move(removed);
  return current();
}

int CLList::indexOf(const CGNObject* item) const {
  int position = 0;
  for (const Node* node = head_.get(); node != nullptr; node = node->next.get(), ++position) {
    if (node->item == item) return position;
  }
  return -1;
}
