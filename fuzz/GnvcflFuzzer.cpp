// Fuzz target: GNVCFL source read, parsed, bound and run as the functions of
// a small net for a few steps. The source must define the predicate p, the
// characteristic function c and the merge rule m that the net names (and may
// define GNInit and GNTrace); tokens move from A through the merging place M
// to the exit B, or to the exit C when p is false, so references to tokens
// that left or merged away get used.
#include "FuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr int kSteps = 8;

constexpr std::string_view kBefore =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
    "<gn xmlns=\"urn:vanterserver:gn-definition\"><transitions>"
    "<transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"M\"/><output ref=\"C\"/>"
    "</outputs><predicates default=\"true\"><predicate input=\"A\" output=\"M\">p</predicate></predicates>"
    "</transition>"
    "<transition id=\"U\"><inputs><input ref=\"M\"/></inputs><outputs><output ref=\"B\"/></outputs>"
    "<predicates default=\"true\"/></transition></transitions>"
    "<places><place id=\"A\" char=\"c\"/><place id=\"M\" char=\"c\" merge=\"true\" mergeRule=\"m\" priority=\"1\"/>"
    "<place id=\"B\" char=\"c\"/><place id=\"C\"/></places><functions><![CDATA[";

constexpr std::string_view kAfter =
    "]]></functions><tokens>"
    "<token id=\"k1\" host=\"A\"><characteristic name=\"Default\" type=\"double\" history=\"2\">1</characteristic>"
    "<characteristic name=\"s\" type=\"string\">text</characteristic>"
    "<characteristic name=\"v\" type=\"vector\">1 2 [3 4]</characteristic></token>"
    "<token id=\"k2\" host=\"A\" priority=\"1\"><characteristic name=\"Default\" type=\"vector\">5 6</characteristic>"
    "</token><token id=\"k3\" host=\"A\" entering=\"2\"/>"
    "<generator id=\"g\" host=\"A\" type=\"periodic\" predicate=\"true\" period=\"2\">"
    "<characteristic name=\"Default\" type=\"double\">7</characteristic></generator></tokens></gn>";

// The source as CDATA text: bytes XML does not allow become spaces, and "]]>"
// is split across two sections.
std::string cdataText(std::string_view source) {
  std::string text;
  text.reserve(source.size());
  for (std::size_t i = 0; i < source.size(); ++i) {
    auto byte = static_cast<unsigned char>(source[i]);
    bool allowed = byte >= 0x20 || byte == '\t' || byte == '\n' || byte == '\r';
    text += allowed ? source[i] : ' ';
    if (source.substr(i, 3) == "]]>") text += "]]><![CDATA[";
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepareFuzzProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string definition(kBefore);
  definition += cdataText(std::string_view(reinterpret_cast<const char*>(data), size));
  definition += kAfter;
  runDefinition(definition, kSteps);
  return 0;
}
