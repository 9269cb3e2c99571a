#include "runner.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "private_folder.h"

namespace quorvex::run {
namespace {

// Owns a record until it is turned into an exception.
void check(Library& library, ErrorMsg* record) {
  if (!record) return;
  RecordError error(*record);
  library.hclearErrorMsg(record);
  throw error;
}

// A tuple handle that the library releases.
class Tuple {
 public:
  explicit Tuple(Library& library) : library_(library) {
    check(library_, library_.hcreateTuple(&handle_));
  }
  Tuple(Library& library, TupleHandle handle) : library_(library), handle_(handle) {}
  ~Tuple() { library_.hfreeTuple(handle_); }
  Tuple(const Tuple&) = delete;
  Tuple& operator=(const Tuple&) = delete;

  TupleHandle get() const { return handle_; }

  void append(const Value& value) {
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
      library_.happendTupleLong(handle_, static_cast<int32_t>(*i));  // parsed as 32 bits
    } else if (const auto* d = std::get_if<double>(&value)) {
      library_.happendTupleDouble(handle_, *d);
    } else {
      library_.happendTupleString(handle_, std::get<std::string>(value).c_str());
    }
  }

  Values values() const {
    Values values;
    const int32_t length = library_.hgetTupleLength(handle_);
    for (int32_t i = 0; i < length; ++i) {
      switch (library_.hgetTupleElemType(handle_, i)) {
        case TupleElemLong:
          values.emplace_back(integer(i));
          break;
        case TupleElemDouble:
          values.emplace_back(library_.hgetTupleElemDouble(handle_, i));
          break;
        default: {
          char* text = library_.hgetTupleElemString_TO_BE_FREED(handle_, i);
          values.emplace_back(std::string(text ? text : ""));
          library_.hfreeTupleElemString(text);
        }
      }
    }
    return values;
  }

 private:
  // The engine's integers are 64 bits wide on 64-bit targets and hgetTupleElemLong returns
  // only 32: the real reading carries the rest up to 2^53. Beyond that no number is printed
  // rather than a wrong one.
  std::int64_t integer(int32_t index) const {
    const auto value = exactInteger(library_.hgetTupleElemLong(handle_, index),
                                    library_.hgetTupleElemDouble(handle_, index));
    if (!value) {
      throw std::range_error("element " + std::to_string(index) +
                             " is an integer beyond +-2^53, which the C interface cannot "
                             "read exactly");
    }
    return *value;
  }

  Library& library_;
  TupleHandle handle_ = nullptr;
};

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
  return text.empty() ? "none" : text;
}

std::vector<std::string> parameterNames(Library& library, ProcedureHandle procedure,
                                        ErrorMsg* (*count)(ProcedureHandle, int32_t*),
                                        ErrorMsg* (*name)(ProcedureHandle, int32_t, const char**)) {
  int32_t n = 0;
  check(library, count(procedure, &n));
  std::vector<std::string> result;
  for (int32_t index = 1; index <= n; ++index) {
    const char* text = nullptr;
    check(library, name(procedure, index, &text));
    result.emplace_back(text ? text : "");
  }
  return result;
}

void runProcedure(Library& library, const Options& options, std::ostream& out) {
  ProcedureSession session(library, options.procedure);
  session.checkInputs(options.inputs);
  const std::vector<Values> values = session.call(options.inputs);
  const auto& outputs = session.outputNames();
  std::string json = "{";
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    if (options.json) {
      json += (i ? ", " : "") + jsonString(outputs[i]) + ": " + jsonArray(values[i]);
    } else {
      out << outputs[i] << ": " << readableText(values[i]) << "\n";
    }
  }
  if (options.json) out << json << "}\n";
}

void runProgram(Library& library, const Options& options) {
  ProgramHandle program = nullptr;
  check(library, library.hcreateProgram(options.program.c_str(), &program));
  std::unique_ptr<QuorvexProgram, void (*)(ProgramHandle)> programOwner(program,
                                                                        library.hfreeProgram);
  ProgramCallHandle call = nullptr;
  check(library, library.hcreateProgramCall(program, &call));
  std::unique_ptr<QuorvexProgramCall, void (*)(ProgramCallHandle)> callOwner(
      call, library.hfreeProgramCall);
  check(library, library.hprogramcallExecute(call));
}

// The shared snapshot procedure (resources/quorvex_snapshots.hdvp): dumps every window still
// registered into Folder (unless it is empty), active first, closing each one so that the
// next becomes active.
#include "snapshot_procedure.inc"

// The operators' threads of a worker, set as a program sets them.
constexpr const char* kThreadsProcedure = R"(<?xml version="1.0" encoding="UTF-8"?>
<hdevelop file_version="1.0" halcon_version="11.0">
<procedure name="quorvex_operator_threads">
<interface>
<ic><par name="ThreadNum" base_type="ctrl" dimension="0"/></ic>
</interface>
<body>
<l>set_system ('thread_num', ThreadNum)</l>
</body>
</procedure>
</hdevelop>
)";

// A process works with one folder of the runner's procedures.
void addProcedures(Library& library, const std::string& procedures) {
  static std::string added;
  if (added != procedures) {
    check(library, library.haddProcedurePath(procedures.c_str()));
    added = procedures;
  }
}

void QUORVEX_CALL printOut(const char* text) {
  std::printf("%s\n", text);
}
void QUORVEX_CALL printErr(const char* text) {
  std::fprintf(stderr, "%s\n", text);
}

}  // namespace

RecordError::RecordError(const ErrorMsg& error) : std::runtime_error(describeRecord(error)) {
  const auto text = [](const char* value) {
    return value ? std::optional<std::string>(value) : std::nullopt;
  };
  record = {error.kind,        text(error.procName), text(error.progLineName), error.errorCode,
            error.progLineNum, text(error.message),  text(error.errorText)};
}

ProcedureSession::ProcedureSession(Library& library, const std::string& name)
    : library_(library), name_(name) {
  check(library_, library_.hcreateProcedure(name.c_str(), &procedure_));
  inputs_ = parameterNames(library_, procedure_, library_.hprocedureGetInputCtrlParamCount,
                           library_.hprocedureGetInputCtrlParamName);
  outputs_ = parameterNames(library_, procedure_, library_.hprocedureGetOutputCtrlParamCount,
                            library_.hprocedureGetOutputCtrlParamName);
}

ProcedureSession::~ProcedureSession() {
  library_.hfreeProcedure(procedure_);
}

void ProcedureSession::checkInputs(const Inputs& inputs) const {
  for (const auto& input : inputs) {
    if (std::find(inputs_.begin(), inputs_.end(), input.first) == inputs_.end()) {
      throw std::runtime_error("procedure " + name_ + " has no control input " + input.first +
                               " (its inputs: " + joined(inputs_) + ")");
    }
  }
}

std::vector<Values> ProcedureSession::call(const Inputs& inputs) {
  checkInputs(inputs);
  ProcedureCallHandle handle = nullptr;
  check(library_, library_.hcreateProcedureCall(procedure_, &handle));
  std::unique_ptr<QuorvexProcedureCall, void (*)(ProcedureCallHandle)> call(
      handle, library_.hfreeProcedureCall);
  for (const auto& [name, values] : inputs) {
    Tuple tuple(library_);
    for (const Value& value : values) tuple.append(value);
    const auto position = std::find(inputs_.begin(), inputs_.end(), name) - inputs_.begin();
    check(library_, library_.hprocedurecallSetInputCtrlParamTuple(
                        handle, static_cast<int32_t>(position) + 1, tuple.get()));
  }
  check(library_, library_.hprocedurecallExecute(handle));
  std::vector<Values> outputs;
  for (std::size_t i = 0; i < outputs_.size(); ++i) {
    TupleHandle tuple = nullptr;
    check(library_, library_.hprocedurecallGetOutputCtrlParamTuple(
                        handle, static_cast<int32_t>(i + 1), &tuple));
    const Tuple owner(library_, tuple);
    try {
      outputs.push_back(owner.values());
    } catch (const std::range_error& error) {
      throw std::range_error("output " + outputs_[i] + ": " + error.what());
    }
  }
  return outputs;
}

void writeSnapshotProcedure(const std::string& folder) {
  for (const auto& [name, text] : {std::pair{"quorvex_snapshots.hdvp", kSnapshotProcedure},
                                   std::pair{"quorvex_operator_threads.hdvp", kThreadsProcedure}}) {
    const std::filesystem::path file = std::filesystem::path(folder) / name;
    std::ofstream out(file, std::ios::binary);
    out << text;
    out.close();
    if (!out) throw std::runtime_error("cannot write " + file.string());
  }
}

void setOperatorThreads(Library& library, const std::string& procedures, int threads) {
  addProcedures(library, procedures);
  ProcedureSession session(library, "quorvex_operator_threads");
  session.call({{"ThreadNum", {std::int64_t{threads}}}});
}

std::vector<std::string> writeSnapshots(Library& library, const std::string& procedures,
                                        const std::string& folder, const std::string& prefix) {
  namespace fs = std::filesystem;
  if (!folder.empty()) fs::create_directories(folder);
  // Snapshots are never written by threads at once.
  addProcedures(library, procedures);
  ProcedureSession session(library, "quorvex_snapshots");
  const Inputs inputs = {{"Folder", {folder.empty() ? folder : fs::absolute(folder).string()}},
                         {"Prefix", {prefix}}};
  std::vector<std::string> files;
  const std::vector<Values> outputs = session.call(inputs);
  for (const Value& file : outputs.front()) {
    files.push_back(std::get<std::string>(file));
  }
  return files;
}

void initialise(Library& library, const Options& options, bool messagesOnStderr) {
  library.hsetStdOutHandler(messagesOnStderr ? &printErr : &printOut);
  library.hsetStdErrHandler(&printErr);
  if (options.verbose) library.hsetVerbosity(1);
  check(library, library.hinit(options.logo ? 1 : 0));
  if (options.fullscreen) library.hsetFullscreen(1);
  for (const auto& [name, values] : options.attributes) {
    const Value& value = values.front();
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
      check(library, library.hsetEngineAttributeInt(name.c_str(), static_cast<int32_t>(*integer)));
    } else {
      check(library, library.hsetEngineAttribute(name.c_str(), readableText(values).c_str()));
    }
  }
  for (const auto& path : options.paths) check(library, library.haddProcedurePath(path.c_str()));
  if (options.defaultWindow) check(library, library.hopenDefaultWindow());
}

std::string describeRecord(const ErrorMsg& record) {
  static const char* const kinds[] = {"library", "operator", "engine"};
  const char* kind = record.kind >= 0 && record.kind <= 2 ? kinds[record.kind] : "unknown";
  std::string text = std::string(kind) + " error";
  if (record.errorCode != -1) text += " " + std::to_string(record.errorCode);
  text += ": " + std::string(record.message ? record.message : "(no message)");
  if (record.procName && *record.procName) {
    text += std::string("\n  ") + (record.kind == ErrorKindHalcon ? "operator: " : "procedure: ") +
            record.procName;
  }
  if (record.progLineNum != -1 || record.progLineName) {
    text += "\n  line: " + std::to_string(record.progLineNum);
    if (record.progLineName) text += std::string(" (") + record.progLineName + ")";
  }
  if (record.errorText) text += std::string("\n  error text: ") + record.errorText;
  text += "\n  kind: " + std::to_string(record.kind);
  return text;
}

void run(Library& library, const Options& options, std::ostream& out) {
  // Made before the run, so that a temporary folder that cannot be made stops it at once.
  std::optional<PrivateFolder> procedures;
  if (!options.snapshots.empty()) {
    procedures.emplace();
    writeSnapshotProcedure(procedures->path());
  }
  initialise(library, options, false);
  if (options.program.empty()) {
    runProcedure(library, options, out);
  } else {
    runProgram(library, options);
  }
  out.flush();
  if (options.snapshots.empty()) return;
  for (const auto& file :
       writeSnapshots(library, procedures->path(), options.snapshots, "window_")) {
    std::cerr << "snapshot: " << file << "\n";
  }
}

}  // namespace quorvex::run
