// gnxp: runs a generalized net in this process or on a VanterServer and
// prints the events of its steps, or the statistics of its replications
// (see kGnxpUsage).
#include <csignal>
#include <cstdio>

#include "base/ConsoleLog.h"
#include "client/AnalysisCommands.h"
#include "client/GnxpOptions.h"
#include "client/NetRunner.h"
#include "model/DefinitionParser.h"

namespace {

int runCommand(const GnxpOptions& options) {
  if (options.command == GnxpCommand::Stats) return runStats(options, stdout, stderr);
  if (options.command == GnxpCommand::Summarize) return runSummarize(options, stdout, stderr);
  if (options.host) return runNet(options, *makeRemoteRunner(options), stdout, stderr);
  ConsoleLog log(stderr);
  return runNet(options, *makeInProcessRunner(options, log), stdout, stderr);
}

int gnxp(int argc, char** argv) {
  GnxpOptions options;
  std::string error;
  if (!parseGnxpOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "gnxp: %s\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(kGnxpUsage, stdout);
    return 0;
  }
  std::signal(SIGPIPE, SIG_IGN);
  // Nets are read with the XML library, and events documents flattened with it.
  initializeXerces();
  int status = runCommand(options);
  terminateXerces();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  return reportingFailures([argc, argv] { return gnxp(argc, argv); }, stderr);
}
