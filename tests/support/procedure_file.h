// The text of an HDevelop procedure file, for the tests and harnesses that write their own
// procedures: one writer, so that every suite feeds the engine files of the same form.
#ifndef QUORVEX_TESTS_SUPPORT_PROCEDURE_FILE_H
#define QUORVEX_TESTS_SUPPORT_PROCEDURE_FILE_H

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace quorvex::test {

// Parameter groups by tag: "io", "oo" (iconic), "ic", "oc" (control), each with its names.
using ParameterGroups = std::vector<std::pair<std::string, std::vector<std::string>>>;

// Body lines starting with "//" become comment lines, empty ones empty program lines.
inline std::string procedureFile(const std::string& name, const ParameterGroups& groups,
                                 const std::vector<std::string>& lines) {
  const auto escaped = [](const std::string& text) {
    std::string out;
    for (char c : text)
      out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
    return out;
  };
  std::string file =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<hdevelop file_version=\"1.0\" halcon_version=\"11.0\">\n"
      "<procedure name=\"" +
      name + "\">\n<interface>\n";
  for (const auto& [tag, names] : groups) {
    if (names.empty()) continue;
    const char* type = tag == "io" || tag == "oo" ? "iconic" : "ctrl";
    file += "<" + tag + ">\n";
    for (const auto& par : names) {
      file += "<par name=\"" + par + "\" base_type=\"" + type + "\" dimension=\"0\"/>\n";
    }
    file += "</" + tag + ">\n";
  }
  file += "</interface>\n<body>\n";
  for (const auto& line : lines) {
    if (line.compare(0, 2, "//") == 0) {
      file += "<c>" + escaped(line.substr(2)) + "</c>\n";
    } else {
      file += line.empty() ? "<l/>\n" : "<l>" + escaped(line) + "</l>\n";
    }
  }
  return file + "</body>\n</procedure>\n</hdevelop>\n";
}

inline void writeProcedureFile(const std::string& folder, const std::string& name,
                               const ParameterGroups& groups,
                               const std::vector<std::string>& lines) {
  std::ofstream(folder + "/" + name + ".hdvp", std::ios::trunc)
      << procedureFile(name, groups, lines);
}

}  // namespace quorvex::test

#endif
