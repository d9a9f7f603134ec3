// The model tests' in-process net built from a definition text.
#include "LoadedNet.h"

#include "builtins/BuiltinFunctions.h"
#include "model/DefinitionParser.h"
#include "model/Place.h"
#include "model/SimpleTransition.h"
#include "model/Token.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace {

// The XML library stays started for the whole test program.
class XmlEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(initializeXerces()); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new XmlEnvironment);

std::string uniquePath() {
  static std::atomic<int> counter{0};
  return testFolder() + "/definition-" + std::to_string(counter++) + ".xml";
}

CGNObject* objectNamed(NameTable& table, const std::string& name) {
  if (!table.contains(name)) return nullptr;
  return table.objectAt(table.indexOf(name));
}

}  // namespace

std::string testFolder() {
  static const std::string folder = [] {
    auto path = std::filesystem::temp_directory_path() / ("vanter-model-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path.string();
  }();
  return folder;
}

std::string definitionText(const std::string& body, const std::string& rootAttributes) {
  return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<gn xmlns=\"urn:vanterserver:gn-definition\"" +
         (rootAttributes.empty() ? std::string() : " " + rootAttributes) + ">\n" + body + "\n</gn>\n";
}

LoadedNet::LoadedNet(const std::string& body, const std::string& rootAttributes) {
  initialise(definitionText(body, rootAttributes));
}

LoadedNet::LoadedNet(FromDocument, const std::string& document) { initialise(document); }

std::unique_ptr<LoadedNet> LoadedNet::fromDocument(const std::string& document) {
  return std::unique_ptr<LoadedNet>(new LoadedNet(FromDocument{}, document));
}

void LoadedNet::initialise(const std::string& document) {
  path_ = uniquePath();
  std::ofstream(path_, std::ios::binary) << document;
  net_.prepare(&log_, path_, "", nullptr);
  registerBuiltIns(net_);
  ::testing::internal::CaptureStderr();
  initialised_ = net_.initialize();
  errors_ = ::testing::internal::GetCapturedStderr();
}

LoadedNet::~LoadedNet() { std::filesystem::remove(path_); }

CPlace* LoadedNet::place(const std::string& name) {
  return static_cast<CPlace*>(objectNamed(net_.placesTable(), name));
}

CSimpleTransition* LoadedNet::transition(const std::string& name) {
  return static_cast<CSimpleTransition*>(objectNamed(net_.transitionsTable(), name));
}

CToken* LoadedNet::token(const std::string& name) {
  return static_cast<CToken*>(objectNamed(net_.tokensTable(), name));
}

std::vector<std::string> LoadedNet::placeOrder() {
  std::vector<std::string> names;
  for (int i = 0; i < net_.placesTable().count(); ++i) names.push_back(net_.placesTable().nameAt(i));
  return names;
}

std::vector<std::string> LoadedNet::logBetween(const std::string& from, const std::string& to) const {
  std::vector<std::string> all = log_.messages();
  std::vector<std::string> out;
  bool inside = false;
  for (const std::string& message : all) {
    if (!inside && message == from) inside = true;
    if (!inside) continue;
    out.push_back(message);
    if (message == to) break;
  }
  return out;
}
