#include "operators.h"

#include <string>
#include <vector>

#include "runner.h"

namespace quorvex::run {
namespace {

// The strings of get_system ('standin_operators'): name, signature, status, ...
std::vector<std::string> listingTexts(Library& library) {
  TupleHandle tuple = nullptr;
  if (ErrorMsg* record = library.hgetsystem("standin_operators", &tuple)) {
    RecordError error(*record);
    library.hclearErrorMsg(record);
    throw error;
  }
  std::vector<std::string> texts;
  const int32_t length = library.hgetTupleLength(tuple);
  for (int32_t i = 0; i < length; ++i) {
    char* text = library.hgetTupleElemString_TO_BE_FREED(tuple, i);
    texts.emplace_back(text ? text : "");
    library.hfreeTupleElemString(text);
  }
  library.hfreeTuple(tuple);
  return texts;
}

}  // namespace

void listOperators(Library& library, std::ostream& out) {
  const std::vector<std::string> texts = listingTexts(library);
  std::size_t implemented = 0;
  for (std::size_t i = 2; i < texts.size(); i += 3) implemented += texts[i] == "implemented";
  out << texts.size() / 3 << " operators, " << implemented
      << " implemented by the stand-in (status, then the signature)\n";
  for (std::size_t i = 0; i + 2 < texts.size(); i += 3) {
    const std::string& name = texts[i];
    const std::string& signature = texts[i + 1];
    const std::string& status = texts[i + 2];
    const bool disagrees = status.compare(0, 9, "disagrees") == 0;
    std::string column = disagrees ? "disagrees" : status;
    column.resize(17, ' ');
    out << column << (signature.empty() ? name + " (not in the table)" : signature);
    if (disagrees) out << "  [" << status << "]";
    out << "\n";
  }
}

}  // namespace quorvex::run
