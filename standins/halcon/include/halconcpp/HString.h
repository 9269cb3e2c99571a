#ifndef HALCONCPP_HSTRING_H
#define HALCONCPP_HSTRING_H

#include <cstddef>
#include <string>

#include "halconcpp/HalconCppBase.h"

namespace HalconCpp {

// An owned, NUL-terminated byte string, as the vendor's operators return texts.
class HString {
 public:
  HString() = default;
  HString(const char* text) : text_(text ? text : "") {}  // NOLINT: implicit like the vendor's
  explicit HString(std::string text) : text_(std::move(text)) {}

  const char* Text() const { return text_.c_str(); }
  std::size_t Length() const { return text_.size(); }
  operator const char*() const { return text_.c_str(); }  // NOLINT: implicit like the vendor's

  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

inline bool operator==(const HString& a, const HString& b) {
  return a.str() == b.str();
}
inline bool operator!=(const HString& a, const HString& b) {
  return !(a == b);
}

}  // namespace HalconCpp

#endif
