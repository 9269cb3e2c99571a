// A small XML reader for the HDevelop file format: elements, attributes, character data,
// the predefined and numeric entities, comments, processing instructions, a DOCTYPE line
// and CDATA sections. Enough for .hdev and .hdvp files; no namespaces, no validation.
#ifndef QUORVEX_STANDINS_HDEVENGINE_XML_READER_H
#define QUORVEX_STANDINS_HDEVENGINE_XML_READER_H

#include <string>
#include <utility>
#include <vector>

namespace HDevEngineCpp {
namespace Standin {

struct XmlElement {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<XmlElement> children;
  std::string text;  // the character data directly inside, entities decoded
  int line = 0;      // where the start tag begins, from 1

  // Null when the element has no such attribute.
  const std::string* attribute(const char* attributeName) const;
};

struct XmlError {
  std::string message;
  int line = 0;
};

// Parses a whole document into its root element. False with `error` filled when the input
// is not well-formed.
bool parseXml(const std::string& input, XmlElement* root, XmlError* error);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
