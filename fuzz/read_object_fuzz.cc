// read_object on any bytes: the input is written to a file and read. The reader may refuse it
// with 5202 (or 6001 past the pixel bound), never crash or take memory the file does not pay
// for; what it accepts is objects whose every pixel, run and point can be reached, and which
// write back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "halconcpp/HalconCpp.h"
#include "harness.h"
#include "support/temp_folder.h"

namespace {

const std::string& folder() {
  static const std::string path = [] {
    const std::string made = quorvex::test::makeTempFolder("quorvex_fuzz_object_");
    if (made.empty()) std::abort();
    HalconCpp::SetSystem("standin_pixel_limit", 2 << 20);
    return made + "/";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace HalconCpp;
  using quorvex::fuzz::check;
  const std::string input = folder() + "input.hobj";
  quorvex::fuzz::writeFile(input, data, size);
  try {
    HObject objects;
    ReadObject(&objects, input.c_str());
    HTuple classes;
    GetObjClass(objects, &classes);
    const std::string again = folder() + "again.hobj";
    WriteObject(objects, again.c_str());
    std::ifstream in(again, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    // Runs are made canonical and domains cut to their images on reading, so only a file
    // already in that form writes back byte for byte; any file writes back to one that does.
    HObject back;
    ReadObject(&back, again.c_str());
    WriteObject(back, again.c_str());
    std::ifstream in2(again, std::ios::binary);
    check(written == std::string{std::istreambuf_iterator<char>(in2), {}}, "a stable form");
  } catch (const HException& e) {
    check(e.ErrorCode() == H_ERR_FILE_FORMAT || e.ErrorCode() == H_ERR_NO_MEMORY,
          "refused with 5202 or 6001");
  }
  return 0;
}
