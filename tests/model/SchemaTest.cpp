// The schema file itself, checked by an independent validator (xmllint), and
// the compiled-in copy, which must be the same text.
#include "model/SchemaText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kSchema = VANTER_SOURCE_DIR "/schema/GNschema.xsd";
const std::string kData = VANTER_SOURCE_DIR "/tests/model/data/";

int xmllint(const std::string& document) {
  std::string command = "xmllint --noout --schema '" + kSchema + "' '" + document + "' >/dev/null 2>&1";
  return std::system(command.c_str());
}

TEST(Schema, XmllintAcceptsTheSampleDefinition) {
  ASSERT_EQ(std::system("command -v xmllint >/dev/null 2>&1"), 0) << "xmllint (libxml2-utils) is not installed";
  EXPECT_EQ(xmllint(kData + "sample.xml"), 0);
}

TEST(Schema, XmllintRejectsTheInvalidDefinition) {
  ASSERT_EQ(std::system("command -v xmllint >/dev/null 2>&1"), 0) << "xmllint (libxml2-utils) is not installed";
  EXPECT_NE(xmllint(kData + "invalid.xml"), 0);
}

TEST(Schema, CompiledInTextIsTheSchemaFile) {
  std::ifstream file(kSchema, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(std::string(kDefinitionSchemaText), text.str());
}

}  // namespace
