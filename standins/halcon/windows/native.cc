// The native side of the windows, reached by the user32 stand-in, and the controls that
// script and show it: "standin_monitors", "standin_native_windows", "standin_user32_calls"
// and "standin_null_os_handle".
#include <atomic>
#include <deque>

#include "common/annotated_mutex.h"
#include "standin/controls.h"
#include "standin/native.h"
#include "windows/window.h"

namespace HalconCpp {
namespace Standin {

namespace {

// Entries beyond this drop the oldest, so that a forgotten log cannot grow without bound.
constexpr std::size_t kMaxLogEntries = 100000;

class NativeState {
 public:
  std::vector<Native::Rect> monitors() QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    return monitors_;
  }
  void setMonitors(std::vector<Native::Rect> monitors) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    monitors_ = std::move(monitors);
  }
  void log(const std::string& call) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    calls_.push_back(call);
    if (calls_.size() > kMaxLogEntries) calls_.pop_front();
  }
  std::deque<std::string> calls() QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    return calls_;
  }
  void clearCalls() QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    calls_.clear();
  }

  std::atomic<bool> nullOsHandle{false};

 private:
  quorvex::common::Mutex mutex_;
  std::vector<Native::Rect> monitors_ QUORVEX_GUARDED_BY(mutex_) = {{0, 0, 1920, 1080}};
  std::deque<std::string> calls_ QUORVEX_GUARDED_BY(mutex_);
};

NativeState& state() {
  static NativeState* instance = new NativeState;  // outlives every static destructor
  return *instance;
}

void setMonitors(const HTuple& value) {
  const char* op = "set_system";
  if (value.Length() < 4 || value.Length() % 4 != 0) fail(op, 1402);
  std::vector<Native::Rect> monitors;
  for (Hlong i = 0; i < value.Length(); i += 4) {
    Hlong v[4];
    for (int k = 0; k < 4; ++k) {
      v[k] = integerAt(value, i + k, op, 2);
      if (v[k] < -1000000 || v[k] > 1000000) fail(op, 1302);
    }
    if (v[2] <= v[0] || v[3] <= v[1]) fail(op, 1302);
    monitors.push_back(
        Native::Rect{static_cast<std::int32_t>(v[0]), static_cast<std::int32_t>(v[1]),
                     static_cast<std::int32_t>(v[2]), static_cast<std::int32_t>(v[3])});
  }
  state().setMonitors(std::move(monitors));
}

HTuple getMonitors() {
  HTuple result;
  for (const Native::Rect& m : state().monitors()) {
    for (std::int32_t v : {m.left, m.top, m.right, m.bottom}) result.Append(HTuple(Hlong{v}));
  }
  return result;
}

HTuple getNativeWindows() {
  HTuple result;
  windowTable().forEach([&](const Window& w) {
    const Hlong values[] = {
        w.handle, static_cast<Hlong>(w.osHandle), w.style, w.exStyle, w.col, w.row, w.width,
        w.height, static_cast<Hlong>(w.posFlags)};
    for (Hlong v : values) result.Append(HTuple(v));
  });
  return result;
}

void clearUser32Calls(const HTuple& value) {
  if (value.Length() != 0) fail("set_system", 1402);
  state().clearCalls();
}

HTuple getUser32Calls() {
  HTuple result;
  for (const std::string& call : state().calls()) result.Append(HTuple(call.c_str()));
  return result;
}

void setNullOsHandle(const HTuple& value) {
  const std::string text = oneString(value, "set_system", 2);
  if (text != "true" && text != "false") fail("set_system", 1302);
  state().nullOsHandle.store(text == "true");
}

HTuple getNullOsHandle() {
  return HTuple(state().nullOsHandle.load() ? "true" : "false");
}

const bool nativeRegistered = [] {
  registerControl("standin_monitors", &setMonitors, &getMonitors);
  registerControl("standin_native_windows", nullptr, &getNativeWindows);
  registerControl("standin_user32_calls", &clearUser32Calls, &getUser32Calls);
  registerControl("standin_null_os_handle", &setNullOsHandle, &getNullOsHandle);
  return true;
}();

}  // namespace

bool nullOsHandle() {
  return state().nullOsHandle.load();
}

namespace Native {

bool windowState(std::uintptr_t hwnd, WindowState* result) {
  return windowTable().withNative(hwnd, [&](const Window& w) {
    *result = WindowState{w.style, w.exStyle, w.col, w.row, w.width, w.height, w.posFlags};
  });
}

bool setStyle(std::uintptr_t hwnd, bool extended, std::int32_t value, std::int32_t* previous) {
  return windowTable().withNative(hwnd, [&](Window& w) {
    std::int32_t& word = extended ? w.exStyle : w.style;
    *previous = word;
    word = value;
  });
}

bool setPosition(std::uintptr_t hwnd, std::int32_t x, std::int32_t y, std::int32_t cx,
                 std::int32_t cy, std::uint32_t flags) {
  const bool sized = !(flags & kNoSize);
  if (sized && (cx < 1 || cy < 1 || cx > kMaxWindowSide || cy > kMaxWindowSide)) return false;
  return windowTable().withNative(hwnd, [&](Window& w) {
    if (!(flags & kNoMove)) {
      w.col = x;
      w.row = y;
    }
    if (sized) w.resize(cx, cy);
    w.posFlags = flags;
  });
}

std::vector<Rect> monitors() {
  return state().monitors();
}

void logUser32Call(const std::string& call) {
  state().log(call);
}

}  // namespace Native
}  // namespace Standin
}  // namespace HalconCpp
