// STEP round trips per second on one connection to the real headless server
// with an empty net, next to a raw loopback TCP request/response loop of the
// same sizes measured in the same run. Prints its figures; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Loopback.h"
#include "ServerProcess.h"
#include "client/GnxpClient.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRoundTrips = 5000;
constexpr const char* kEmptyNet = "<gn xmlns=\"urn:vanterserver:gn-definition\"/>";
constexpr std::string_view kRequest = "STEP 1\r\n\r\n";

struct Figures {
  double perSecond;
  double medianMicroseconds;
};

Figures measure(const std::function<bool()>& roundTrip) {
  std::vector<double> times;
  times.reserve(kRoundTrips);
  Clock::time_point start = Clock::now();
  for (int i = 0; i < kRoundTrips; ++i) {
    Clock::time_point before = Clock::now();
    if (!roundTrip()) break;
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - before).count());
  }
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (times.empty()) return {0, 0};
  std::nth_element(times.begin(), times.begin() + static_cast<long>(times.size() / 2), times.end());
  return {static_cast<double>(times.size()) / seconds, times[times.size() / 2]};
}

// An echo peer that answers each request with `replySize` bytes.
Figures rawLoopback(std::size_t replySize) {
  LoopbackListener listener(1);
  std::thread peer([&listener, replySize] {
    int connection = listener.accept();
    std::string reply(replySize, 'r');
    char request[kRequest.size()];
    while (readExactly(connection, request, sizeof request)) write(connection, reply.data(), reply.size());
    close(connection);
  });
  int client = listener.connect();
  std::vector<char> reply(replySize);
  Figures figures = measure([&] {
    if (write(client, kRequest.data(), kRequest.size()) != static_cast<ssize_t>(kRequest.size())) return false;
    return readExactly(client, reply.data(), replySize);
  });
  close(client);
  peer.join();
  return figures;
}

}  // namespace

int main() {
  std::string error;
  auto server = ServerProcess::startServing(error);
  if (!server) {
    std::fprintf(stderr, "bench: %s\n", error.c_str());
    return 1;
  }
  auto client = GnxpClient::connect("127.0.0.1", server->port(), error);
  GnxpResponse response;
  if (!client || !client->identify() || !client->init(kEmptyNet, response) ||
      response.status != "200 Request completed successfully") {
    std::fprintf(stderr, "bench: cannot set up the net: %s %s\n", error.c_str(), response.status.c_str());
    return 1;
  }
  std::size_t responseSize = 0;
  Figures step = measure([&] {
    bool ok = client->step(1, response) && response.hasBody;
    responseSize = response.body.size() + 80;
    return ok;
  });
  client->sendHalt();
  Figures raw = rawLoopback(responseSize);
  std::printf("STEP round trips (empty net, headless server): %9.0f /s, median %7.1f us\n", step.perSecond,
              step.medianMicroseconds);
  std::printf("raw loopback round trips (same sizes):         %9.0f /s, median %7.1f us\n", raw.perSecond,
              raw.medianMicroseconds);
  std::printf("ratio raw / STEP: %.2f by throughput, %.2f by median (a loaded machine stretches the first)\n",
              step.perSecond > 0 ? raw.perSecond / step.perSecond : 0.0,
              raw.medianMicroseconds > 0 ? step.medianMicroseconds / raw.medianMicroseconds : 0.0);
  return 0;
}
