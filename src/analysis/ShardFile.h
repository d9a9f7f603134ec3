// Shard files: the raw rows of a run, one per replication and statistic, as
// CSV (RFC 4180, UTF-8) with the columns replication, seed, statistic, place
// (empty for the whole net) and value (empty when nothing was measured),
// each number written so that it reads back exactly:
//
//   replication,seed,statistic,place,value
//   0,42,tokens,Queue,1.0833333333333333
//   0,42,time_in_net,,8.027
//
// Thread rule: pure functions, callable from any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Summary;
struct ReplicationPlan;
struct ReplicationsDone;

// Appends the header line.
void appendShardHeader(std::string& out);
// Appends the rows of one replication that succeeded, for a net whose places are `places`.
void appendShardRows(std::string& out, std::uint64_t replication, std::uint64_t seed,
                     const std::vector<std::string>& places, const std::vector<double>& values);

// The shard text of a run of `plan`: the header, then the rows of each
// replication that succeeded, in replication order; the failures' lines go to `failures`.
std::string shardText(const ReplicationPlan& plan, const std::vector<std::string>& places, const ReplicationsDone& done,
                      std::vector<std::string>& failures);

// Adds every row of shard file text `text` to `summary`. False with `line`
// and `error` set when a row is malformed, repeats a replication's statistic
// already added or has a seed of another run; rows before it stay added.
bool addShardText(std::string_view text, Summary& summary, int& line, std::string& error);
