// CBaseObject: the root of values, expression nodes, lists and net objects,
// and the kind codes that tell their families apart.
#pragma once

#include <ostream>

class Lifeline;

// Kind codes that tell object families apart (see CBaseObject::kind).
constexpr int kKindDefault = -1;        // values, expression nodes, lists
constexpr int kKindNetObject = -2;      // transitions, the net, entries, generators, functions
constexpr int kKindCharacteristic = 0;
constexpr int kKindPlace = 1;
constexpr int kKindToken = 2;
constexpr int kKindFile = 404;

class CBaseObject {
 public:
  virtual ~CBaseObject() = default;
  virtual int kind() const { return kKindDefault; }
  // Writes "<OBJECT>"; tokens write their report instead.
  virtual void print(std::ostream& out) const { out << "<OBJECT>"; }
  // The lifeline through which references reach an object that can be
  // destroyed while they live on (base/Lifeline.h); null for objects that
  // outlive every reference to them.
  virtual Lifeline* lifeline() { return nullptr; }
};
