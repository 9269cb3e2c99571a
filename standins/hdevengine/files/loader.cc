#include "files/loader.h"

#include <deque>
#include <fstream>
#include <map>
#include <utility>

#include "language/compiler.h"
#include "runtime/engine_errors.h"
#include "runtime/engine_state.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

std::string joinPath(const std::string& folder, const std::string& file) {
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder + file;
  return folder + "/" + file;
}

bool fileExists(const std::string& path) {
  return static_cast<bool>(std::ifstream(path, std::ios::binary));
}

// Resolves the calls of the procedures being loaded: a program's local procedures first (for
// the program's own procedures only), then external procedures already in the cache, then
// the ones read during this load, then the procedure paths. Procedures read for this load are
// declared at once and compiled afterwards, so that procedures may call each other in any
// order, themselves included.
class Linker : public ProcedureLookup {
 public:
  explicit Linker(LoadSettings settings) : settings_(std::move(settings)), externals_(this) {
    options_.ignoreInvalidLines = settings_.ignoreInvalidLines;
    options_.ignoreUnresolved = settings_.ignoreUnresolved;
  }

  void addLocals(const std::vector<ProcedureSource>& sources, const std::string& file,
                 ProgramData* program) {
    for (const ProcedureSource& source : sources) {
      program->procedures.push_back(declareProcedure(source, file));
      pending_.push_back(Pending{program->procedures.back().get(), source, true});
      locals_[source.name] = program->procedures.back().get();
    }
  }

  const ProcedureData* find(const std::string& name) override {
    if (const auto it = locals_.find(name); it != locals_.end()) return it->second;
    return findExternal(name);
  }

  ProcedureData* findExternal(const std::string& name) {
    if (ProcedureData* cached = settings_.cache->find(name)) return cached;
    if (const auto it = read_.find(name); it != read_.end()) return it->second.get();
    const std::string file = findFile(name);
    if (file.empty()) return nullptr;
    std::vector<ProcedureSource> sources = readHDevelopFile(file);
    if (sources.size() != 1 || sources[0].name != name) {
      ErrorPlace place;
      place.file = file;
      throw LoadError{kErrMalformedFile, ExceptionFile,
                      "an external procedure file must hold exactly the procedure " + name, place};
    }
    std::unique_ptr<ProcedureData> procedure = declareProcedure(sources[0], file);
    ProcedureData* declared = procedure.get();
    pending_.push_back(Pending{declared, std::move(sources[0]), false});
    read_[name] = std::move(procedure);
    return declared;
  }

  // Compiles every declared procedure, those found along the way included.
  void compileAll() {
    for (std::size_t i = 0; i < pending_.size(); ++i) {
      // External procedures go to the shared cache: they must never see, let alone point
      // to, a program's local procedures.
      ProcedureLookup* lookup =
          pending_[i].local ? static_cast<ProcedureLookup*>(this) : &externals_;
      compileBody(pending_[i].procedure, pending_[i].source, lookup, options_);
    }
  }

  // Adds the external procedures read by this load to the cache, once all compiled.
  void commit() {
    for (auto& [name, procedure] : read_) settings_.cache->add(std::move(procedure));
    read_.clear();
  }

  const std::shared_ptr<ProcedureCache>& cache() const { return settings_.cache; }

 private:
  struct Pending {
    ProcedureData* procedure;
    ProcedureSource source;
    bool local;
  };

  class ExternalLookup : public ProcedureLookup {
   public:
    explicit ExternalLookup(Linker* linker) : linker_(linker) {}
    const ProcedureData* find(const std::string& name) override {
      return linker_->findExternal(name);
    }

   private:
    Linker* linker_;
  };

  std::string findFile(const std::string& name) const {
    for (const std::string& folder : settings_.paths) {
      const std::string candidate = joinPath(folder, name + ".hdvp");
      if (fileExists(candidate)) return candidate;
    }
    return "";
  }

  LoadSettings settings_;
  ExternalLookup externals_;
  CompileOptions options_;
  std::map<std::string, const ProcedureData*> locals_;
  std::map<std::string, std::unique_ptr<ProcedureData>> read_;
  // A deque: compiling one body may declare more procedures, and the body being compiled
  // must stay where it is.
  std::deque<Pending> pending_;
};

HDevEngineException toException(const LoadError& error) {
  return engineError(error.number, error.category, error.place, error.detail);
}

std::string baseName(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of("/\\");
  std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace

std::shared_ptr<ProgramData> loadProgram(const std::string& fileName) {
  EngineState& engine = EngineState::instance();
  quorvex::common::Lock lock(engine.loadMutex());
  try {
    Linker linker(engine.loadSettings());
    auto program = std::make_shared<ProgramData>();
    program->name = baseName(fileName);
    program->file = fileName;
    const std::vector<ProcedureSource> sources = readHDevelopFile(fileName);
    linker.addLocals(sources, fileName, program.get());
    for (const auto& procedure : program->procedures) {
      if (procedure->name == "main") program->main = procedure.get();
    }
    if (!program->main) {
      ErrorPlace place;
      place.file = fileName;
      throw LoadError{kErrMalformedFile, ExceptionFile, "the program has no procedure main", place};
    }
    linker.compileAll();
    linker.commit();
    program->externals = linker.cache();
    return program;
  } catch (const LoadError& error) {
    throw toException(error);
  }
}

std::shared_ptr<ProcedureData> loadExternalProcedure(const std::string& name) {
  EngineState& engine = EngineState::instance();
  quorvex::common::Lock lock(engine.loadMutex());
  try {
    Linker linker(engine.loadSettings());
    ProcedureData* procedure = linker.findExternal(name);
    if (!procedure) {
      ErrorPlace place;
      place.procedure = name;
      throw LoadError{kErrProcedureNotFound, ExceptionFile,
                      name + ".hdvp is in none of the procedure paths", place};
    }
    linker.compileAll();
    linker.commit();
    // Shares ownership of the whole cache: the procedure calls others held there.
    return std::shared_ptr<ProcedureData>(linker.cache(), procedure);
  } catch (const LoadError& error) {
    throw toException(error);
  }
}

std::shared_ptr<ProcedureData> localProcedure(const std::shared_ptr<ProgramData>& program,
                                              const std::string& name) {
  for (const auto& procedure : program->procedures) {
    if (procedure->name == name) return std::shared_ptr<ProcedureData>(program, procedure.get());
  }
  ErrorPlace place;
  place.procedure = name;
  place.file = program->file;
  throw engineError(kErrProcedureNotFound, ExceptionFile, place,
                    "no such procedure in the program");
}

}  // namespace Standin
}  // namespace HDevEngineCpp
