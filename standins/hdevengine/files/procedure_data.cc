#include "files/procedure_data.h"

#include <utility>

namespace HDevEngineCpp {
namespace Standin {
namespace {

int slotOf(const std::unordered_map<std::string, int>& slots, const std::string& variable) {
  const auto it = slots.find(variable);
  return it == slots.end() ? -1 : it->second;
}

int addVariable(std::vector<std::string>* variables, std::unordered_map<std::string, int>* slots,
                const std::string& variable) {
  const int slot = static_cast<int>(variables->size());
  variables->push_back(variable);
  slots->emplace(variable, slot);
  return slot;
}

}  // namespace

int ProcedureData::ctrlSlot(const std::string& variable) const {
  return slotOf(ctrlSlots_, variable);
}

int ProcedureData::iconicSlot(const std::string& variable) const {
  return slotOf(iconicSlots_, variable);
}

int ProcedureData::addCtrlVariable(const std::string& variable) {
  return addVariable(&ctrlVariables, &ctrlSlots_, variable);
}

int ProcedureData::addIconicVariable(const std::string& variable) {
  return addVariable(&iconicVariables, &iconicSlots_, variable);
}

ProcedureData* ProcedureCache::find(const std::string& name) const {
  quorvex::common::Lock lock(mutex_);
  const auto it = procedures_.find(name);
  return it == procedures_.end() ? nullptr : it->second.get();
}

void ProcedureCache::add(std::unique_ptr<ProcedureData> procedure) {
  quorvex::common::Lock lock(mutex_);
  const std::string name = procedure->name;
  procedures_.emplace(name, std::move(procedure));
}

Frame::Frame(const ProcedureData& procedure)
    : ctrl(procedure.ctrlVariables.size()),
      ctrlSet(procedure.ctrlVariables.size(), 0),
      iconic(procedure.iconicVariables.size()),
      iconicSet(procedure.iconicVariables.size(), 0),
      knownText(procedure.ctrlVariables.size(), {-1, 0}) {}

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
