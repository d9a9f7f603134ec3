// Fuzz target: the bytes of a definition document through INIT (parsing,
// validation, loading, binding, the start function) and a few steps.
#include "FuzzSupport.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr int kSteps = 5;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepareFuzzProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  runDefinition(std::string_view(reinterpret_cast<const char*>(data), size), kSteps);
  return 0;
}
