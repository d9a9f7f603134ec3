// What every fuzz target shares: a log that keeps nothing, a scratch working
// directory (the conversation saves definitions there, nets may open files),
// the XML library started once, and a net run from definition text.
// Thread rule: libFuzzer calls a target on one thread.
#pragma once

#include "base/SimpleInterface.h"

#include <string>
#include <string_view>

class SilentLog final : public CSimpleInterface {
 public:
  void write(std::string_view) override {}
};

// Moves the process into a fresh temporary directory and starts the XML
// library; the program ends if either fails.
void prepareFuzzProcess();

// Writes `definition` to a file, builds a net from it as a conversation does
// (built-ins, events document) and steps it up to `steps` times while it has
// no runtime error. Nothing is reported; a crash or a sanitizer report is the
// only outcome that matters.
void runDefinition(std::string_view definition, int steps);
