// The engine tests' in-process net and recording event sink.
#include "NetHarness.h"

#include "builtins/BuiltinFunctions.h"
#include "lang/Value.h"
#include "model/DefinitionParser.h"
#include "model/Token.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace {

std::string uniqueDefinitionPath() {
  static std::atomic<int> counter{0};
  auto path = std::filesystem::temp_directory_path() /
              ("vanter-engine-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".xml");
  return path.string();
}

void startXmlOnce() {
  static const bool started = initializeXerces();
  (void)started;
}

}  // namespace

std::string definitionDocument(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<gn xmlns=\"urn:vanterserver:gn-definition\">\n" + body +
         "\n</gn>\n";
}

void RecordingEvents::record(const std::string& text, const CToken* described) {
  std::string characteristics;
  if (described != nullptr) {
    for (const auto& [name, characteristic] : described->characteristics()) {
      if (!characteristics.empty()) characteristics += ",";
      characteristics += name + "=" + textOf(characteristic->value());
    }
  }
  events_.push_back({net_.time(), text, characteristics});
}

void RecordingEvents::movement(const CToken& token, const CPlace& place) {
  record("movement " + net_.tokenName(&token) + " " + net_.placeName(&place), &token);
}

void RecordingEvents::entrance(const CToken& token, const CPlace& place) {
  record("entrance " + net_.tokenName(&token) + " " + net_.placeName(&place), &token);
}

void RecordingEvents::exit(const CToken& token, const CPlace& place) {
  record("exit " + net_.tokenName(&token) + " " + net_.placeName(&place), nullptr);
}

void RecordingEvents::merge(const CToken& oldToken, const CPlace& place, const CToken& newToken) {
  record("merge " + net_.tokenName(&oldToken) + " " + net_.placeName(&place) + " " + net_.tokenName(&newToken),
         &newToken);
}

TestNet::TestNet(const std::string& body) : path_(uniqueDefinitionPath()), ownsFile_(true) {
  std::ofstream(path_) << definitionDocument(body);
  initialize();
}

TestNet::TestNet(const DefinitionFile& file) : path_(file.path), ownsFile_(false) { initialize(); }

void TestNet::initialize() {
  startXmlOnce();
  net_.prepare(&log_, path_, "", &events_);
  registerBuiltIns(net_);
  initialised_ = net_.initialize();
}

TestNet::~TestNet() {
  if (ownsFile_) std::filesystem::remove(path_);
}

std::vector<std::string> TestNet::step() {
  const std::size_t before = events_.events().size();
  net_.step();
  std::vector<std::string> texts;
  for (std::size_t i = before; i < events_.events().size(); ++i) texts.push_back(events_.events()[i].text);
  return texts;
}

std::vector<RecordedEvent> TestNet::run(int count) {
  const std::size_t before = events_.events().size();
  for (int i = 0; i < count; ++i) net_.step();
  return {events_.events().begin() + static_cast<std::ptrdiff_t>(before), events_.events().end()};
}

int TestNet::tokenIndex(const std::string& name) {
  NameTable& tokens = net_.tokensTable();
  for (int index = 0; index < tokens.count(); ++index) {
    if (tokens.nameAt(index) == name) return index;
  }
  return -1;
}
