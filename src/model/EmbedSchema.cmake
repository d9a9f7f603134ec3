# Writes the definition schema into a C++ source file as one string, so that
# the servers need no schema file beside them. Run by a build step with
# -DINPUT=<schema file> -DOUTPUT=<source file>.
file(READ "${INPUT}" schema_text)
file(WRITE "${OUTPUT}"
  "// Generated from schema/GNschema.xsd at build time; do not edit.\n"
  "#include \"model/SchemaText.h\"\n\n"
  "const std::string_view kDefinitionSchemaText = R\"GNSCHEMA(${schema_text})GNSCHEMA\";\n")
