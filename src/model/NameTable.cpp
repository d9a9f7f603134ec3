// NameTable: ordered entries with hash indexes by name and by object, the
// objects' hints of their first entry, the tokens table's reuse of its lowest
// free entry, and refusals at the limits.
#include "model/NameTable.h"

#include "base/SimpleInterface.h"

#include <algorithm>
#include <cassert>
#include <set>
#include <unordered_map>
#include <vector>

namespace {

struct Entry {
  std::string name;
  CGNObject* object = nullptr;
  NameTable::State state = NameTable::State::Undefined;
};

// The ascending entry indexes of one name or object. Nearly every one has a
// single entry, so the first is held in place and only the rest on the heap.
class IndexSet {
 public:
  bool empty() const { return first_ < 0; }
  // REQUIRES: !empty().
  int first() const { return first_; }
  std::vector<int> all() const;
  void insert(int index);
  void erase(int index);

 private:
  int first_ = -1;
  std::vector<int> rest_;  // ascending, each greater than first_
};

std::vector<int> IndexSet::all() const {
  std::vector<int> indexes;
  if (empty()) return indexes;
  indexes.push_back(first_);
  indexes.insert(indexes.end(), rest_.begin(), rest_.end());
  return indexes;
}

void IndexSet::insert(int index) {
  if (empty()) {
    first_ = index;
  } else if (index < first_) {
    rest_.insert(rest_.begin(), first_);
    first_ = index;
  } else if (index > first_) {
    auto at = std::lower_bound(rest_.begin(), rest_.end(), index);
    if (at == rest_.end() || *at != index) rest_.insert(at, index);
  }
}

void IndexSet::erase(int index) {
  if (index == first_) {
    first_ = rest_.empty() ? -1 : rest_.front();
    if (!rest_.empty()) rest_.erase(rest_.begin());
    return;
  }
  auto at = std::lower_bound(rest_.begin(), rest_.end(), index);
  if (at != rest_.end() && *at == index) rest_.erase(at);
}

// Looks names up by view, without making a string of each.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
};

}  // namespace

struct NameTable::Impl {
  const NameTable* owner;  // the table whose hints this one writes and trusts
  std::string what;
  int capacity;
  bool reusesFree;
  std::string notFound;
  CSimpleInterface* log = nullptr;
  bool refused = false;
  std::vector<Entry> entries;
  // Every index of each name and of each object, ascending: the first is the
  // one a front-to-back scan would find.
  std::unordered_map<std::string, IndexSet, NameHash, std::equal_to<>> byName;
  std::unordered_map<const CGNObject*, IndexSet> byObject;
  std::set<int> freeEntries;  // tokens table only

  // Logs `message`, then the refused name as a message of its own.
  void refuse(const std::string& message, std::string_view name);
  int find(std::string_view name) const;
  int place(std::string_view name);
  void rename(int index, std::string_view name);
  void setObject(int index, CGNObject* object);
  void rebuildIndexes();
  bool hintHolds(const CGNObject* object) const;
  void claimHint(const CGNObject* object);
  int firstIndexOf(const CGNObject* object) const;
};

void NameTable::Impl::refuse(const std::string& message, std::string_view name) {
  refused = true;
  if (log == nullptr) return;
  log->write(message);
  log->write(name);
}

// The entry a scan from index 0 would take: the first of that name, unless a
// free entry comes first (tokens table); -1 when neither exists.
int NameTable::Impl::find(std::string_view name) const {
  auto named = byName.find(name);
  int first = named == byName.end() ? -1 : named->second.first();
  if (reusesFree && !freeEntries.empty()) {
    int lowestFree = *freeEntries.begin();
    if (first == -1 || lowestFree < first) return lowestFree;
  }
  return first;
}

// The index for `name` as indexOf and define find it; -1 after a refusal.
int NameTable::Impl::place(std::string_view name) {
  if (name.size() > kMaxName) {
    refuse("name longer than " + std::to_string(kMaxName) + " characters refused:", name);
    return -1;
  }
  int index = find(name);
  if (index >= 0) {
    if (entries[static_cast<std::size_t>(index)].state == State::Free) rename(index, name);
    return index;
  }
  if (static_cast<int>(entries.size()) >= capacity) {
    refuse(what + " table full (" + std::to_string(capacity) + " entries), name refused:", name);
    return -1;
  }
  entries.push_back(Entry{std::string(name), nullptr, State::Undefined});
  index = static_cast<int>(entries.size()) - 1;
  byName.try_emplace(std::string(name)).first->second.insert(index);
  return index;
}

// A free entry taken over under a new name: undefined, without its old object.
void NameTable::Impl::rename(int index, std::string_view name) {
  Entry& entry = entries[static_cast<std::size_t>(index)];
  auto old = byName.find(entry.name);
  old->second.erase(index);
  if (old->second.empty()) byName.erase(old);
  entry.name = std::string(name);
  byName[entry.name].insert(index);
  setObject(index, nullptr);
  entry.state = State::Undefined;
  freeEntries.erase(index);
}

void NameTable::Impl::setObject(int index, CGNObject* object) {
  Entry& entry = entries[static_cast<std::size_t>(index)];
  CGNObject* previous = entry.object;
  if (previous != nullptr) {
    auto old = byObject.find(previous);
    old->second.erase(index);
    if (old->second.empty()) byObject.erase(old);
  }
  entry.object = object;
  if (object != nullptr) byObject[object].insert(index);
  if (previous != nullptr && previous != object) claimHint(previous);
  if (object != nullptr) claimHint(object);
}

// True when the object's hint names an entry of this table that holds it.
bool NameTable::Impl::hintHolds(const CGNObject* object) const {
  const int index = object->nameIndex_;
  return object->nameTable_ == owner && index >= 0 && index < static_cast<int>(entries.size()) &&
         entries[static_cast<std::size_t>(index)].object == object;
}

// Claims the object's hint for this table: the first entry now holding it.
// An object no longer held loses the hint only when this table had it.
void NameTable::Impl::claimHint(const CGNObject* object) {
  auto found = byObject.find(object);
  if (found != byObject.end()) {
    object->nameTable_ = owner;
    object->nameIndex_ = found->second.first();
  } else if (object->nameTable_ == owner) {
    object->nameTable_ = nullptr;
    object->nameIndex_ = -1;
  }
}

// The first entry holding `object`, or -1: from its hint when that holds,
// else from the object index.
int NameTable::Impl::firstIndexOf(const CGNObject* object) const {
  if (object == nullptr) return -1;
  if (hintHolds(object)) return object->nameIndex_;
  auto found = byObject.find(object);
  return found == byObject.end() ? -1 : found->second.first();
}

void NameTable::Impl::rebuildIndexes() {
  byName.clear();
  byObject.clear();
  freeEntries.clear();
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    const Entry& entry = entries[static_cast<std::size_t>(i)];
    byName[entry.name].insert(i);
    if (entry.object != nullptr) byObject[entry.object].insert(i);
    if (entry.state == State::Free) freeEntries.insert(i);
  }
  for (const Entry& entry : entries) {
    if (entry.object != nullptr) claimHint(entry.object);
  }
}

NameTable::NameTable(std::string what, int capacity, bool reusesFree, std::string notFound)
    : impl_(std::make_unique<Impl>()) {
  impl_->owner = this;
  impl_->what = std::move(what);
  impl_->capacity = capacity;
  impl_->reusesFree = reusesFree;
  impl_->notFound = std::move(notFound);
  impl_->entries.reserve(static_cast<std::size_t>(capacity));
}

NameTable::~NameTable() = default;

void NameTable::setLog(CSimpleInterface* log) { impl_->log = log; }

void NameTable::clear() {
  impl_->entries.clear();
  impl_->refused = false;
  impl_->rebuildIndexes();
}

int NameTable::indexOf(std::string_view name) { return impl_->place(name); }

int NameTable::define(std::string_view name, CGNObject* object) {
  int index = impl_->place(name);
  if (index < 0) return -1;
  impl_->setObject(index, object);
  impl_->entries[static_cast<std::size_t>(index)].state = State::Defined;
  return index;
}

CGNObject* NameTable::objectAt(int index) const {
  if (index < 0 || index >= count()) return nullptr;
  const Entry& entry = impl_->entries[static_cast<std::size_t>(index)];
  return entry.state == State::Undefined ? nullptr : entry.object;
}

const std::string& NameTable::nameOf(const CGNObject* object) const {
  int index = impl_->firstIndexOf(object);
  return index < 0 ? impl_->notFound : impl_->entries[static_cast<std::size_t>(index)].name;
}

void NameTable::release(const CGNObject* object) {
  int index = impl_->firstIndexOf(object);
  if (index < 0) return;
  impl_->entries[static_cast<std::size_t>(index)].state = State::Free;
  if (impl_->reusesFree) impl_->freeEntries.insert(index);
}

void NameTable::forget(const CGNObject* object) {
  auto found = impl_->byObject.find(object);
  if (object == nullptr || found == impl_->byObject.end()) return;
  for (int index : found->second.all()) impl_->setObject(index, nullptr);
}

bool NameTable::contains(std::string_view name) const {
  return impl_->byName.find(name) != impl_->byName.end();
}

int NameTable::count() const { return static_cast<int>(impl_->entries.size()); }

const std::string& NameTable::nameAt(int index) const {
  assert(index >= 0 && index < count());
  return impl_->entries[static_cast<std::size_t>(index)].name;
}

NameTable::State NameTable::stateAt(int index) const {
  assert(index >= 0 && index < count());
  return impl_->entries[static_cast<std::size_t>(index)].state;
}

bool NameTable::hasRefused() const { return impl_->refused; }

void NameTable::sort(const std::function<bool(const CGNObject*, const CGNObject*)>& before) {
  std::stable_sort(impl_->entries.begin(), impl_->entries.end(),
                   [&before](const Entry& a, const Entry& b) { return before(a.object, b.object); });
  impl_->rebuildIndexes();
}
