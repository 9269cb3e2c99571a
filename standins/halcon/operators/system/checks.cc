// System / Error Handling and Operating System: the control modes of set_check, the
// debugging tool's settings of set_spy, and system_call, which the stand-in refuses.
#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <string>

#include "core/params.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsSystem.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The 11.0 control modes, in the order get_check lists them.
constexpr const char* kChecks[] = {"color",     "text",       "database", "data",
                                   "interface", "parameter",  "region",   "clear",
                                   "memory",    "give_error", "father"};
constexpr std::size_t kCheckCount = std::size(kChecks);

// Modes that only cost time when the program is right stay off by default ('data', 'clear',
// 'memory'); the others are on, give_error among them (docs/standins.md).
constexpr std::array<bool, kCheckCount> kDefaultChecks = {true, true,  true,  false, true, true,
                                                          true, false, false, true,  true};

// The vendor keeps the modes per thread (all but 'memory', which this keeps per thread too).
thread_local std::array<bool, kCheckCount> checks = kDefaultChecks;

// The first number the vendor leaves to extensions: no operator of its own raises it.
constexpr Hlong kSystemCallRefused = 10000;

const bool registered = [] {
  registerErrorText(kSystemCallRefused,
                    "system_call is refused: a program may not run commands on the host");
  return true;
}();

int checkIndex(const std::string& name) {
  const auto found = std::find(std::begin(kChecks), std::end(kChecks), name);
  return found == std::end(kChecks) ? -1 : static_cast<int>(found - std::begin(kChecks));
}

// The debugging tool's classes with the kind of value each takes and its initial value, in
// query_spy's order.
struct SpyClass {
  const char* name;
  const char* kind;  // "on/off", "integer", "real" or "string"
  const char* initialText;
  double initialNumber;
};

const SpyClass kSpyClasses[] = {
    {"mode", "on/off", "off", 0},
    {"operator", "on/off", "off", 0},
    {"input_control", "on/off", "off", 0},
    {"output_control", "on/off", "off", 0},
    {"parameter_values", "integer", "", 4},
    {"db", "on/off", "off", 0},
    {"input_gray_window", "integer", "", 0},
    {"input_object", "on/off", "off", 0},
    {"output_object", "on/off", "off", 0},
    {"time", "on/off", "off", 0},
    {"halt", "on/off", "off", 0},
    {"timeout", "real", "", 0},
    {"button_window", "integer", "", 0},
    {"button_click", "on/off", "off", 0},
    {"button_notify", "on/off", "off", 0},
    {"log_file", "string", "", 0},
    {"error", "on/off", "off", 0},
    {"internal", "on/off", "off", 0},
};
constexpr std::size_t kSpyCount = std::size(kSpyClasses);

int spyIndex(const std::string& name) {
  for (std::size_t i = 0; i < kSpyCount; ++i) {
    if (name == kSpyClasses[i].name) return static_cast<int>(i);
  }
  return -1;
}

// Plain values rather than tuples, so that a thread's settings never count as live tuples.
struct SpyValue {
  std::string text;
  double number = 0;
};

struct SpySettings {
  std::array<SpyValue, kSpyCount> values;
  SpySettings() {
    for (std::size_t i = 0; i < kSpyCount; ++i) {
      values[i] = {kSpyClasses[i].initialText, kSpyClasses[i].initialNumber};
    }
  }
};

// Each thread's own settings, behind a pointer as core/threads.h asks of larger thread_locals.
thread_local std::unique_ptr<SpySettings> spySlot;
SpySettings& spy() {
  return keptOnThread(spySlot);
}

bool isKind(const SpyClass& spyClass, const char* kind) {
  return std::string(spyClass.kind) == kind;
}

// The value as its class takes it, else 1402, 1202 or 1302.
SpyValue spyValue(const SpyClass& spyClass, const HTuple& value, const char* op) {
  SpyValue result;
  if (isKind(spyClass, "on/off")) {
    result.text = oneString(value, op, 2);
    if (result.text != "on" && result.text != "off") fail(op, 1302);
  } else if (isKind(spyClass, "string")) {
    result.text = oneString(value, op, 2);
  } else if (isKind(spyClass, "real")) {
    result.number = oneNumber(value, op, 2);
    if (!(result.number >= 0)) fail(op, 1302);
  } else {
    const Hlong number = oneInteger(value, op, 2);
    if (number < 0) fail(op, 1302);
    result.number = static_cast<double>(number);
  }
  return result;
}

HTuple spyTuple(const SpyClass& spyClass, const SpyValue& value) {
  if (isKind(spyClass, "real")) return HTuple(value.number);
  if (isKind(spyClass, "integer")) return HTuple(static_cast<Hlong>(value.number));
  return HTuple(value.text.c_str());
}

}  // namespace

namespace Standin {
bool giveErrorChecked() {
  return checks[static_cast<std::size_t>(checkIndex("give_error"))];
}
}  // namespace Standin

void SetCheck(const HTuple& Check) {
  ApiScope scope("SetCheck");
  const char* op = "set_check";
  if (Check.Length() < 1) fail(op, 1401);
  // Every name is checked before any takes effect.
  std::array<bool, kCheckCount> next = checks;
  for (Hlong i = 0; i < Check.Length(); ++i) {
    if (Check[i].Type() != eElementTypeString) fail(op, 1201);
    std::string name = Check[i].S().str();
    if (name == "all" || name == "none") {
      next.fill(name == "all");
      continue;
    }
    if (name == "default") {
      next = kDefaultChecks;
      continue;
    }
    const bool on = name.empty() || name[0] != '~';
    if (!on) name.erase(0, 1);
    const int index = checkIndex(name);
    if (index < 0) fail(op, 1301);
    next[static_cast<std::size_t>(index)] = on;
  }
  checks = next;
}

void GetCheck(HTuple* Check) {
  ApiScope scope("GetCheck");
  HTuple modes;
  for (std::size_t i = 0; i < kCheckCount; ++i) {
    modes.Append(HTuple(((checks[i] ? "" : "~") + std::string(kChecks[i])).c_str()));
  }
  setOutput(Check, std::move(modes));
}

void SetSpy(const HTuple& Class, const HTuple& Value) {
  ApiScope scope("SetSpy");
  const char* op = "set_spy";
  const int index = spyIndex(oneString(Class, op, 1));
  if (index < 0) fail(op, 1301);
  const auto i = static_cast<std::size_t>(index);
  spy().values[i] = spyValue(kSpyClasses[i], Value, op);
}

void GetSpy(const HTuple& Class, HTuple* Value) {
  ApiScope scope("GetSpy");
  const char* op = "get_spy";
  const int index = spyIndex(oneString(Class, op, 1));
  if (index < 0) fail(op, 1301);
  const auto i = static_cast<std::size_t>(index);
  setOutput(Value, spyTuple(kSpyClasses[i], spy().values[i]));
}

void QuerySpy(HTuple* Classes, HTuple* Values) {
  ApiScope scope("QuerySpy");
  HTuple names;
  HTuple kinds;
  for (const SpyClass& spyClass : kSpyClasses) {
    names.Append(HTuple(spyClass.name));
    kinds.Append(HTuple(spyClass.kind));
  }
  setOutput(Classes, std::move(names));
  setOutput(Values, std::move(kinds));
}

void SystemCall(const HTuple& Command) {
  ApiScope scope("SystemCall");
  const char* op = "system_call";
  oneString(Command, op, 1);
  fail(op, kSystemCallRefused);
}

}  // namespace HalconCpp
