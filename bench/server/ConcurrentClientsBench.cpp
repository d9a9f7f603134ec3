// Fifty clients at once, each holding its own conversation with the real
// headless server: INIT of a two-place ring net with one token, then 100 STEP
// requests of one step. Next to it, the same number of connections and round
// trips against a raw loopback echo peer giving replies of the same size,
// measured in the same run. They take turns for several rounds, so that a
// burst of other work on the machine shows as one odd round, and the ratios
// are summed up by their minimum and median. Prints its figures; asserts nothing.
// `bench_server_concurrent_clients [SERVER ...]` measures each server program
// given (default: this build's VanterServerHeadless) in the same rounds, so
// that two builds compare side by side.
#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Loopback.h"
#include "ServerProcess.h"
#include "client/GnxpClient.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kClients = 50;
constexpr int kStepsPerClient = 100;
constexpr int kRounds = 7;
constexpr std::string_view kRequest = "STEP 1\r\n\r\n";
constexpr const char* kRingNet =
    "<gn xmlns=\"urn:vanterserver:gn-definition\"><transitions>"
    "<transition id=\"T1\"><inputs><input ref=\"P1\"/></inputs><outputs><output ref=\"P2\"/></outputs>"
    "<predicates default=\"true\"/></transition>"
    "<transition id=\"T2\"><inputs><input ref=\"P2\"/></inputs><outputs><output ref=\"P1\"/></outputs>"
    "<predicates default=\"true\"/></transition></transitions>"
    "<places><place id=\"P1\"/><place id=\"P2\"/></places>"
    "<tokens><token id=\"k\" host=\"P1\"><characteristic name=\"Default\" type=\"double\">1</characteristic>"
    "</token></tokens></gn>";

struct Figures {
  double perSecond = 0;
  double medianMicroseconds = 0;
  int answered = 0;
};

// One client: sets up its connection, waits at `ready` until every client has,
// then makes its round trips, recording each time in microseconds.
using Client = std::function<void(std::barrier<>& ready, const std::function<void(double)>& record)>;

// Runs `client` on kClients threads at once; the clock runs from the moment
// all of them are set up.
Figures runClients(const Client& client) {
  std::mutex mutex;
  std::vector<double> times;
  auto record = [&](double microseconds) {
    std::lock_guard<std::mutex> lock(mutex);
    times.push_back(microseconds);
  };
  Clock::time_point start;
  std::barrier ready(kClients + 1);
  std::vector<std::thread> threads;
  for (int i = 0; i < kClients; ++i) threads.emplace_back([&] { client(ready, record); });
  ready.arrive_and_wait();
  start = Clock::now();
  for (auto& thread : threads) thread.join();
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  Figures figures;
  figures.answered = static_cast<int>(times.size());
  if (times.empty()) return figures;
  std::nth_element(times.begin(), times.begin() + static_cast<long>(times.size() / 2), times.end());
  figures.perSecond = static_cast<double>(times.size()) / seconds;
  figures.medianMicroseconds = times[times.size() / 2];
  return figures;
}

double microsecondsSince(Clock::time_point before) {
  return std::chrono::duration<double, std::micro>(Clock::now() - before).count();
}

void stepClient(std::uint16_t port, std::atomic<std::size_t>& replySize, std::barrier<>& ready,
                const std::function<void(double)>& record) {
  std::string error;
  auto client = GnxpClient::connect("127.0.0.1", port, error);
  GnxpResponse response;
  bool initialised = client && client->identify() && client->init(kRingNet, response);
  if (!initialised) std::fprintf(stderr, "set-up failed: %s%s\n", error.c_str(), client ? client->error().c_str() : "");
  ready.arrive_and_wait();
  if (!initialised) return;
  for (int i = 0; i < kStepsPerClient; ++i) {
    Clock::time_point before = Clock::now();
    if (!client->step(1, response) || !response.hasBody) {
      std::fprintf(stderr, "step failed: %s\n", response.status.c_str());
      return;
    }
    record(microsecondsSince(before));
    replySize = response.body.size() + 80;
  }
  client->sendHalt();
}

// An echo peer with a thread per connection, like the server.
Figures rawLoopback(std::size_t replySize) {
  LoopbackListener listener(kClients);
  std::thread acceptor([&listener, replySize] {
    std::vector<std::thread> peers;
    for (int i = 0; i < kClients; ++i) {
      int connection = listener.accept();
      peers.emplace_back([connection, replySize] {
        std::string reply(replySize, 'r');
        char request[kRequest.size()];
        while (readExactly(connection, request, sizeof request)) write(connection, reply.data(), reply.size());
        close(connection);
      });
    }
    for (auto& peer : peers) peer.join();
  });
  Figures figures = runClients([&](std::barrier<>& ready, const std::function<void(double)>& record) {
    int client = listener.connect();
    std::vector<char> reply(replySize);
    ready.arrive_and_wait();
    for (int i = 0; i < kStepsPerClient; ++i) {
      Clock::time_point before = Clock::now();
      if (write(client, kRequest.data(), kRequest.size()) != static_cast<ssize_t>(kRequest.size())) break;
      if (!readExactly(client, reply.data(), replySize)) break;
      record(microsecondsSince(before));
    }
    close(client);
  });
  acceptor.join();
  return figures;
}

void printFigures(const std::string& what, const Figures& figures) {
  std::printf("  %-44s %5d of %d answered, %9.0f requests/s, median %8.1f us\n", what.c_str(), figures.answered,
              kClients * kStepsPerClient, figures.perSecond, figures.medianMicroseconds);
}

// The middle of `values` (the upper one of two).
double median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
  return values[values.size() / 2];
}

// One server program under test, with its ratios to the raw loopback.
struct Contender {
  std::unique_ptr<ServerProcess> server;
  std::string program;
  std::vector<double> byMedian, byThroughput;
};

// One round: each server's STEP requests, then the raw loopback; false when a
// server answered nothing.
bool runRound(int round, std::vector<Contender>& contenders) {
  std::printf("round %d\n", round);
  std::vector<Figures> steps;
  std::atomic<std::size_t> replySize{0};
  for (Contender& contender : contenders) {
    steps.push_back(runClients([&](std::barrier<>& ready, const std::function<void(double)>& record) {
      stepClient(contender.server->port(), replySize, ready, record);
    }));
    printFigures("STEP requests to " + contender.program, steps.back());
    if (steps.back().answered == 0) return false;
  }
  Figures raw = rawLoopback(replySize.load());
  printFigures("raw loopback round trips, same sizes", raw);
  for (std::size_t i = 0; i < contenders.size(); ++i) {
    contenders[i].byMedian.push_back(steps[i].medianMicroseconds / raw.medianMicroseconds);
    contenders[i].byThroughput.push_back(raw.perSecond / steps[i].perSecond);
  }
  return raw.answered > 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Contender> contenders;
  for (int i = 1; i < std::max(argc, 2); ++i) {
    std::string error;
    ServerProcess::Options options;
    if (i < argc) options.program = argv[i];
    contenders.push_back({ServerProcess::startServing(error, options), i < argc ? argv[i] : "this build", {}, {}});
    if (!contenders.back().server) {
      std::fprintf(stderr, "bench: %s\n", error.c_str());
      return 1;
    }
  }
  for (int round = 1; round <= kRounds; ++round) {
    if (!runRound(round, contenders)) return 1;
  }
  for (const Contender& contender : contenders) {
    std::printf("%s: ratio STEP / raw by median round trip: min %.2f, median %.2f; by requests per second: "
                "min %.2f, median %.2f (%d rounds)\n",
                contender.program.c_str(), *std::min_element(contender.byMedian.begin(), contender.byMedian.end()),
                median(contender.byMedian), *std::min_element(contender.byThroughput.begin(), contender.byThroughput.end()),
                median(contender.byThroughput), kRounds);
  }
  return 0;
}
