// The process-wide grammar pool of the built-in definition schema and the
// entity resolver that serves it from memory.
#include "model/DefinitionSchema.h"

#include "model/SchemaText.h"
#include "model/XmlText.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/XMLGrammarPoolImpl.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/HandlerBase.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLResourceIdentifier.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/validators/schema/ComplexTypeInfo.hpp>
#include <xercesc/validators/schema/SchemaElementDecl.hpp>
#include <xercesc/validators/schema/SchemaGrammar.hpp>

namespace {

std::mutex poolMutex;
std::unique_ptr<xercesc::XMLGrammarPool> pool;  // guarded by poolMutex

std::unique_ptr<xercesc::MemBufInputSource> schemaSource() {
  return std::make_unique<xercesc::MemBufInputSource>(
      reinterpret_cast<const XMLByte*>(kDefinitionSchemaText.data()), kDefinitionSchemaText.size(),
      kSchemaFileName);
}

// Counts schema errors; the built-in schema must have none.
class SchemaErrorCounter final : public xercesc::HandlerBase {
 public:
  void error(const xercesc::SAXParseException& e) override { report(e); }
  void fatalError(const xercesc::SAXParseException& e) override { report(e); }
  bool failed() const { return failed_; }

 private:
  void report(const xercesc::SAXParseException& e) {
    failed_ = true;
    std::string text = "Built-in definition schema error at line " + std::to_string(e.getLineNumber()) +
                       ": " + toLatin1(e.getMessage()) + "\n";
    std::fputs(text.c_str(), stderr);
  }
  bool failed_ = false;
};

void buildContentModel(xercesc::ComplexTypeInfo* type) {
  if (type == nullptr) return;
  type->getContentModel();
  type->getFormattedContentModel();
}

// The library builds a type's content model, and the text of it that content
// errors quote, on first use. Parsers on several threads would then build the
// same one at once (a data race); built here, before the pool is shared, they
// are only read.
void buildContentModels(const xercesc::XMLGrammarPool& pool) {
  auto grammars = pool.getGrammarEnumerator();
  while (grammars.hasMoreElements()) {
    xercesc::Grammar& grammar = grammars.nextElement();
    if (grammar.getGrammarType() != xercesc::Grammar::SchemaGrammarType) continue;
    auto& schema = static_cast<xercesc::SchemaGrammar&>(grammar);
    if (xercesc::RefHashTableOf<xercesc::ComplexTypeInfo>* types = schema.getComplexTypeRegistry()) {
      xercesc::RefHashTableOfEnumerator<xercesc::ComplexTypeInfo> named(types);
      while (named.hasMoreElements()) buildContentModel(&named.nextElement());
    }
    auto elements = schema.getElemEnumerator();
    while (elements.hasMoreElements()) buildContentModel(elements.nextElement().getComplexTypeInfo());
  }
}

// Parses the built-in schema into a new locked pool; null when it has errors.
std::unique_ptr<xercesc::XMLGrammarPool> loadPool() {
  auto made = std::make_unique<xercesc::XMLGrammarPoolImpl>(xercesc::XMLPlatformUtils::fgMemoryManager);
  SchemaErrorCounter errors;
  {
    xercesc::XercesDOMParser loader(nullptr, xercesc::XMLPlatformUtils::fgMemoryManager, made.get());
    loader.setDoNamespaces(true);
    loader.setDoSchema(true);
    loader.setValidationSchemaFullChecking(true);
    loader.setErrorHandler(&errors);
    try {
      loader.loadGrammar(*schemaSource(), xercesc::Grammar::SchemaGrammarType, true);
    } catch (const xercesc::XMLException& e) {
      std::fputs(("Built-in definition schema: " + toLatin1(e.getMessage()) + "\n").c_str(), stderr);
      return nullptr;
    }
  }
  if (errors.failed()) return nullptr;
  buildContentModels(*made);
  made->lockPool();  // read-only from now on, so parsers on any thread may share it
  return made;
}

}  // namespace

xercesc::XMLGrammarPool* definitionGrammarPool() {
  std::lock_guard<std::mutex> lock(poolMutex);
  if (!pool) pool = loadPool();
  return pool.get();
}

void releaseDefinitionGrammar() {
  std::lock_guard<std::mutex> lock(poolMutex);
  pool.reset();
}

xercesc::InputSource* DefinitionEntityResolver::resolveEntity(xercesc::XMLResourceIdentifier* resource) {
  if (resource == nullptr) return nullptr;
  std::string name = toLatin1(resource->getSystemId());
  std::string_view wanted = kSchemaFileName;
  bool isSchema = name == wanted ||
                  (name.size() > wanted.size() && name.ends_with(wanted) && name[name.size() - wanted.size() - 1] == '/');
  // The library takes ownership of what is returned.
  return isSchema ? schemaSource().release() : nullptr;
}
