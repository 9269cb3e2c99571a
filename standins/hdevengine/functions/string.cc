// Searching, cutting and converting strings, element by element.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "functions/tuple_functions.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

// A function of one string and one other element, each pair giving one element.
template <typename F>
void stringPairs(const char* op, const HTuple& strings, const HTuple& other, HTuple* r, F f) {
  const Hlong n = pairLength(op, strings, other);
  HTuple out;
  for (Hlong i = 0; i < n; ++i) {
    out.Append(f(std::string_view(stringAt(op, 0, strings, spread(strings, i))), spread(other, i)));
  }
  *r = std::move(out);
}

// Positions count from 0; -1 stands for "not found".
Hlong positionOf(std::size_t found) {
  return found == std::string_view::npos ? Hlong{-1} : static_cast<Hlong>(found);
}

// The characters from `from` to `to` inclusive, clamped to the string; empty when none.
HTuple cut(std::string_view s, Hlong from, Hlong to) {
  const auto size = static_cast<Hlong>(s.size());
  if (from < 0) from = 0;
  if (to >= size) to = size - 1;
  if (from > to) return HTuple("");
  return HTuple(
      std::string(s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from + 1)))
          .c_str());
}

HTuple charText(char c) {
  const char text[2] = {c, '\0'};
  return HTuple(text);
}

}  // namespace

void tupleStrlen(TupleArgs a, std::size_t, HTuple* r) {
  HTuple out;
  for (Hlong i = 0; i < a[0]->Length(); ++i) {
    out.Append(HTuple(static_cast<Hlong>(std::strlen(stringAt("tuple_strlen", 0, *a[0], i)))));
  }
  *r = std::move(out);
}

// Only the first character of each ToFind element counts.
void tupleStrchr(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& find = *a[1];
  stringPairs("tuple_strchr", *a[0], find, r, [&](std::string_view s, Hlong j) {
    const char* c = stringAt("tuple_strchr", 1, find, j);
    return HTuple(*c ? positionOf(s.find(*c)) : Hlong{-1});
  });
}

void tupleStrrchr(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& find = *a[1];
  stringPairs("tuple_strrchr", *a[0], find, r, [&](std::string_view s, Hlong j) {
    const char* c = stringAt("tuple_strrchr", 1, find, j);
    return HTuple(*c ? positionOf(s.rfind(*c)) : Hlong{-1});
  });
}

void tupleStrstr(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& find = *a[1];
  stringPairs("tuple_strstr", *a[0], find, r, [&](std::string_view s, Hlong j) {
    return HTuple(positionOf(s.find(stringAt("tuple_strstr", 1, find, j))));
  });
}

void tupleStrrstr(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& find = *a[1];
  stringPairs("tuple_strrstr", *a[0], find, r, [&](std::string_view s, Hlong j) {
    return HTuple(positionOf(s.rfind(stringAt("tuple_strrstr", 1, find, j))));
  });
}

// The characters up to and including Position.
void tupleStrFirstN(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& position = *a[1];
  stringPairs("tuple_str_first_n", *a[0], position, r, [&](std::string_view s, Hlong j) {
    return cut(s, 0, integerAt("tuple_str_first_n", 1, position, j));
  });
}

// The characters from Position on.
void tupleStrLastN(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& position = *a[1];
  stringPairs("tuple_str_last_n", *a[0], position, r, [&](std::string_view s, Hlong j) {
    return cut(s, integerAt("tuple_str_last_n", 1, position, j), static_cast<Hlong>(s.size()));
  });
}

void tupleStrBitSelect(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& index = *a[1];
  stringPairs("tuple_str_bit_select", *a[0], index, r, [&](std::string_view s, Hlong j) {
    const Hlong at = integerAt("tuple_str_bit_select", 1, index, j);
    return cut(s, at, at);
  });
}

void tupleSubstr(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_substr";
  const HTuple &strings = *a[0], &from = *a[1], &to = *a[2];
  const Hlong length = std::max({strings.Length(), from.Length(), to.Length()});
  const HTuple* inputs[] = {&strings, &from, &to};
  for (int p = 0; p < 3; ++p) {
    if (inputs[p]->Length() == 0) {
      *r = HTuple();
      return;
    }
    if (inputs[p]->Length() != 1 && inputs[p]->Length() != length) wrongCount(op, p);
  }
  HTuple out;
  for (Hlong i = 0; i < length; ++i) {
    out.Append(cut(stringAt(op, 0, strings, spread(strings, i)),
                   integerAt(op, 1, from, spread(from, i)), integerAt(op, 2, to, spread(to, i))));
  }
  *r = std::move(out);
}

// S{A} is one character, S{A:B} the characters from A to B.
void substringFunction(TupleArgs a, std::size_t count, HTuple* r) {
  if (count == 2) {
    tupleStrBitSelect(a, count, r);
  } else {
    tupleSubstr(a, count, r);
  }
}

// Splits at every character of Separator; separators in a row give no empty parts.
void tupleSplit(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_split";
  const HTuple &strings = *a[0], &separators = *a[1];
  const Hlong n = pairLength(op, strings, separators);
  HTuple out;
  for (Hlong i = 0; i < n; ++i) {
    const std::string_view s = stringAt(op, 0, strings, spread(strings, i));
    const std::string_view separator = stringAt(op, 1, separators, spread(separators, i));
    std::size_t start = 0;
    while (start <= s.size()) {
      std::size_t end = s.find_first_of(separator, start);
      if (end == std::string_view::npos) end = s.size();
      if (end > start) out.Append(HTuple(std::string(s.substr(start, end - start)).c_str()));
      start = end + 1;
    }
  }
  *r = std::move(out);
}

void tupleChr(TupleArgs a, std::size_t, HTuple* r) {
  HTuple out;
  for (Hlong i = 0; i < a[0]->Length(); ++i) {
    const Hlong code = integerAt("tuple_chr", 0, *a[0], i);
    if (code < 0 || code > 255) wrongValue("tuple_chr", 0);
    out.Append(charText(static_cast<char>(code)));
  }
  *r = std::move(out);
}

// All codes make one string.
void tupleChrt(TupleArgs a, std::size_t, HTuple* r) {
  std::string text;
  for (Hlong i = 0; i < a[0]->Length(); ++i) {
    const Hlong code = integerAt("tuple_chrt", 0, *a[0], i);
    if (code < 0 || code > 255) wrongValue("tuple_chrt", 0);
    if (code == 0) break;
    text += static_cast<char>(code);
  }
  *r = HTuple(text.c_str());
}

void tupleOrd(TupleArgs a, std::size_t, HTuple* r) {
  HTuple out;
  for (Hlong i = 0; i < a[0]->Length(); ++i) {
    const char* s = stringAt("tuple_ord", 0, *a[0], i);
    if (std::strlen(s) != 1) wrongValue("tuple_ord", 0);
    out.Append(HTuple(static_cast<Hlong>(static_cast<unsigned char>(s[0]))));
  }
  *r = std::move(out);
}

// The codes of every character of every string; integers pass unchanged.
void tupleOrds(TupleArgs a, std::size_t, HTuple* r) {
  HTuple out;
  for (Hlong i = 0; i < a[0]->Length(); ++i) {
    if (isInteger(*a[0], i)) {
      out.Append(HTuple((*a[0])[i].L()));
      continue;
    }
    for (const char* s = stringAt("tuple_ords", 0, *a[0], i); *s; ++s) {
      out.Append(HTuple(static_cast<Hlong>(static_cast<unsigned char>(*s))));
    }
  }
  *r = std::move(out);
}

// An unset variable reads as the empty string.
void tupleEnvironment(TupleArgs a, std::size_t, HTuple* r) {
  HTuple out;
  for (Hlong i = 0; i < a[0]->Length(); ++i) {
    const char* value = std::getenv(stringAt("tuple_environment", 0, *a[0], i));
    out.Append(HTuple(value ? value : ""));
  }
  *r = std::move(out);
}

// Strings that read completely as a number become that number; others stay as they are.
void tupleNumber(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& t = *a[0];
  HTuple out;
  for (Hlong i = 0; i < t.Length(); ++i) {
    HTuple number;
    if (isString(t, i) && parseNumber(t[i].C(), &number)) {
      out.Append(number);
    } else {
      appendElement(&out, t, i);
    }
  }
  *r = std::move(out);
}

void tupleIsNumber(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& t = *a[0];
  HTuple out;
  for (Hlong i = 0; i < t.Length(); ++i) {
    HTuple number;
    out.Append(HTuple(Hlong{!isString(t, i) || parseNumber(t[i].C(), &number)}));
  }
  *r = std::move(out);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
