// Fuzz target: a client's bytes through identification and the GNXP/0.1
// conversation, with a fake net behind it. The first byte sets how many bytes
// each receive delivers, so lines and bodies get split at every place.
#include "FuzzSupport.h"

#include "FakeConnection.h"
#include "FakeSession.h"
#include "server/BufferedConnection.h"
#include "server/ProtocolDispatch.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepareFuzzProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t chunk = std::size_t{data[0]} + 1;
  auto wire = std::make_shared<FakeWire>();
  for (std::size_t at = 1; at < size; at += chunk) {
    wire->incoming.emplace_back(reinterpret_cast<const char*>(data) + at, std::min(chunk, size - at));
  }
  FakeNet net;
  net.failAtStep = 3;
  SilentLog log;
  serveConnection(std::make_unique<BufferedConnection>(std::make_unique<FakeConnection>(wire)), log,
                  fakeSessions(net));
  return 0;
}
