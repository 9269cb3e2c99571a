// Runs a few HDevelop lines as a procedure through the exported interface, the way a caller
// runs its own procedures: the lines are written to an external procedure file in a folder
// of the test's own, loaded by name, executed, and its control outputs read back by name.
#ifndef QUORVEX_TESTS_SUPPORT_SNIPPET_H
#define QUORVEX_TESTS_SUPPORT_SNIPPET_H

#include <filesystem>
#include <string>
#include <vector>

#include "support/handle_owners.h"
#include "support/procedure_file.h"
#include "support/record_assertions.h"
#include "support/temp_folder.h"

namespace quorvex::test {

class Snippet {
 public:
  // `outputs` are the control output parameters, read with value() after run().
  Snippet(std::vector<std::string> lines, std::vector<std::string> outputs = {})
      : outputs_(std::move(outputs)) {
    static int counter = 0;
    name_ = "snippet_" + std::to_string(++counter);
    writeProcedureFile(folder(), name_, {{"oc", outputs_}}, lines);
  }

  // Makes and executes the lines at once; a failure is the test's, with the record's fields.
  static Snippet ran(std::vector<std::string> lines, std::vector<std::string> outputs = {}) {
    Snippet snippet(std::move(lines), std::move(outputs));
    const Record record = snippet.run();
    EXPECT_EQ(record, nullptr) << describe(record.get());
    return snippet;
  }

  // Executes the lines; null on success, else the record (owned by the returned value).
  Record run() {
    if (!call_) {
      ProcedureHandle procedure = nullptr;
      if (ErrorMsg* error = hcreateProcedure(name_.c_str(), &procedure)) return Record(error);
      procedure_.reset(procedure);
      ProcedureCallHandle call = nullptr;
      if (ErrorMsg* error = hcreateProcedureCall(procedure, &call)) return Record(error);
      call_.reset(call);
    }
    return Record(hprocedurecallExecute(call_.get()));
  }

  // The output `name` after run(), as a new tuple.
  Tuple value(const std::string& name) const {
    for (std::size_t i = 0; i < outputs_.size(); ++i) {
      if (outputs_[i] != name) continue;
      TupleHandle tuple = nullptr;
      EXPECT_OK(
          hprocedurecallGetOutputCtrlParamTuple(call_.get(), static_cast<int32_t>(i + 1), &tuple));
      return Tuple(tuple);
    }
    ADD_FAILURE() << "no output named " << name;
    return Tuple();
  }

  std::vector<long> longs(const std::string& name) const {
    Tuple tuple = value(name);
    std::vector<long> values;
    for (int32_t i = 0; tuple && i < hgetTupleLength(tuple.get()); ++i) {
      values.push_back(hgetTupleElemType(tuple.get(), i) == TupleElemDouble
                           ? static_cast<long>(hgetTupleElemDouble(tuple.get(), i))
                           : hgetTupleElemLong(tuple.get(), i));
    }
    return values;
  }

  long longAt(const std::string& name, int32_t index = 0) const {
    Tuple tuple = value(name);
    return tuple ? hgetTupleElemLong(tuple.get(), index) : -999999;
  }

  // The first value of every output, in the order they were declared.
  std::vector<long> firstOfEach() const {
    std::vector<long> values;
    for (const std::string& name : outputs_) values.push_back(longAt(name));
    return values;
  }

 private:
  // One folder per test process, added to the engine's procedure paths once and removed
  // with everything in it when the process ends.
  struct Folder {
    Folder() {
      path = makeTempFolder("quorvex_snippets_");
      EXPECT_OK(haddProcedurePath(path.c_str()));
    }
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
    std::string path;
  };
  static const std::string& folder() {
    static const Folder instance;
    return instance.path;
  }

  std::string name_;
  std::vector<std::string> outputs_;
  Procedure procedure_;
  ProcedureCall call_;
};

// The window the library has active; -1 when none is.
inline long activeWindow() {
  return Snippet::ran({"dev_get_window (Active)"}, {"Active"}).longAt("Active");
}

}  // namespace quorvex::test

#endif
