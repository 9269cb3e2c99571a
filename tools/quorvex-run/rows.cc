#include "rows.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quorvex::run {
namespace {

const char* const kRecordColumns[] = {"kind",        "procName", "progLineName", "errorCode",
                                      "progLineNum", "message",  "errorText"};

Cell textCell(const std::string& text) {
  return {jsonString(text), text};
}

Cell integerCell(int32_t value) {
  return {std::to_string(value), std::to_string(value)};
}

Cell optionalCell(const std::optional<std::string>& text) {
  return text ? textCell(*text) : Cell{"null", ""};
}

Row startRow(const std::string& file, bool ok, double seconds) {
  // Locale-independent, so that the column reads the same whatever a loaded library set.
  char buffer[64];
  const std::string time(
      buffer,
      std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 4).ptr);
  return {ok, {textCell(file), textCell(ok ? "ok" : "error"), {time, time}}};
}

bool isNumber(const std::string& text) {
  double number = 0;
  const char* const end = text.data() + text.size();
  const auto read = std::from_chars(text.data(), end, number);
  return !text.empty() && read.ptr == end && read.ec == std::errc();
}

// A spreadsheet runs a cell that starts with '=', '+', '-' or '@' (or a tab or carriage
// return before one) as a formula: such a cell gets a leading ' inside its quotes, which the
// spreadsheet shows as text. Numbers as the runner writes them (-5, -2.5) stay numbers.
std::string csvField(const std::string& text) {
  const bool formula = !text.empty() && std::strchr("=+-@\t\r", text[0]) && !isNumber(text);
  if (!formula && text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = formula ? "\"'" : "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::vector<std::string> unescapedFields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\t') {
      fields.emplace_back();
    } else if (line[i] == '\\' && i + 1 < line.size()) {
      const char c = line[++i];
      fields.back() += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    } else {
      fields.back() += line[i];
    }
  }
  return fields;
}

}  // namespace

std::vector<std::string> columnNames(const std::vector<std::string>& outputs) {
  std::vector<std::string> names = {"file", "status", "seconds"};
  names.insert(names.end(), outputs.begin(), outputs.end());
  names.insert(names.end(), std::begin(kRecordColumns), std::end(kRecordColumns));
  return names;
}

Row successRow(const std::string& file, double seconds, const std::vector<Values>& outputs) {
  Row row = startRow(file, true, seconds);
  for (const Values& values : outputs)
    row.cells.push_back({jsonArray(values), readableText(values)});
  row.cells.resize(row.cells.size() + std::size(kRecordColumns));
  return row;
}

Row failureRow(const std::string& file, double seconds, std::size_t outputCount,
               const Record& record) {
  Row row = startRow(file, false, seconds);
  row.cells.resize(row.cells.size() + outputCount);
  for (const Cell& cell :
       {integerCell(record.kind), optionalCell(record.procName), optionalCell(record.progLineName),
        integerCell(record.errorCode), integerCell(record.progLineNum),
        optionalCell(record.message), optionalCell(record.errorText)}) {
    row.cells.push_back(cell);
  }
  return row;
}

std::string encodeRow(std::size_t index, const Row& row) {
  std::string line = "row\t" + std::to_string(index) + (row.ok ? "\tok" : "\terror");
  for (const Cell& cell : row.cells) line += "\t" + escaped(cell.json) + "\t" + escaped(cell.text);
  return line;
}

bool decodeRow(const std::string& line, std::size_t& index, Row& row) {
  const std::vector<std::string> fields = unescapedFields(line);
  if (fields.size() < 3 || fields[0] != "row" || fields.size() % 2 == 0) return false;
  char* end = nullptr;
  index = std::strtoul(fields[1].c_str(), &end, 10);
  if (*end != '\0' || fields[1].empty()) return false;
  row.ok = fields[2] == "ok";
  row.cells.clear();
  for (std::size_t i = 3; i + 1 < fields.size(); i += 2)
    row.cells.push_back({fields[i], fields[i + 1]});
  return true;
}

RowWriter::RowWriter(std::ostream& out, bool csv, std::vector<std::string> columns)
    : out_(out), csv_(csv), columns_(std::move(columns)) {
  if (!csv_) return;
  for (std::size_t i = 0; i < columns_.size(); ++i) out_ << (i ? "," : "") << csvField(columns_[i]);
  out_ << "\n";
}

void RowWriter::write(const Row& row) {
  if (csv_) {
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
      out_ << (i ? "," : "") << csvField(row.cells[i].text);
    }
    out_ << "\n";
  } else {
    std::string json = "{";
    for (std::size_t i = 0; i < row.cells.size() && i < columns_.size(); ++i) {
      if (row.cells[i].json.empty()) continue;
      json += (json.size() > 1 ? ", " : "") + jsonString(columns_[i]) + ": " + row.cells[i].json;
    }
    out_ << json << "}\n";
  }
  out_.flush();
}

}  // namespace quorvex::run
