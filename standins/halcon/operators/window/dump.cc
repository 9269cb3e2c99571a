// Window contents as images and files. The "standin_dump_channels" control sets how many
// channels DumpWindowImage gives, so that every channel branch of a caller can be reached:
// 0 none, 1 the red plane, 2 red and green, 3 red, green and blue (the default), 4 the three
// and a fourth plane of 255 (an opaque alpha). The "standin_resize_at_dump" control
// ([Width, Height]) resizes the window that the next DumpWindowImage dumps just before it
// reads it, as another thread's SetWindowExtents can; [] disarms it.
#include <atomic>
#include <cstring>
#include <utility>

#include "codecs/image_codecs.h"
#include "codecs/image_file.h"
#include "codecs/png_palette.h"
#include "common/annotated_mutex.h"
#include "core/image.h"
#include "halconcpp/HOperatorsWindow.h"
#include "standin/controls.h"
#include "windows/window.h"

namespace HalconCpp {
using namespace Standin;

namespace {

std::atomic<int> dumpChannels{3};

void setDumpChannels(const HTuple& value) {
  const Hlong channels = oneInteger(value, "set_system", 2);
  if (channels < 0 || channels > 4) fail("set_system", 1302);
  dumpChannels.store(static_cast<int>(channels));
}

HTuple getDumpChannels() {
  return HTuple(static_cast<Hlong>(dumpChannels.load()));
}

quorvex::common::Mutex resizeMutex;
HTuple resizeAtDump QUORVEX_GUARDED_BY(resizeMutex);  // empty when disarmed

void setResizeAtDump(const HTuple& value) {
  if (value.Length() != 0 && value.Length() != 2) fail("set_system", 1402);
  // Checked as SetWindowExtents checks a size, since the resize happens in its place.
  for (Hlong i = 0; i < value.Length(); ++i) {
    const Hlong side = integerAt(value, i, "set_system", 2);
    if (side < 1 || side > kMaxWindowSide) fail("set_system", 1302);
  }
  quorvex::common::Lock lock(resizeMutex);
  resizeAtDump = value;
}

HTuple getResizeAtDump() {
  quorvex::common::Lock lock(resizeMutex);
  return resizeAtDump;
}

void resizeIfArmed(Hlong handle, const char* op) {
  HTuple size;
  {
    quorvex::common::Lock lock(resizeMutex);
    std::swap(size, resizeAtDump);
  }
  if (size.Length() != 2) return;
  windowTable().with(handle, op, [&](Window& window) {
    window.resize(static_cast<std::int32_t>(size[0].L()), static_cast<std::int32_t>(size[1].L()));
  });
}

const bool dumpRegistered = [] {
  registerControl("standin_dump_channels", &setDumpChannels, &getDumpChannels);
  registerControl("standin_resize_at_dump", &setResizeAtDump, &getResizeAtDump);
  return true;
}();

struct Framebuffer {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> planes[3];
};

Framebuffer copyFramebuffer(const HTuple& windowHandle, const char* op) {
  Framebuffer copy;
  windowTable().with(handleOf(windowHandle, op), op, [&](Window& window) {
    copy.width = window.width;
    copy.height = window.height;
    for (int c = 0; c < 3; ++c) copy.planes[c] = window.planes[c];
  });
  return copy;
}

}  // namespace

void DumpWindowImage(HObject* Image, const HTuple& WindowHandle) {
  ApiScope scope("DumpWindowImage");
  logWindowCall("DumpWindowImage", WindowHandle);
  const char* op = "dump_window_image";
  resizeIfArmed(handleOf(WindowHandle, op), op);
  const Framebuffer frame = copyFramebuffer(WindowHandle, op);
  const int channels = dumpChannels.load();
  std::vector<PlanePtr> planes;
  for (int c = 0; c < channels; ++c) {
    auto plane = std::make_shared<Plane>(frame.width, frame.height, op);
    if (c < 3) {
      std::memcpy(plane->data(), frame.planes[c].data(), frame.planes[c].size());
    } else {
      std::memset(plane->data(), 255, frame.planes[0].size());
    }
    planes.push_back(std::move(plane));
  }
  setOutput(Image, objectOf({makeImage(frame.width, frame.height, std::move(planes))}));
}

void DumpWindow(const HTuple& WindowHandle, const HTuple& Device, const HTuple& FileName) {
  ApiScope scope("DumpWindow");
  logWindowCall("DumpWindow", WindowHandle, Device, FileName);
  const char* op = "dump_window";
  handleOf(WindowHandle, op);
  if (oneString(Device, op, 2) != "png") fail(op, 1302);
  const std::string fileName = oneString(FileName, op, 3);
  if (palettePngRequested()) {
    // Indexing reads the framebuffer once, under the lock, in place of copying it.
    IndexedPicture picture;
    const bool indexed = windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) {
      return indexPicture(
          PlaneView{window.width,
                    window.height,
                    {window.planes[0].data(), window.planes[1].data(), window.planes[2].data()}},
          &picture);
    });
    if (indexed) {
      const EncodedPicture png = encodeIndexedPicture(picture);
      if (!png.empty()) {
        writeWholeFile(pngFileName(fileName), png.data(), png.size(), op);
        return;
      }
    }
  }
  const Framebuffer frame = copyFramebuffer(WindowHandle, op);
  writePng(pngFileName(fileName), frame.width, frame.height,
           {frame.planes[0].data(), frame.planes[1].data(), frame.planes[2].data()}, op);
}

}  // namespace HalconCpp
