// The process-wide table of built-ins (fixed entries plus a hash index for
// lookups) and the runtime error report every built-in writes.
// Thread rule: the table is guarded by one reader-writer lock; lookups share it.
#include "lang/Primitive.h"

#include "base/SimpleInterface.h"

#include <array>
#include <cstdio>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>

namespace {

struct PrimitiveEntry {
  std::string name;  // at most kMaxPrimitiveName characters
  int arity;         // -1: any number of arguments
  PrimitiveFunction function;
};

// Invariants: (1) entries_[0 .. used_) are the registrations in order, never
// more than kMaxPrimitives; (2) index_ maps each name to its first entry, so a
// later registration of the same name is kept but never found.
class PrimitiveTable {
 public:
  bool add(int arity, std::string_view name, PrimitiveFunction function) {
    std::unique_lock lock(mutex_);
    if (used_ == kMaxPrimitives || name.size() > static_cast<std::size_t>(kMaxPrimitiveName)) return false;
    entries_[static_cast<std::size_t>(used_)] = PrimitiveEntry{std::string(name), arity, function};
    index_.try_emplace(entries_[static_cast<std::size_t>(used_)].name, used_);
    ++used_;
    return true;
  }

  bool find(std::string_view name, int* arity, PrimitiveFunction* function) const {
    std::shared_lock lock(mutex_);
    auto found = index_.find(name);
    if (found == index_.end()) return false;
    const PrimitiveEntry& entry = entries_[static_cast<std::size_t>(found->second)];
    *arity = entry.arity;
    *function = entry.function;
    return true;
  }

 private:
  mutable std::shared_mutex mutex_;
  std::array<PrimitiveEntry, kMaxPrimitives> entries_{};
  int used_ = 0;
  // Keys view the names held in entries_, which never change once written.
  std::unordered_map<std::string_view, int> index_;
};

PrimitiveTable& table() {
  static PrimitiveTable instance;
  return instance;
}

// 34 hyphens on each side of "Terminated".
constexpr std::string_view kRule = "----------------------------------";

std::string reportBanner(std::string_view message) {
  std::string text = "\n\n\n";
  text += kRule;
  text += "Terminated";
  text += kRule;
  text += "\n\n***Primitive RunTime error:\n\n\t\t";
  text += message;
  text += "\n\n***Arguments to the primitive:\n\n";
  return text;
}

// One line per argument; an argument that holds no value gets a line of its own.
std::string argumentListing(int argc, CTypedValue* const* argv) {
  std::string text;
  for (int i = 0; i < argc; ++i) {
    const CTypedValue* value = argv[i];
    if (value != nullptr && value->typeCode() == kTypeObject) {
      text += "\t\t#Object\n";
      continue;
    }
    text += "\t\t" + std::to_string(i) + ": ";
    if (value == nullptr) {
      text += "<no value>";
    } else {
      appendText(text, *value);
    }
    text += '\n';
  }
  text += '\n';
  return text;
}

}  // namespace

bool registerPrimitive(int arity, std::string_view name, PrimitiveFunction function) {
  return table().add(arity, name, function);
}

bool findPrimitive(std::string_view name, int* arity, PrimitiveFunction* function) {
  return table().find(name, arity, function);
}

int reportPrimitiveError(CSimpleInterface& log, std::string_view message, int argc, CTypedValue* const* argv) {
  log.write(reportBanner(message));
  // One write, so that listings of nets failing at once on other threads do not interleave.
  const std::string listing = argumentListing(argc, argv);
  std::fwrite(listing.data(), 1, listing.size(), stderr);
  std::fflush(stderr);
  return 0;
}
