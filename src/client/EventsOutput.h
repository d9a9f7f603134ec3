// EventsOutput: where gnxp run writes the events of its steps, in the chosen
// format: the events documents as they are (xml), or their records as CSV
// (RFC 4180, a header line first) or as JSON lines.
// Thread rule: single-threaded (gnxp's main thread).
#pragma once

#include <cstdio>
#include <memory>
#include <string_view>

#include "client/GnxpOptions.h"
#include "client/NetRunner.h"

class EventsOutput {
 public:
  virtual ~EventsOutput() = default;
  // Writes the events document of the steps from `firstStep` on (csv and
  // jsonl are given one step per document). False with `failure` set when
  // the document cannot be read.
  virtual bool write(std::string_view document, int firstStep, RunFailure& failure) = 0;
};

// An output to `out` (borrowed); csv writes its header line at once.
// REQUIRES for csv and jsonl: the XML library is started.
std::unique_ptr<EventsOutput> makeEventsOutput(EventsFormat format, std::FILE* out);
