#include "runtime/exception_data.h"

#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

using HalconCpp::HException;
using HalconCpp::Hlong;
using HalconCpp::HTuple;

constexpr int kSlotCount = 8;
// The vendor's numbers for a wrong value and a wrong type of the second control parameter.
constexpr Hlong kWrongValueOfName = 1302;
constexpr Hlong kWrongTypeOfName = 1202;
// Slot names in the order of exceptionTuple; 'user_data' is what follows them.
constexpr const char* kSlotNames[kSlotCount] = {
    "error_code",   "error_message", "add_error_code",   "add_error_message",
    "program_line", "operator",      "call_stack_depth", "procedure"};

// A message shown from a thrown tuple stays readable, whatever the tuple holds.
constexpr std::size_t kMaxShownText = 400;

HTuple slotValue(const HTuple& exception, const std::string& name) {
  const bool failure = isFailureTuple(exception);
  if (name == "user_data") {
    const Hlong first = failure ? kSlotCount : 1;
    if (exception.Length() <= first) return HTuple();
    HTuple data;
    for (Hlong i = first; i < exception.Length(); ++i) data.Append(HTuple(exception[i]));
    return data;
  }
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (name != kSlotNames[slot]) continue;
    if (failure) return HTuple(exception[slot]);
    // A tuple of the program's own: only its first element, the error code, is known.
    if (slot == 0 && exception.Length() > 0) return HTuple(exception[0]);
    return HTuple("");
  }
  throw HException::ForOperator("dev_get_exception_data", kWrongValueOfName);
}

void devGetExceptionData(const OperatorArgs& args) {
  const HTuple& exception = *args.ctrlIn[0];
  const HTuple& names = *args.ctrlIn[1];
  HTuple values;
  for (Hlong i = 0; i < names.Length(); ++i) {
    if (names[i].Type() != HalconCpp::eElementTypeString) {
      throw HException::ForOperator("dev_get_exception_data", kWrongTypeOfName);
    }
    const std::string name = names[i].S().Text();
    // The user data is a tuple of its own and cannot be asked for with other slots.
    if (name == "user_data" && names.Length() != 1) {
      throw HException::ForOperator("dev_get_exception_data", kWrongValueOfName);
    }
    values.Append(slotValue(exception, name));
  }
  *args.ctrlOut[0] = values;
}

constexpr OperatorSpec kExceptionOperators[] = {
    {"dev_get_exception_data", 0, 0, 2, 1, devGetExceptionData},
};

}  // namespace

HTuple exceptionTuple(const FailureData& failure) {
  HTuple tuple;
  tuple.Append(HTuple(failure.code));
  tuple.Append(HTuple(failure.message.c_str()));
  tuple.Append(HTuple(failure.addCode));
  tuple.Append(HTuple(failure.addMessage.c_str()));
  tuple.Append(HTuple(static_cast<Hlong>(failure.line)));
  tuple.Append(HTuple(failure.lineName.c_str()));
  tuple.Append(HTuple(static_cast<Hlong>(failure.depth)));
  tuple.Append(HTuple(failure.procedure.c_str()));
  return tuple;
}

bool isFailureTuple(const HTuple& exception) {
  if (exception.Length() < kSlotCount) return false;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const auto expected =
        slot % 2 == 0 ? HalconCpp::eElementTypeLong : HalconCpp::eElementTypeString;
    if (exception[slot].Type() != expected) return false;
  }
  return true;
}

Hlong uncaughtCode(const HTuple& exception, Hlong fallback) {
  if (exception.Length() > 0 && exception[0].Type() == HalconCpp::eElementTypeLong) {
    return exception[0].L();
  }
  return fallback;
}

std::string uncaughtMessage(const HTuple& exception) {
  if (isFailureTuple(exception)) return exception[1].S().Text();
  std::string text = exception.ToString().Text();
  if (text.size() > kMaxShownText) text = text.substr(0, kMaxShownText) + "...";
  return "uncaught exception " + text;
}

OperatorGroup exceptionOperators() {
  return {kExceptionOperators, sizeof kExceptionOperators / sizeof kExceptionOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
