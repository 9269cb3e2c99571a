// The files of one generated input: the engine's operators the generator may call, and a main
// procedure with the procedure it calls, written as two external procedures or as one
// program with a local procedure. Shared by the harness and the generator's own test.
#ifndef QUORVEX_FUZZ_GENERATED_FILES_H
#define QUORVEX_FUZZ_GENERATED_FILES_H

#include <fstream>
#include <string>
#include <vector>

#include "program_generator.h"
#include "support/procedure_file.h"
#include "support/standin_control.h"

namespace quorvex::fuzz {

// Operators that reach beyond the scratch state a run may change: files written or folders
// walked anywhere, process-wide controls (set_system could arm faults against the harness's
// own calls), and images over raw memory addresses.
inline bool refusedOperator(const std::string& name) {
  return name == "set_system" || name == "dump_window" || name == "list_files" ||
         (name.compare(0, 6, "write_") == 0 && name != "write_string") ||
         name.find("_extern") != std::string::npos;
}

// The operators the engine implements, from its own listing, with their parameter counts.
inline const std::vector<GeneratedOperator>& engineOperators() {
  static const std::vector<GeneratedOperator> usable = [] {
    std::vector<GeneratedOperator> found;
    const HalconCpp::HTuple listing = quorvex::test::control("standin_operators");
    for (HalconCpp::Hlong i = 0; i + 2 < listing.Length(); i += 3) {
      GeneratedOperator op;
      if (listing[i + 2].S().str() == "implemented" &&
          parseSignature(listing[i + 1].S().str(), &op) && !refusedOperator(op.name)) {
        found.push_back(op);
      }
    }
    return found;
  }();
  return usable;
}

struct GeneratedFiles {
  bool asProgram;    // folder/generated.hdev; else generated.hdvp and generated_sub.hdvp
  std::string text;  // everything written, for a reader of a finding
};

// The <procedure> element of a file written by procedureFile.
inline std::string procedureElement(const std::string& file) {
  const std::size_t start = file.find("<procedure ");
  return file.substr(start, file.rfind("</hdevelop>") - start);
}

inline GeneratedFiles writeGeneratedFiles(const std::string& folder, Choices& choices) {
  using quorvex::test::procedureFile;
  const bool asProgram = choices.below(2) == 1;
  ProgramGenerator generator(choices, engineOperators());
  std::vector<std::string> mainLines = generator.body(
      {{"A", "B", "R", "V0", "V1", "V2", "G", "E"}, {"O0", "O1", "O2"}, {"A", "B"}, true},
      "generated_sub");
  const std::vector<std::string> subLines = generator.body(
      {{"X", "Y", "Z", "V0", "V1", "G", "E"}, {"O0", "O1", "Img", "Out"}, {"X", "Y"}},
      "generated_sub");
  const std::string sub = procedureFile(
      "generated_sub", {{"io", {"Img"}}, {"oo", {"Out"}}, {"ic", {"X", "Y"}}, {"oc", {"Z"}}},
      subLines);
  if (asProgram) {
    mainLines.insert(mainLines.begin(), {"A := 1", "B := 2"});
    const std::string main = procedureFile("main", {}, mainLines);
    const std::string text = main.substr(0, main.find("<procedure ")) + procedureElement(main) +
                             procedureElement(sub) + "</hdevelop>\n";
    std::ofstream(folder + "/generated.hdev", std::ios::trunc) << text;
    return {true, text};
  }
  const std::string main =
      procedureFile("generated", {{"ic", {"A", "B"}}, {"oc", {"R"}}}, mainLines);
  std::ofstream(folder + "/generated.hdvp", std::ios::trunc) << main;
  std::ofstream(folder + "/generated_sub.hdvp", std::ios::trunc) << sub;
  return {false, main + sub};
}

}  // namespace quorvex::fuzz

#endif
