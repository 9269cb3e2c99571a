// The XLD file readers on any bytes: the first byte picks DXF (even) or ARC/INFO (odd), the
// rest is the file. A reader may refuse it with its format errors (or 6001 past the point
// bound), never crash, hang or take memory the file does not pay for; what it accepts writes
// back to a file that reads as the same contours.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "halconcpp/HalconCpp.h"
#include "harness.h"
#include "support/temp_folder.h"

namespace {

const std::string& folder() {
  static const std::string path = [] {
    const std::string made = quorvex::test::makeTempFolder("quorvex_fuzz_xld_");
    if (made.empty()) std::abort();
    return made + "/";
  }();
  return path;
}

HalconCpp::HObject readBack(bool dxf, const std::string& name) {
  using namespace HalconCpp;
  HObject contours;
  HTuple status;
  if (dxf) {
    ReadContourXldDxf(&contours, name.c_str(), HTuple(), HTuple(), &status);
  } else {
    ReadContourXldArcInfo(&contours, name.c_str());
  }
  return contours;
}

// Every contour's points and attributes, as one tuple.
HalconCpp::HTuple contents(const HalconCpp::HObject& contours) {
  using namespace HalconCpp;
  HTuple all, count;
  CountObj(contours, &count);
  for (Hlong i = 1; i <= count.L(); ++i) {
    HObject one;
    SelectObj(contours, &one, i);
    HTuple rows, cols, names, globals;
    GetContourXld(one, &rows, &cols);
    QueryContourAttribsXld(one, &names);
    QueryContourGlobalAttribsXld(one, &globals);
    all.Append(rows.Length()).Append(rows).Append(cols).Append(names).Append(globals);
    for (Hlong k = 0; k < names.Length(); ++k) {
      HTuple values;
      GetContourAttribXld(one, names[k], &values);
      all.Append(values);
    }
  }
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace HalconCpp;
  using quorvex::fuzz::check;
  if (size == 0) return 0;
  const bool dxf = data[0] % 2 == 0;
  const std::string input = folder() + "input";
  quorvex::fuzz::writeFile(input, data + 1, size - 1);
  try {
    const HObject first = readBack(dxf, input);
    const std::string again = folder() + "again";
    if (dxf) {
      WriteContourXldDxf(first, again.c_str());
    } else {
      WriteContourXldArcInfo(first, again.c_str());
    }
    const HTuple a = contents(first), b = contents(readBack(dxf, again));
    bool same = a.Length() == b.Length();
    for (Hlong i = 0; same && i < a.Length(); ++i) {
      same = a[i].Type() == b[i].Type() &&
             (a[i].Type() == eElementTypeString ? std::string(a[i].S().Text()) == b[i].S().Text()
                                                : a[i].D() == b[i].D());
    }
    check(same, "the contours written read back the same");
  } catch (const HException& e) {
    const Hlong code = e.ErrorCode();
    const bool format = dxf ? code >= 5800 && code <= 5802 : code == H_ERR_FILE_FORMAT;
    check(format || code == H_ERR_NO_MEMORY, "refused with the format's errors or 6001");
  }
  return 0;
}
