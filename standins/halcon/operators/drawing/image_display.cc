// Images shown by channel: the first as grey values, three as colour, or those named. Each
// draws through DispObj, which is what the window log records.
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsDrawing.h"
#include "halconcpp/HOperatorsIconic.h"
#include "halconcpp/HOperatorsWindow.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The channels named (counted from 1) of every image, as one image each: one channel shows
// as grey values, three as colour.
void showChannels(const HObject& images, const HTuple& window, const HTuple& channels,
                  const char* op) {
  for (const ImagePtr& image : imagesOf(images, op, 1)) {
    for (Hlong i = 0; i < channels.Length(); ++i) {
      const Hlong channel = integerAt(channels, i, op, 2);
      if (channel < 1 || channel > static_cast<Hlong>(image->channels.size())) fail(op, 1302);
    }
  }
  HObject shown;
  if (channels.Length() == 1) {
    AccessChannel(images, &shown, channels);
  } else {
    HObject red, green, blue;
    AccessChannel(images, &red, channels[0]);
    AccessChannel(images, &green, channels[1]);
    AccessChannel(images, &blue, channels[2]);
    Compose3(red, green, blue, &shown);
  }
  DispObj(shown, window);
}

}  // namespace

void DispImage(const HObject& Image, const HTuple& WindowHandle) {
  ApiScope scope("DispImage");
  showChannels(Image, WindowHandle, HTuple(Hlong{1}), "disp_image");
}

void DispColor(const HObject& ColorImage, const HTuple& WindowHandle) {
  ApiScope scope("DispColor");
  const char* op = "disp_color";
  for (const ImagePtr& image : imagesOf(ColorImage, op, 1)) {
    if (image->channels.size() != 3) fail(op, H_ERR_CHANNEL_COUNT);
  }
  HTuple rgb;
  for (Hlong c = 1; c <= 3; ++c) rgb.Append(HTuple(c));
  showChannels(ColorImage, WindowHandle, rgb, op);
}

void DispChannel(const HObject& MultichannelImage, const HTuple& WindowHandle,
                 const HTuple& Channel) {
  ApiScope scope("DispChannel");
  const char* op = "disp_channel";
  if (Channel.Length() != 1 && Channel.Length() != 3) fail(op, 1402);
  showChannels(MultichannelImage, WindowHandle, Channel, op);
}

}  // namespace HalconCpp
