// Procedures and programs generated from the fuzzer's bytes (program_generator.h): a main
// procedure and a procedure it calls, external files or one program with a local procedure,
// loaded and run through the C interface under the harnesses' low bounds.
#include <cstdlib>
#include <string>
#include <vector>

#include "harness.h"
#include "program_generator.h"

namespace {

using quorvex::fuzz::GeneratedOperator;

// Operators that reach beyond the scratch state a run may change: files written or folders
// walked anywhere, process-wide controls (set_system could arm faults against the harness's
// own calls), and images over raw memory addresses.
bool refused(const std::string& name) {
  return name == "set_system" || name == "dump_window" || name == "list_files" ||
         (name.compare(0, 6, "write_") == 0 && name != "write_string") ||
         name.find("_extern") != std::string::npos;
}

// The operators the engine implements, from its own listing, with their parameter counts.
const std::vector<GeneratedOperator>& operators() {
  static const std::vector<GeneratedOperator> usable = [] {
    std::vector<GeneratedOperator> found;
    const HalconCpp::HTuple listing = quorvex::test::control("standin_operators");
    for (HalconCpp::Hlong i = 0; i + 2 < listing.Length(); i += 3) {
      GeneratedOperator op;
      if (listing[i + 2].S().str() == "implemented" &&
          quorvex::fuzz::parseSignature(listing[i + 1].S().str(), &op) && !refused(op.name)) {
        found.push_back(op);
      }
    }
    return found;
  }();
  return usable;
}

// The <procedure> elements of a file written by procedureFile.
std::string procedureElement(const std::string& file) {
  const std::size_t start = file.find("<procedure ");
  return file.substr(start, file.rfind("</hdevelop>") - start);
}

// With QUORVEX_FUZZ_VERBOSE set, the generated files and why they did not load or run: how
// a finding is read, and the generator's own mistakes show up while it is being changed.
bool verbose() {
  static const bool set = std::getenv("QUORVEX_FUZZ_VERBOSE") != nullptr;
  return set;
}

bool reported(const char* what, ErrorMsg* record) {
  if (record && verbose()) {
    std::fprintf(stderr, "%s: %s (line %d)\n", what, record->message ? record->message : "?",
                 static_cast<int>(record->progLineNum));
  }
  return quorvex::fuzz::succeeded(record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvex::fuzz;
  using quorvex::test::procedureFile;
  const std::string& folder = scratch();
  Choices choices(data, size);
  const bool asProgram = choices.below(2) == 1;
  ProgramGenerator generator(choices, operators());
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
    writeFile(folder + "/generated.hdev", reinterpret_cast<const std::uint8_t*>(text.data()),
              text.size());
    if (verbose()) std::fprintf(stderr, "%s", text.c_str());
  } else {
    quorvex::test::writeProcedureFile(folder, "generated", {{"ic", {"A", "B"}}, {"oc", {"R"}}},
                                      mainLines);
    writeFile(folder + "/generated_sub.hdvp", reinterpret_cast<const std::uint8_t*>(sub.data()),
              sub.size());
    if (verbose()) {
      for (const std::string& line : mainLines) std::fprintf(stderr, "%s\n", line.c_str());
      std::fprintf(stderr, "%s", sub.c_str());
    }
  }
  return twice([&] {
    succeeded(hunloadAllProcedures());
    if (asProgram) {
      ProgramHandle program = nullptr;
      if (reported("load", hcreateProgram((folder + "/generated.hdev").c_str(), &program))) {
        ProgramCallHandle call = nullptr;
        if (succeeded(hcreateProgramCall(program, &call)))
          reported("run", hprogramcallExecute(call));
        hfreeProgramCall(call);
      } else {
        check(program == nullptr, "a failed create leaves its handle NULL");
      }
      hfreeProgram(program);
    } else {
      ProcedureHandle procedure = nullptr;
      if (reported("load", hcreateProcedure("generated", &procedure))) {
        runProcedure(procedure);
      } else {
        check(procedure == nullptr, "a failed create leaves its handle NULL");
      }
      hfreeProcedure(procedure);
    }
    succeeded(hunloadAllProcedures());
  });
}
