#include "report.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "values.h"

namespace quorvex::run {
namespace {

#include "report_page.inc"  // kReportPage: resources/report.html

const char kMarker[] = "@QUORVEX_REPORT_DATA@";

std::string pagePart(bool head) {
  const std::string page(kReportPage);
  const auto at = page.find(kMarker);
  return head ? page.substr(0, at) : page.substr(at + sizeof kMarker - 1);
}

// A cell's JSON, or null for a column the row leaves out.
const std::string& orNull(const Cell& cell) {
  static const std::string null = "null";
  return cell.json.empty() ? null : cell.json;
}

std::string jsonList(const std::vector<Cell>& cells, std::size_t first, std::size_t count) {
  std::string json = "[";
  for (std::size_t i = first; i < first + count && i < cells.size(); ++i) {
    json += (i > first ? "," : "") + orNull(cells[i]);
  }
  return json + "]";
}

// Relative to the report when the picture lies on the same root, so that the folder can be
// moved or shared as a whole.
std::string pictureLink(const std::filesystem::path& folder, const std::string& picture) {
  const std::filesystem::path absolute = std::filesystem::absolute(picture);
  const std::filesystem::path relative = absolute.lexically_relative(folder);
  return (relative.empty() ? absolute : relative).generic_string();
}

std::string escapedField(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '\t' || c == '\n' || c == '\r') {
      out += '\\';
      out += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string scriptSafe(const std::string& json) {
  std::string out;
  out.reserve(json.size());
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (c == '<') {
      out += "\\u003c";
    } else if (c == '>') {
      out += "\\u003e";
    } else if (c == '&') {
      out += "\\u0026";
    } else if (c == '\xE2' && i + 2 < json.size() && json[i + 1] == '\x80' &&
               (json[i + 2] == '\xA8' || json[i + 2] == '\xA9')) {
      out += json[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

Report::Report(const std::string& folder, const std::vector<std::string>& outputs,
               const std::string& title)
    : folder_(std::filesystem::absolute(folder)), outputs_(outputs.size()) {
  std::filesystem::create_directories(folder_);
  partial_ = folder_ / "index.html.part";
  out_.open(partial_, std::ios::binary);
  if (!out_) throw std::runtime_error("cannot write " + partial_.string());
  std::string names = "[";
  for (const auto& name : outputs) names += (names.size() > 1 ? "," : "") + jsonString(name);
  out_ << pagePart(true) << "{\"title\":" << scriptSafe(jsonString(title))
       << ",\"outputs\":" << scriptSafe(names + "]") << ",\"rows\":[\n";
}

void Report::add(const Row& row) {
  const bool failed = !row.ok;
  std::string json = rows_++ ? ",[" : "[";
  for (std::size_t i = 0; i < 3 && i < row.cells.size(); ++i) json += orNull(row.cells[i]) + ",";
  json += failed ? "null," : jsonList(row.cells, 3, outputs_) + ",";
  json += failed ? jsonList(row.cells, 3 + outputs_, row.cells.size()) + "," : "null,";
  std::string pictures = "[";
  for (const auto& picture : row.pictures) {
    pictures += (pictures.size() > 1 ? "," : "") + jsonString(pictureLink(folder_, picture));
  }
  out_ << scriptSafe(json + pictures + "]]") << "\n";
}

std::string Report::finish(double seconds, std::size_t jobs) {
  char summary[96];
  std::snprintf(summary, sizeof summary, "],\"summary\":{\"seconds\":%.3f,\"jobs\":%zu}}", seconds,
                jobs);
  out_ << summary << pagePart(false);
  out_.close();
  if (!out_) throw std::runtime_error("cannot write " + partial_.string());
  const auto page = folder_ / "index.html";
  std::filesystem::rename(partial_, page);
  return page.string();
}

std::string encodePictures(std::size_t index, const std::vector<std::string>& pictures) {
  std::string line = "pictures\t" + std::to_string(index);
  for (const auto& picture : pictures) line += "\t" + escapedField(picture);
  return line;
}

bool decodePictures(const std::string& line, std::size_t& index,
                    std::vector<std::string>& pictures) {
  const std::string tag = "pictures\t";
  if (line.compare(0, tag.size(), tag) != 0) return false;
  char* end = nullptr;
  index = std::strtoul(line.c_str() + tag.size(), &end, 10);
  if (end == line.c_str() + tag.size() || (*end != '\t' && *end != '\0')) return false;
  pictures.clear();
  for (const char* c = end; *c;) {
    pictures.emplace_back();
    for (++c; *c && *c != '\t'; ++c) {
      if (*c == '\\' && c[1]) {
        ++c;
        pictures.back() += *c == 't' ? '\t' : *c == 'n' ? '\n' : *c == 'r' ? '\r' : *c;
      } else {
        pictures.back() += *c;
      }
    }
  }
  return true;
}

}  // namespace quorvex::run
