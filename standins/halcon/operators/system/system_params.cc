// The vendor's system parameters that programs commonly query, with their documented
// defaults. Settings the vendor lets a program change are checked and kept; facts about the
// machine and the library are read-only (set_system raises 1301 for them).
#include <cstddef>
#include <map>
#include <string>
#include <thread>
#include <utility>

#include "codecs/image_search.h"
#include "common/annotated_mutex.h"
#include "halconcpp/HException.h"
#include "halconcpp/HTuple.h"
#include "standin/controls.h"

#ifndef _WIN32
#include <sys/utsname.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

enum class Kind { Boolean, Neighborhood };

struct Setting {
  const char* name;
  Kind kind;
};

// The settings the stand-in keeps but does not act on: its operators keep every region and
// image as they are, and use the 8-neighbourhood. The operators' threads are core/threads.h's.
constexpr Setting kSettings[] = {
    {"clip_region", Kind::Boolean},         {"init_new_image", Kind::Boolean},
    {"store_empty_region", Kind::Boolean},  {"neighborhood", Kind::Neighborhood},
    {"border_shape_models", Kind::Boolean},
};

Hlong processorCount() {
  const unsigned count = std::thread::hardware_concurrency();
  return count == 0 ? 1 : static_cast<Hlong>(count);
}

HTuple defaultOf(const std::string& name) {
  if (name == "neighborhood") return HTuple(Hlong{8});
  if (name == "border_shape_models") return HTuple("false");
  return HTuple("true");
}

struct SettingStore {
  quorvex::common::Mutex mutex;
  std::map<std::string, HTuple> values QUORVEX_GUARDED_BY(mutex);  // a name unset has its default
};

SettingStore& settings() {
  static SettingStore* instance = new SettingStore;  // outlives every static destructor
  return *instance;
}

void check(const Setting& setting, const HTuple& value) {
  if (value.Length() != 1) throw HException::ForOperator("set_system", 1402);
  const bool isString = value[0].Type() == eElementTypeString;
  const bool isInteger = value[0].Type() == eElementTypeLong;
  switch (setting.kind) {
    case Kind::Boolean:
      if (!isString) throw HException::ForOperator("set_system", 1202);
      if (value[0].S().str() != "true" && value[0].S().str() != "false")
        throw HException::ForOperator("set_system", 1302);
      break;
    case Kind::Neighborhood:
      if (!isInteger) throw HException::ForOperator("set_system", 1202);
      if (value[0].L() != 4 && value[0].L() != 8) throw HException::ForOperator("set_system", 1302);
      break;
  }
}

template <std::size_t I>
void setSetting(const HTuple& value) {
  check(kSettings[I], value);
  quorvex::common::Lock lock(settings().mutex);
  settings().values[kSettings[I].name] = value;
}

template <std::size_t I>
HTuple getSetting() {
  {
    quorvex::common::Lock lock(settings().mutex);
    const auto it = settings().values.find(kSettings[I].name);
    if (it != settings().values.end()) return it->second;
  }
  return defaultOf(kSettings[I].name);
}

template <std::size_t... I>
void registerSettings(std::index_sequence<I...>) {
  (registerControl(kSettings[I].name, &setSetting<I>, &getSetting<I>), ...);
}

void setImageDir(const HTuple& value) {
  if (value.Length() != 1) throw HException::ForOperator("set_system", 1402);
  if (value[0].Type() != eElementTypeString) throw HException::ForOperator("set_system", 1202);
  setImageDirSetting(value[0].S().str());
}

HTuple getImageDir() {
  return HTuple(imageDirSetting().c_str());
}

HTuple getProcessorNum() {
  return HTuple(processorCount());
}

HTuple getOperatingSystem() {
#ifdef _WIN32
  return HTuple("Windows NT");
#else
  utsname name{};
  return HTuple(uname(&name) == 0 ? name.sysname : "Unix");
#endif
}

HTuple getVersion() {
  return HTuple("11.0");
}

const bool systemParamsRegistered = [] {
  registerSettings(std::make_index_sequence<sizeof kSettings / sizeof kSettings[0]>());
  registerControl("image_dir", &setImageDir, &getImageDir);
  registerControl("processor_num", nullptr, &getProcessorNum);
  registerControl("operating_system", nullptr, &getOperatingSystem);
  registerControl("version", nullptr, &getVersion);
  return true;
}();

}  // namespace

}  // namespace Standin
}  // namespace HalconCpp
