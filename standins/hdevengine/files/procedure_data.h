// What the public engine objects share: parsed procedures, loaded programs, the cache of
// external procedures and the state of a call. Parsed procedures never change once loaded,
// so any number of calls may run them at the same time.
#ifndef QUORVEX_STANDINS_HDEVENGINE_PROCEDURE_DATA_H
#define QUORVEX_STANDINS_HDEVENGINE_PROCEDURE_DATA_H

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/annotated_mutex.h"
#include "files/source_reader.h"
#include "hdevengine/HDevEngineCpp.h"
#include "language/syntax.h"

namespace HDevEngineCpp {
namespace Standin {

struct ProcedureData {
  std::string name;
  std::string file;
  std::vector<std::string> params[kGroupCount];
  // Each parameter's slot: iconic parameters in the iconic slots, control parameters in the
  // control slots, inputs first.
  std::vector<int> paramSlots[kGroupCount];
  std::vector<std::string> ctrlVariables;  // indexed by slot
  std::vector<std::string> iconicVariables;
  std::vector<Stmt> body;  // line N is body[N - 1]
  int loopCount = 0;       // for-loops, each with its own state in a running call
  int tempCount = 0;       // temporaries of the line with the most (Expr::temp)
  // Variables declared global: their slots and names. A run shares their values with every
  // procedure that declares them.
  std::vector<std::pair<int, std::string>> globalCtrl;
  std::vector<std::pair<int, std::string>> globalIconic;
  // The try blocks, as (try line, catch line) body indices: a failure on a line between the
  // two is caught there. Inner blocks come after the blocks around them.
  std::vector<std::pair<int, int>> tryBlocks;

  // -1 when the procedure has no such variable.
  int ctrlSlot(const std::string& variable) const;
  int iconicSlot(const std::string& variable) const;
  // The new variable's slot.
  int addCtrlVariable(const std::string& variable);
  int addIconicVariable(const std::string& variable);

 private:
  // Slots by name: programs of thousands of lines have thousands of variables.
  std::unordered_map<std::string, int> ctrlSlots_;
  std::unordered_map<std::string, int> iconicSlots_;
};

// The external procedures loaded since the last UnloadAllProcedures. Procedures in it call
// each other through plain pointers; whoever holds a procedure holds the whole cache, so
// those pointers stay valid after the engine has moved on to a fresh cache.
class ProcedureCache {
 public:
  ProcedureData* find(const std::string& name) const QUORVEX_EXCLUDES(mutex_);
  void add(std::unique_ptr<ProcedureData> procedure) QUORVEX_EXCLUDES(mutex_);

 private:
  mutable quorvex::common::Mutex mutex_;
  std::map<std::string, std::unique_ptr<ProcedureData>> procedures_ QUORVEX_GUARDED_BY(mutex_);
};

struct ProgramData {
  std::string name;  // the file's base name, without folder and extension
  std::string file;
  std::vector<std::unique_ptr<ProcedureData>> procedures;  // main and the local procedures
  ProcedureData* main = nullptr;
  // The external procedures the program calls live there.
  std::shared_ptr<ProcedureCache> externals;
};

// The variables of one running procedure.
struct Frame {
  std::vector<HTuple> ctrl;
  std::vector<char> ctrlSet;
  std::vector<HObject> iconic;
  std::vector<char> iconicSet;
  // The text bytes of a control variable as (its length then, bytes), so that appending to a
  // long tuple of strings counts only the new text; a length of -1 when not known.
  std::vector<std::pair<Hlong, std::size_t>> knownText;

  explicit Frame(const ProcedureData& procedure);
};

// A program call or procedure call. Copies of a call object share it.
struct CallData {
  std::shared_ptr<ProcedureData> procedure;  // a program call runs its program's main

  quorvex::common::Mutex mutex;
  std::vector<HTuple> ctrlIn QUORVEX_GUARDED_BY(mutex);
  std::vector<char> ctrlInSet QUORVEX_GUARDED_BY(mutex);
  std::vector<HObject> iconicIn QUORVEX_GUARDED_BY(mutex);
  std::vector<char> iconicInSet QUORVEX_GUARDED_BY(mutex);
  std::vector<HTuple> ctrlOut QUORVEX_GUARDED_BY(mutex);
  std::vector<HObject> iconicOut QUORVEX_GUARDED_BY(mutex);
  std::unique_ptr<Frame> variables QUORVEX_GUARDED_BY(mutex);  // a program's, after Execute

  explicit CallData(std::shared_ptr<ProcedureData> called);
};

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
