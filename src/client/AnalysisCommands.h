// gnxp stats and gnxp summarize: statistics over seeded replications of a
// net, their raw rows for shards, the table and the occupancy picture.
// Thread rule: called from gnxp's main thread (stats starts and joins its own workers).
#pragma once

#include <cstdio>

#include "client/GnxpOptions.h"

// Runs the replications, writes the rows and the picture when asked, prints
// the table to `out` and failures to `errors`, one line each. The exit status.
int runStats(const GnxpOptions& options, std::FILE* out, std::FILE* errors);
// Reads the shard files and prints their table to `out`. The exit status.
int runSummarize(const GnxpOptions& options, std::FILE* out, std::FILE* errors);
