// The engine's global variables: one value per name for the whole process, shared by every
// procedure that declares the name global. A running procedure works on its global slots
// as on its other variables, so that the interpreter's reads and writes stay plain slot
// accesses. Within one run the values move between the procedures' slots where control
// passes between them; the process's store gives them to a run once and takes them back
// when the run ends. So a large global costs one copy a run, not one a call or a frame.
#ifndef QUORVEX_STANDINS_HDEVENGINE_GLOBALS_H
#define QUORVEX_STANDINS_HDEVENGINE_GLOBALS_H

#include <map>
#include <string>

#include "files/procedure_data.h"

namespace HDevEngineCpp {
namespace Standin {

// What a copy from the store added to a frame.
struct CopiedGlobals {
  long long elements = 0;
  long long text = 0;
};

class RunGlobals {
 public:
  RunGlobals() = default;
  RunGlobals(const RunGlobals&) = delete;
  RunGlobals& operator=(const RunGlobals&) = delete;

  // Fills the global slots `procedure` declares in `frame`: with what the run holds, moved,
  // else copied from the process's store.
  CopiedGlobals take(const ProcedureData& procedure, Frame* frame);
  // Gives the frame's global values to the run, leaving the slots empty; `keep` copies them
  // instead (the outermost frame, whose variables outlive the run).
  void give(const ProcedureData& procedure, Frame* frame, bool keep);
  // Hands what the run holds to the process's store; the run ends.
  void publish();

 private:
  std::map<std::string, HTuple> ctrl_;
};

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
