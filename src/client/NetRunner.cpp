// The run of a net by gnxp: load, batches, documents out.
#include "client/NetRunner.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

#include "client/EventsOutput.h"
#include "client/Progress.h"

bool readDefinition(const std::string& path, std::string& text, RunFailure& failure) {
  // A folder opens like a file and reads as nothing.
  std::error_code unknown;
  if (std::filesystem::is_directory(path, unknown)) {
    failure = {2, "cannot read " + path + ": " + std::strerror(EISDIR)};
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    failure = {2, "cannot read " + path + ": " + std::strerror(errno)};
    return false;
  }
  std::ostringstream content;
  content << file.rdbuf();
  text = content.str();
  return true;
}

// Records number their steps, so csv and jsonl ask for one step per document.
int runNet(const GnxpOptions& options, NetRunner& runner, std::FILE* out, std::FILE* errors) {
  RunFailure failure;
  bool ok = runner.load(failure);
  if (ok) {
    std::unique_ptr<EventsOutput> output = makeEventsOutput(options.format, out);
    Progress progress(errors, options.steps, "step");
    std::string document;
    int stepsMade = 0;
    for (int count : stepBatches(options.steps, options.format == EventsFormat::Xml ? options.batch : 1)) {
      const int firstStep = stepsMade + 1;
      ok = runner.step(
               count, [&] { progress.show(++stepsMade); }, document, failure) &&
           output->write(document, firstStep, failure);
      if (!ok) break;
    }
  }
  runner.finish();
  std::fflush(out);
  if (ok) return 0;
  std::fprintf(errors, "gnxp: %s\n", failure.message.c_str());
  return failure.status;
}

namespace {

int failedWith(std::FILE* errors, const char* reason) {
  std::fprintf(errors, "gnxp: %s\n", reason);
  return 1;
}

}  // namespace

int reportingFailures(const std::function<int()>& body, std::FILE* errors) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return failedWith(errors, "out of memory");
  } catch (const std::exception& error) {
    return failedWith(errors, error.what());
  } catch (...) {
    return failedWith(errors, "unexpected error");
  }
}
