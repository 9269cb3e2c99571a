#include "files/source_reader.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>

#include "files/xml_reader.h"
#include "runtime/engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

constexpr const char* kGroupTags[kGroupCount] = {"io", "oo", "ic", "oc"};

// Lines of the file (as opposed to lines of a procedure body) go into the message only: an
// error's line number always counts body lines.
std::string atFileLine(int line, const std::string& detail) {
  return "line " + std::to_string(line) + " of the file: " + detail;
}

[[noreturn]] void malformed(const std::string& fileName, int line, const std::string& detail) {
  ErrorPlace place;
  place.file = fileName;
  throw LoadError{kErrMalformedFile, ExceptionFile, atFileLine(line, detail), place};
}

std::string trim(const std::string& text) {
  const char* space = " \t\r\n";
  const std::size_t first = text.find_first_not_of(space);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(space) - first + 1);
}

void readInterface(const XmlElement& interface, const std::string& fileName,
                   ProcedureSource* procedure) {
  for (const XmlElement& group : interface.children) {
    int index = -1;
    for (int g = 0; g < kGroupCount; ++g) {
      if (group.name == kGroupTags[g]) index = g;
    }
    if (index < 0) continue;  // newer files may add groups the engine does not know
    for (const XmlElement& par : group.children) {
      if (par.name != "par") continue;
      const std::string* name = par.attribute("name");
      if (!name || name->empty()) malformed(fileName, par.line, "a parameter without a name");
      for (const auto& existing : procedure->params) {
        for (const std::string& other : existing) {
          if (other == *name) malformed(fileName, par.line, "parameter " + *name + " twice");
        }
      }
      procedure->params[index].push_back(*name);
    }
  }
}

ProcedureSource readProcedure(const XmlElement& element, const std::string& fileName) {
  ProcedureSource procedure;
  const std::string* name = element.attribute("name");
  if (!name || name->empty()) malformed(fileName, element.line, "a procedure without a name");
  procedure.name = *name;
  for (const XmlElement& part : element.children) {
    if (part.name == "interface") {
      readInterface(part, fileName, &procedure);
    } else if (part.name == "body") {
      for (const XmlElement& line : part.children) {
        if (line.name == "l" || line.name == "c") {
          procedure.lines.push_back(SourceLine{trim(line.text), line.name == "c"});
        }
      }
    }
  }
  return procedure;
}

// The encoding the XML declaration names, lower case; empty when there is none.
std::string declaredEncoding(const std::string& content) {
  const std::size_t end = content.find("?>");
  if (content.compare(0, 5, "<?xml") != 0 || end == std::string::npos) return "";
  const std::size_t at = content.find("encoding", 0);
  if (at == std::string::npos || at > end) return "";
  const std::size_t open = content.find_first_of("\"'", at);
  if (open == std::string::npos || open > end) return "";
  const std::size_t close = content.find(content[open], open + 1);
  if (close == std::string::npos || close > end) return "";
  std::string name = content.substr(open + 1, close - open - 1);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// ISO-8859-15 is Latin-1 but for eight characters, the euro sign first.
unsigned latin9CodePoint(unsigned char byte) {
  switch (byte) {
    case 0xA4:
      return 0x20AC;
    case 0xA6:
      return 0x0160;
    case 0xA8:
      return 0x0161;
    case 0xB4:
      return 0x017D;
    case 0xB8:
      return 0x017E;
    case 0xBC:
      return 0x0152;
    case 0xBD:
      return 0x0153;
    case 0xBE:
      return 0x0178;
    default:
      return byte;
  }
}

void appendUtf8(std::string* out, unsigned codePoint) {
  if (codePoint < 0x80) {
    out->push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

// Files saved in a Western single-byte encoding become UTF-8, the engine's text everywhere.
// Windows-1252's extra characters in 0x80-0x9F are read as their Latin-1 code points.
void toUtf8(std::string* content) {
  const std::string encoding = declaredEncoding(*content);
  const bool latin9 = encoding == "iso-8859-15" || encoding == "latin-9" || encoding == "latin9";
  if (encoding != "iso-8859-1" && encoding != "latin1" && !latin9 && encoding != "windows-1252" &&
      encoding != "cp1252") {
    return;
  }
  std::string utf8;
  utf8.reserve(content->size());
  for (char c : *content) {
    const auto byte = static_cast<unsigned char>(c);
    appendUtf8(&utf8, latin9 ? latin9CodePoint(byte) : byte);
  }
  content->swap(utf8);
}

}  // namespace

std::vector<ProcedureSource> readHDevelopFile(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) {
    ErrorPlace place;
    place.file = fileName;
    throw LoadError{kErrFileNotFound, ExceptionFile, "", place};
  }
  std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) {
    ErrorPlace place;
    place.file = fileName;
    throw LoadError{kErrFileNotFound, ExceptionFile, "read error", place};
  }
  toUtf8(&content);
  XmlElement root;
  XmlError error;
  if (!parseXml(content, &root, &error)) {
    ErrorPlace place;
    place.file = fileName;
    throw LoadError{kErrMalformedXml, ExceptionFile, atFileLine(error.line, error.message), place};
  }
  if (root.name != "hdevelop") malformed(fileName, root.line, "the root element is not <hdevelop>");
  std::vector<ProcedureSource> procedures;
  for (const XmlElement& child : root.children) {
    if (child.name != "procedure") continue;
    procedures.push_back(readProcedure(child, fileName));
    for (std::size_t i = 0; i + 1 < procedures.size(); ++i) {
      if (procedures[i].name == procedures.back().name) {
        malformed(fileName, child.line, "procedure " + procedures.back().name + " twice");
      }
    }
  }
  if (procedures.empty()) malformed(fileName, root.line, "the file holds no procedure");
  return procedures;
}

}  // namespace Standin
}  // namespace HDevEngineCpp
