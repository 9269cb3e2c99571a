#include "procedure_data.h"

#include <utility>

namespace HDevEngineCpp {
namespace Standin {
namespace {

int slotOf(const std::vector<std::string>& variables, const std::string& variable) {
  for (std::size_t i = 0; i < variables.size(); ++i) {
    if (variables[i] == variable) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

int ProcedureData::ctrlSlot(const std::string& variable) const {
  return slotOf(ctrlVariables, variable);
}

int ProcedureData::iconicSlot(const std::string& variable) const {
  return slotOf(iconicVariables, variable);
}

ProcedureData* ProcedureCache::find(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = procedures_.find(name);
  return it == procedures_.end() ? nullptr : it->second.get();
}

void ProcedureCache::add(std::unique_ptr<ProcedureData> procedure) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string name = procedure->name;
  procedures_.emplace(name, std::move(procedure));
}

Frame::Frame(const ProcedureData& procedure)
    : ctrl(procedure.ctrlVariables.size()),
      ctrlSet(procedure.ctrlVariables.size(), 0),
      iconic(procedure.iconicVariables.size()),
      iconicSet(procedure.iconicVariables.size(), 0) {}

CallData::CallData(std::shared_ptr<ProcedureData> called)
    : procedure(std::move(called)),
      ctrlIn(procedure->params[kCtrlIn].size()),
      ctrlInSet(procedure->params[kCtrlIn].size(), 0),
      iconicIn(procedure->params[kIconicIn].size()),
      iconicInSet(procedure->params[kIconicIn].size(), 0),
      ctrlOut(procedure->params[kCtrlOut].size()),
      iconicOut(procedure->params[kIconicOut].size()) {}

}  // namespace Standin
}  // namespace HDevEngineCpp
