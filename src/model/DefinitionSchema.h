// The built-in definition schema as the XML library sees it: one grammar pool
// per process holding the parsed schema, and the entity resolver that serves
// the schema from memory and refuses every other external entity.
// Thread rule: the pool is made once under a lock and is read-only afterwards,
// so parsers on several threads share it; it is released by terminateXerces.
#pragma once

#include <xercesc/util/XMLEntityResolver.hpp>

XERCES_CPP_NAMESPACE_BEGIN
class XMLGrammarPool;
XERCES_CPP_NAMESPACE_END

// The schema's file name as definitions and the parser's schema location name it.
inline constexpr const char* kSchemaFileName = "GNschema.xsd";

// The locked pool holding the parsed schema, made on first use; null (after a
// report on standard error) when the built-in schema cannot be read.
// REQUIRES: the XML library is started.
xercesc::XMLGrammarPool* definitionGrammarPool();
// Drops the pool; the next definitionGrammarPool makes it again.
void releaseDefinitionGrammar();

// Serves kSchemaFileName from memory; any other entity (an external DTD, a
// schema named by the document) is refused, so a definition cannot make the
// server open files or reach the network.
class DefinitionEntityResolver final : public xercesc::XMLEntityResolver {
 public:
  xercesc::InputSource* resolveEntity(xercesc::XMLResourceIdentifier* resource) override;
};
