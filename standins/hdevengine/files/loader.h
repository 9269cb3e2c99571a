// Loads programs and external procedures: finds the files, reads and compiles them, and
// keeps external procedures in the engine's cache. Every failure is HDevEngineException
// naming the file or procedure and, where there is one, the line.
#ifndef QUORVEX_STANDINS_HDEVENGINE_LOADER_H
#define QUORVEX_STANDINS_HDEVENGINE_LOADER_H

#include <memory>
#include <string>

#include "files/procedure_data.h"

namespace HDevEngineCpp {
namespace Standin {

std::shared_ptr<ProgramData> loadProgram(const std::string& fileName);

// NAME.hdvp from the first procedure path that has it, or the cached procedure.
std::shared_ptr<ProcedureData> loadExternalProcedure(const std::string& name);

// A procedure of a loaded program; shares the program's lifetime.
std::shared_ptr<ProcedureData> localProcedure(const std::shared_ptr<ProgramData>& program,
                                              const std::string& name);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
