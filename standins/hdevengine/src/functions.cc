#include "functions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <variant>

#include "engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

using Element = HTuple::Element;

[[noreturn]] void refuse(const char* function, const char* what) {
  throw RunError{kErrFunctionArgument, std::string(function) + " of " + what};
}

HTuple toTuple(const Element& element) {
  if (const auto* l = std::get_if<Hlong>(&element)) return HTuple(*l);
  if (const auto* d = std::get_if<double>(&element)) return HTuple(*d);
  return HTuple(std::get<std::string>(element).c_str());
}

template <typename Op>
HTuple eachElement(const HTuple& argument, Op op) {
  HTuple result;
  for (Hlong i = 0; i < argument.Length(); ++i) result.Append(op(argument.At(i)));
  return result;
}

Hlong toInteger(const char* function, double value) {
  // Hlong's limits as doubles: the upper one rounds up to 2^63 (or 2^31), hence '<'.
  if (!std::isfinite(value) || value < static_cast<double>(std::numeric_limits<Hlong>::min()) ||
      value >= static_cast<double>(std::numeric_limits<Hlong>::max())) {
    refuse(function, "a value beyond the integer range");
  }
  return static_cast<Hlong>(value);
}

HTuple intOf(const HTuple& argument) {
  return eachElement(argument, [](const Element& e) {
    if (const auto* d = std::get_if<double>(&e)) return HTuple(toInteger("int", std::trunc(*d)));
    if (std::holds_alternative<std::string>(e)) refuse("int", "a string");
    return toTuple(e);
  });
}

HTuple realOf(const HTuple& argument) {
  return eachElement(argument, [](const Element& e) {
    if (const auto* l = std::get_if<Hlong>(&e)) return HTuple(static_cast<double>(*l));
    if (std::holds_alternative<std::string>(e)) refuse("real", "a string");
    return toTuple(e);
  });
}

HTuple absOf(const HTuple& argument) {
  return eachElement(argument, [](const Element& e) {
    if (const auto* l = std::get_if<Hlong>(&e)) {
      if (*l == std::numeric_limits<Hlong>::min()) refuse("abs", "the smallest integer");
      return HTuple(*l < 0 ? -*l : *l);
    }
    if (const auto* d = std::get_if<double>(&e)) return HTuple(std::fabs(*d));
    refuse("abs", "a string");
  });
}

HTuple roundOf(const HTuple& argument) {
  return eachElement(argument, [](const Element& e) {
    if (const auto* d = std::get_if<double>(&e)) return HTuple(toInteger("round", std::round(*d)));
    if (std::holds_alternative<std::string>(e)) refuse("round", "a string");
    return toTuple(e);
  });
}

HTuple sqrtOf(const HTuple& argument) {
  return eachElement(argument, [](const Element& e) {
    if (std::holds_alternative<std::string>(e)) refuse("sqrt", "a string");
    const double value = std::holds_alternative<Hlong>(e) ? static_cast<double>(std::get<Hlong>(e))
                                                          : std::get<double>(e);
    if (value < 0) refuse("sqrt", "a negative number");
    return HTuple(std::sqrt(value));
  });
}

HTuple strlenOf(const HTuple& argument) {
  return eachElement(argument, [](const Element& e) {
    const auto* s = std::get_if<std::string>(&e);
    if (!s) refuse("strlen", "a number");
    return HTuple(static_cast<Hlong>(s->size()));
  });
}

// Strings that read completely as a number become that number; others stay strings.
HTuple numberOf(const HTuple& argument) {
  return eachElement(argument, [](const Element& e) {
    const auto* s = std::get_if<std::string>(&e);
    // Only decimal notation: strtod alone would also take "inf", "nan" and hex floats.
    if (!s || s->find_first_of("0123456789") == std::string::npos ||
        s->find_first_not_of("0123456789+-.eE") != std::string::npos) {
      return toTuple(e);
    }
    const char* text = s->c_str();
    char* rest = nullptr;
    errno = 0;
    const long long integer = std::strtoll(text, &rest, 10);
    if (*rest == '\0' && errno == 0 && integer >= std::numeric_limits<Hlong>::min() &&
        integer <= std::numeric_limits<Hlong>::max()) {
      return HTuple(static_cast<Hlong>(integer));
    }
    const double real = std::strtod(text, &rest);
    if (*rest == '\0') return HTuple(real);
    return toTuple(e);
  });
}

// min and max keep the winning element as it is: the integer stays an integer.
template <typename Better>
HTuple extreme(const char* function, const HTuple& argument, Better better) {
  if (argument.Length() == 0) refuse(function, "an empty tuple");
  HTuple best = toTuple(argument.At(0));
  for (Hlong i = 0; i < argument.Length(); ++i) {
    HTuple candidate = toTuple(argument.At(i));
    if (better(candidate, best)) best = std::move(candidate);
  }
  return best;
}

HTuple minOf(const HTuple& argument) {
  return extreme("min", argument, [](const HTuple& a, const HTuple& b) { return a < b; });
}

HTuple maxOf(const HTuple& argument) {
  return extreme("max", argument, [](const HTuple& a, const HTuple& b) { return a > b; });
}

HTuple sumOf(const HTuple& argument) {
  if (argument.Length() == 0) return HTuple(0);
  HTuple total = toTuple(argument.At(0));
  for (Hlong i = 1; i < argument.Length(); ++i) {
    total = total + toTuple(argument.At(i));
  }
  return total;
}

struct Function {
  const char* name;
  HTuple (*apply)(const HTuple& argument);
};

constexpr Function kFunctions[] = {
    {"int", intOf},       {"real", realOf},     {"abs", absOf},     {"min", minOf},
    {"max", maxOf},       {"sum", sumOf},       {"round", roundOf}, {"sqrt", sqrtOf},
    {"strlen", strlenOf}, {"number", numberOf},
};

}  // namespace

int findFunction(const std::string& name) {
  for (std::size_t i = 0; i < sizeof kFunctions / sizeof kFunctions[0]; ++i) {
    if (name == kFunctions[i].name) return static_cast<int>(i);
  }
  return -1;
}

int functionMinArguments(int) {
  return 1;
}

int functionMaxArguments(int) {
  return 1;
}

const char* functionName(int function) {
  return kFunctions[function].name;
}

void applyFunction(int function, const HTuple* const* arguments, std::size_t, HTuple* result) {
  *result = kFunctions[function].apply(*arguments[0]);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
