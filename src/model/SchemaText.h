// The definition schema (schema/GNschema.xsd), compiled into the program as text
// by a build step; the parser reads it from memory, never from the working directory.
#pragma once

#include <string_view>

// The whole schema document, UTF-8. Lives for the whole process.
extern const std::string_view kDefinitionSchemaText;
