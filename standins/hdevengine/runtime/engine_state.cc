#include "runtime/engine_state.h"

#include <algorithm>

#include "files/standard_procedures.h"
#include "runtime/engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

[[noreturn]] void badValue(const std::string& name, const std::string& expected) {
  throw engineError(kErrAttributeValue, ExceptionAttribute, name + " takes " + expected);
}

bool booleanValue(const std::string& name, const HTuple& value) {
  if (value.Length() == 1) {
    const HTuple::Element element = value.At(0);
    if (const auto* text = std::get_if<std::string>(&element)) {
      if (*text == "true") return true;
      if (*text == "false") return false;
    } else if (const auto* number = std::get_if<Hlong>(&element)) {
      if (*number == 1) return true;
      if (*number == 0) return false;
    }
  }
  badValue(name, "'true' or 'false' (or 1 or 0)");
}

std::vector<std::string> splitPath(const std::string& path) {
#if defined(_WIN32)
  const char* separators = ";";
#else
  const char* separators = ";:";
#endif
  std::vector<std::string> folders;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = path.find_first_of(separators, start);
    const std::string folder = path.substr(start, end == std::string::npos ? end : end - start);
    if (!folder.empty()) folders.push_back(folder);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return folders;
}

constexpr const char* kIgnoreInvalidLines = "ignore_invalid_lines";
constexpr const char* kIgnoreUnresolved = "ignore_unresolved_procedures";
constexpr const char* kCallDepthLimit = "call_depth_limit";
constexpr const char* kStepLimit = "step_limit";
constexpr const char* kValueLimit = "value_limit";
constexpr const char* kTextLimit = "text_limit";

}  // namespace

EngineState& EngineState::instance() {
  // Never destroyed: a program may still run on another thread while the process exits.
  static EngineState* state = new EngineState;
  return *state;
}

EngineState::EngineState() : cache_(std::make_shared<ProcedureCache>()) {}

void EngineState::setAttribute(const std::string& name, const HTuple& value) {
  if (name == kIgnoreInvalidLines || name == kIgnoreUnresolved) {
    const bool on = booleanValue(name, value);
    quorvex::common::Lock lock(mutex_);
    (name == kIgnoreInvalidLines ? ignoreInvalidLines_ : ignoreUnresolved_) = on;
  } else if (name == kCallDepthLimit) {
    const HTuple::Element element = value.Length() == 1 ? value.At(0) : HTuple::Element();
    const Hlong* limit = value.Length() == 1 ? std::get_if<Hlong>(&element) : nullptr;
    if (!limit || *limit < 1 || *limit > kMaxCallDepthLimit) {
      badValue(name, "an integer from 1 to " + std::to_string(kMaxCallDepthLimit));
    }
    quorvex::common::Lock lock(mutex_);
    callDepthLimit_ = static_cast<int>(*limit);
  } else if (name == kStepLimit || name == kValueLimit || name == kTextLimit) {
    const HTuple::Element element = value.Length() == 1 ? value.At(0) : HTuple::Element();
    const Hlong* limit = value.Length() == 1 ? std::get_if<Hlong>(&element) : nullptr;
    if (!limit || *limit < 1) badValue(name, "a positive integer");
    if (name == kValueLimit) {
      valueLimit_.store(*limit, std::memory_order_relaxed);
      return;
    }
    if (name == kTextLimit) {
      textLimit_.store(*limit, std::memory_order_relaxed);
      return;
    }
    quorvex::common::Lock lock(mutex_);
    stepLimit_ = *limit;
  } else {
    throw engineError(kErrUnknownAttribute, ExceptionAttribute, "'" + name + "'");
  }
}

HTuple EngineState::attribute(const std::string& name) const {
  quorvex::common::Lock lock(mutex_);
  if (name == kIgnoreInvalidLines) return HTuple(ignoreInvalidLines_ ? "true" : "false");
  if (name == kIgnoreUnresolved) return HTuple(ignoreUnresolved_ ? "true" : "false");
  if (name == kCallDepthLimit) return HTuple(static_cast<Hlong>(callDepthLimit_));
  if (name == kStepLimit) return HTuple(stepLimit_);
  if (name == kValueLimit) return HTuple(valueLimit());
  if (name == kTextLimit) return HTuple(textLimit());
  throw engineError(kErrUnknownAttribute, ExceptionAttribute, "'" + name + "'");
}

// Each folder is kept once, where it was first named: a program that adds its folder before
// every call would otherwise make every later lookup search it again and again.
void EngineState::setProcedurePath(const std::string& path) {
  const std::vector<std::string> folders = splitPath(path);
  quorvex::common::Lock lock(mutex_);
  paths_.clear();
  knownPaths_.clear();
  appendFolders(folders);
}

void EngineState::addProcedurePath(const std::string& path) {
  const std::vector<std::string> folders = splitPath(path);
  quorvex::common::Lock lock(mutex_);
  appendFolders(folders);
}

void EngineState::appendFolders(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (knownPaths_.insert(folder).second) paths_.push_back(folder);
  }
}

void EngineState::setOperatorImpl(HDevOperatorImplCpp* impl) {
  quorvex::common::Lock lock(mutex_);
  if (impl && std::find(keptImpls_.begin(), keptImpls_.end(), impl) == keptImpls_.end()) {
    keptImpls_.push_back(impl);
  }
  impl_ = impl;
}

HDevOperatorImplCpp* EngineState::operatorImpl() const {
  quorvex::common::Lock lock(mutex_);
  return impl_;
}

int EngineState::callDepthLimit() const {
  quorvex::common::Lock lock(mutex_);
  return callDepthLimit_;
}

Hlong EngineState::stepLimit() const {
  quorvex::common::Lock lock(mutex_);
  return stepLimit_;
}

LoadSettings EngineState::loadSettings() const {
  LoadSettings settings;
  {
    quorvex::common::Lock lock(mutex_);
    settings = LoadSettings{paths_, ignoreInvalidLines_, ignoreUnresolved_, cache_};
  }
  // Searched last: a user's own procedure of the same name wins.
  std::string standard = standardProceduresFolder();
  if (!standard.empty()) settings.paths.push_back(std::move(standard));
  return settings;
}

void EngineState::unloadAllProcedures() {
  auto fresh = std::make_shared<ProcedureCache>();
  quorvex::common::Lock lock(mutex_);
  cache_.swap(fresh);
  // The old cache is released here, or later by the last procedure object that uses it.
}

}  // namespace Standin
}  // namespace HDevEngineCpp
