// A byte-driven sequence of tuple and procedure calls on four handle slots, checked against
// a model of what each tuple holds: every value appended reads back as it went in.
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "harness.h"
#include "program_generator.h"

namespace {

using Value = std::variant<int32_t, double, std::string>;

struct Slot {
  TupleHandle tuple = nullptr;
  std::vector<Value> model;
};

// A value made of the next bytes, lowest first as memcpy lays them out on the fuzzing
// machines; spent bytes read as zero.
template <typename T>
T next(quorvex::fuzz::Choices& bytes) {
  unsigned char raw[sizeof(T)];
  for (unsigned char& byte : raw) byte = static_cast<unsigned char>(bytes.below(256));
  T result;
  std::memcpy(&result, raw, sizeof result);
  return result;
}

void checkElement(const Slot& slot, int32_t index) {
  using quorvex::fuzz::check;
  const Value& expected = slot.model[static_cast<std::size_t>(index)];
  if (const auto* l = std::get_if<int32_t>(&expected)) {
    check(hgetTupleElemType(slot.tuple, index) == TupleElemLong, "integer type");
    check(hgetTupleElemLong(slot.tuple, index) == *l, "integer round trip");
  } else if (const auto* d = std::get_if<double>(&expected)) {
    check(hgetTupleElemType(slot.tuple, index) == TupleElemDouble, "real type");
    const double got = hgetTupleElemDouble(slot.tuple, index);
    check(std::memcmp(&got, d, sizeof got) == 0 || (got != got && *d != *d), "real round trip");
  } else {
    check(hgetTupleElemType(slot.tuple, index) == TupleElemString, "string type");
    char* text = hgetTupleElemString_TO_BE_FREED(slot.tuple, index);
    check(text && std::get<std::string>(expected) == text, "string round trip");
    hfreeTupleElemString(text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvex::fuzz;
  scratch();
  static const bool added = [] {
    const char* root = std::getenv("QUORVEX_TEST_DATA");
    succeeded(haddProcedurePath((std::string(root ? root : "tests/data") + "/procedures").c_str()));
    return true;
  }();
  (void)added;
  return twice([&] {
    Slot slots[4];
    quorvex::fuzz::Choices bytes(data, size);
    for (int steps = 0; !bytes.spent() && steps < 256; ++steps) {
      const std::uint8_t op = bytes.below(256);
      Slot& slot = slots[(op >> 4) & 3];
      switch (op & 15) {
        case 0:
          hfreeTuple(slot.tuple);
          slot = Slot{};
          check(succeeded(hcreateTuple(&slot.tuple)) && slot.tuple, "create");
          break;
        case 1:
          if (!slot.tuple) break;
          slot.model.emplace_back(next<int32_t>(bytes));
          happendTupleLong(slot.tuple, std::get<int32_t>(slot.model.back()));
          break;
        case 2:
          if (!slot.tuple) break;
          slot.model.emplace_back(next<double>(bytes));
          happendTupleDouble(slot.tuple, std::get<double>(slot.model.back()));
          break;
        case 3: {
          if (!slot.tuple) break;
          std::string text(bytes.below(256) % 32, 'x');
          for (char& c : text) c = static_cast<char>(bytes.below(256));
          text = text.c_str();  // the C interface ends a text at its first NUL
          slot.model.emplace_back(text);
          happendTupleString(slot.tuple, text.c_str());
          break;
        }
        case 4:
          check(hgetTupleLength(slot.tuple) == static_cast<int32_t>(slot.model.size()), "length");
          for (std::size_t i = 0; i < slot.model.size(); ++i) {
            checkElement(slot, static_cast<int32_t>(i));
          }
          break;
        case 5: {
          // Out of range reads give the failure value, never a crash.
          const int32_t index = next<int32_t>(bytes);
          hgetTupleElemLong(slot.tuple, index);
          hfreeTupleElemString(hgetTupleElemString_TO_BE_FREED(slot.tuple, index));
          break;
        }
        case 6:
          hfreeTuple(slot.tuple);
          slot = Slot{};
          break;
        case 7: {
          // add(A, B) with two slots as inputs; the sum replaces a third slot.
          Slot& other = slots[bytes.below(256) & 3];
          Slot& result = slots[bytes.below(256) & 3];
          ProcedureHandle add = nullptr;
          if (!succeeded(hcreateProcedure("add", &add))) break;
          ProcedureCallHandle call = nullptr;
          if (succeeded(hcreateProcedureCall(add, &call)) &&
              succeeded(hprocedurecallSetInputCtrlParamTuple(call, 1, slot.tuple)) &&
              succeeded(hprocedurecallSetInputCtrlParamTuple(call, 2, other.tuple)) &&
              succeeded(hprocedurecallExecute(call))) {
            TupleHandle sum = nullptr;
            if (succeeded(hprocedurecallGetOutputCtrlParamTuple(call, 1, &sum))) {
              hfreeTuple(result.tuple);
              result = Slot{};
              result.tuple = sum;
              for (int32_t i = 0; i < hgetTupleLength(sum); ++i) {
                switch (hgetTupleElemType(sum, i)) {
                  case TupleElemLong:
                    result.model.emplace_back(hgetTupleElemLong(sum, i));
                    break;
                  case TupleElemDouble:
                    result.model.emplace_back(hgetTupleElemDouble(sum, i));
                    break;
                  default: {
                    char* text = hgetTupleElemString_TO_BE_FREED(sum, i);
                    result.model.emplace_back(std::string(text ? text : ""));
                    hfreeTupleElemString(text);
                  }
                }
              }
            }
          }
          hfreeProcedureCall(call);
          hfreeProcedure(add);
          break;
        }
        default:
          break;
      }
    }
    for (Slot& slot : slots) hfreeTuple(slot.tuple);
  });
}
