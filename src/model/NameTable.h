// NameTable: a net's fixed-capacity registry of named objects. Entries keep
// the order in which names were first met, whether by a reference or by a
// definition, and an entry's index never changes (except by the one sort of
// the places table after binding). Lookups go through hash indexes, never scans.
// Invariants: (1) the name index and the entries hold the same names;
// (2) the object index maps every registered object to the first entry holding it;
// (3) an object whose hint names this table holds its first entry's index there
// (the hint lets nameOf, asked once per event, skip the object index).
// The table does not own its objects: the net does.
// Thread rule: used by the thread that steps its net.
#pragma once

#include "model/GNObject.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CSimpleInterface;

class NameTable {
 public:
  enum class State : signed char { Free = -1, Undefined = 0, Defined = 1 };

  // Names longer than this are refused.
  static constexpr std::size_t kMaxName = 51;
  static constexpr int kTransitionCapacity = 500;
  static constexpr int kPlaceCapacity = 500;
  static constexpr int kFunctionCapacity = 500;
  static constexpr int kTokenCapacity = 10000;

  // `what` names the table in refusal messages ("places"); `reusesFree` is set
  // for the tokens table only; `notFound` is what nameOf gives for an unknown object.
  NameTable(std::string what, int capacity, bool reusesFree, std::string notFound);
  ~NameTable();
  NameTable(const NameTable&) = delete;
  NameTable& operator=(const NameTable&) = delete;

  // Where refusals are reported; set by the net's prepare.
  void setLog(CSimpleInterface* log);
  // Empties the table (entries only; objects belong to the net).
  void clear();

  // Index of the entry named `name`, appending an undefined entry when there is
  // none (the tokens table first takes over its lowest free entry). -1 when the
  // name is too long or the table is full: the refusal is logged and remembered.
  int indexOf(std::string_view name);
  // Registers `object` under `name` (state defined), with indexOf's rules.
  // -1 when refused, as for indexOf.
  int define(std::string_view name, CGNObject* object);
  // The object of a defined or free entry; null for an undefined entry or an
  // index outside the table.
  CGNObject* objectAt(int index) const;
  // The name of the first entry holding `object`, else the notFound text.
  // The reference stays valid until the table changes.
  const std::string& nameOf(const CGNObject* object) const;
  // Tokens table: the entry holding `object` becomes free.
  void release(const CGNObject* object);
  // The entry holding `object` keeps its name and state but loses its object.
  void forget(const CGNObject* object);
  bool contains(std::string_view name) const;

  int count() const;
  const std::string& nameAt(int index) const;
  State stateAt(int index) const;
  // True once any name was refused since the last clear.
  bool hasRefused() const;

  // Reorders the entries (name, object and state together) so that `before`
  // holds for earlier entries; used once, for the places table after binding.
  void sort(const std::function<bool(const CGNObject*, const CGNObject*)>& before);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
