#include "runner.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

namespace quorvex::run {
namespace {

// Owns a record until it is turned into an exception.
void check(Library& library, ErrorMsg* record) {
  if (!record) return;
  const std::string text = describeRecord(*record);
  library.hclearErrorMsg(record);
  throw RecordError(text);
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
    if (const auto* i = std::get_if<std::int32_t>(&value)) {
      library_.happendTupleLong(handle_, *i);
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
          values.emplace_back(library_.hgetTupleElemLong(handle_, i));
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
  Library& library_;
  TupleHandle handle_ = nullptr;
};

struct ProcedureRun {
  Library& library;
  ProcedureHandle procedure = nullptr;
  ProcedureCallHandle call = nullptr;

  ~ProcedureRun() {
    library.hfreeProcedureCall(call);
    library.hfreeProcedure(procedure);
  }

  std::vector<std::string> names(ErrorMsg* (*count)(ProcedureHandle, int32_t*),
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
};

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
  return text.empty() ? "none" : text;
}

void runProcedure(Library& library, const Options& options, std::ostream& out) {
  ProcedureRun run{library};
  check(library, library.hcreateProcedure(options.procedure.c_str(), &run.procedure));
  check(library, library.hcreateProcedureCall(run.procedure, &run.call));
  const auto inputs =
      run.names(library.hprocedureGetInputCtrlParamCount, library.hprocedureGetInputCtrlParamName);
  for (const auto& [name, values] : options.inputs) {
    const auto position = std::find(inputs.begin(), inputs.end(), name);
    if (position == inputs.end()) {
      throw std::runtime_error("procedure " + options.procedure + " has no control input " + name +
                               " (its inputs: " + joined(inputs) + ")");
    }
    Tuple tuple(library);
    for (const Value& value : values) tuple.append(value);
    const auto index = static_cast<int32_t>(position - inputs.begin()) + 1;
    check(library, library.hprocedurecallSetInputCtrlParamTuple(run.call, index, tuple.get()));
  }
  check(library, library.hprocedurecallExecute(run.call));

  const auto outputs = run.names(library.hprocedureGetOutputCtrlParamCount,
                                 library.hprocedureGetOutputCtrlParamName);
  std::string json = "{";
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    TupleHandle handle = nullptr;
    check(library, library.hprocedurecallGetOutputCtrlParamTuple(
                       run.call, static_cast<int32_t>(i + 1), &handle));
    const Values values = Tuple(library, handle).values();
    if (options.json) {
      json += (i ? ", " : "") + jsonString(outputs[i]) + ": " + jsonArray(values);
    } else {
      out << outputs[i] << ": " << readableText(values) << "\n";
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

// The runner's own procedure: dumps every window still registered, active first, closing
// each one so that the next becomes active.
const char* const kSnapshotProcedure = R"(<?xml version="1.0" encoding="UTF-8"?>
<hdevelop file_version="1.0" halcon_version="11.0">
<procedure name="quorvex_run_snapshots">
<interface>
<ic><par name="Folder" base_type="ctrl" dimension="0"/></ic>
<oc><par name="Files" base_type="ctrl" dimension="0"/></oc>
</interface>
<body>
<l>Files := []</l>
<l>dev_get_window (Window)</l>
<l>while (Window # -1)</l>
<l>FileName := Folder + '/window_' + Window</l>
<l>dump_window (Window, 'png', FileName)</l>
<l>Files := [Files, FileName + '.png']</l>
<l>dev_close_window ()</l>
<l>dev_get_window (Window)</l>
<l>endwhile</l>
</body>
</procedure>
</hdevelop>
)";

void writeSnapshots(Library& library, const std::string& folder, std::ostream& out) {
  namespace fs = std::filesystem;
  fs::create_directories(folder);
  const fs::path procedures = fs::temp_directory_path() / "quorvex_run_procedures";
  fs::create_directories(procedures);
  std::ofstream(procedures / "quorvex_run_snapshots.hdvp") << kSnapshotProcedure;
  check(library, library.haddProcedurePath(procedures.string().c_str()));

  Options snapshot;
  snapshot.procedure = "quorvex_run_snapshots";
  snapshot.inputs.push_back({"Folder", {fs::absolute(folder).string()}});
  ProcedureRun run{library};
  check(library, library.hcreateProcedure(snapshot.procedure.c_str(), &run.procedure));
  check(library, library.hcreateProcedureCall(run.procedure, &run.call));
  Tuple folderTuple(library);
  folderTuple.append(snapshot.inputs.front().second.front());
  check(library, library.hprocedurecallSetInputCtrlParamTuple(run.call, 1, folderTuple.get()));
  check(library, library.hprocedurecallExecute(run.call));
  TupleHandle files = nullptr;
  check(library, library.hprocedurecallGetOutputCtrlParamTuple(run.call, 1, &files));
  for (const Value& file : Tuple(library, files).values()) {
    out << "snapshot: " << std::get<std::string>(file) << "\n";
  }
}

void QUORVEX_CALL printOut(const char* text) {
  std::printf("%s\n", text);
}
void QUORVEX_CALL printErr(const char* text) {
  std::fprintf(stderr, "%s\n", text);
}

}  // namespace

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
  library.hsetStdOutHandler(&printOut);
  library.hsetStdErrHandler(&printErr);
  if (options.verbose) library.hsetVerbosity(1);
  check(library, library.hinit(options.logo ? 1 : 0));
  if (options.fullscreen) library.hsetFullscreen(1);
  for (const auto& [name, values] : options.attributes) {
    const Value& value = values.front();
    if (const auto* integer = std::get_if<std::int32_t>(&value)) {
      check(library, library.hsetEngineAttributeInt(name.c_str(), *integer));
    } else {
      check(library, library.hsetEngineAttribute(name.c_str(), readableText(values).c_str()));
    }
  }
  for (const auto& path : options.paths) check(library, library.haddProcedurePath(path.c_str()));
  if (options.defaultWindow) check(library, library.hopenDefaultWindow());
  if (options.program.empty()) {
    runProcedure(library, options, out);
  } else {
    runProgram(library, options);
  }
  out.flush();
  if (!options.snapshots.empty()) writeSnapshots(library, options.snapshots, std::cerr);
}

}  // namespace quorvex::run
