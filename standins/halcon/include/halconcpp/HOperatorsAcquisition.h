#ifndef HALCONCPP_HOPERATORSACQUISITION_H
#define HALCONCPP_HOPERATORSACQUISITION_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Image acquisition through the vendor's virtual 'File' interface, the one interface the
// stand-in has. CameraType names an image file (found as ReadImage finds it, extension
// optional), a folder (every image file in it, in name order) or a sequence file ending in
// ".seq" (one image path a line; relative paths from the sequence file's folder first).
// Grabs deliver the images in order and start again after the last one; with
// 'do_loop' 'false' a grab past the last image raises 5308 instead. AcqHandle is an integer.
// With the environment variable QUORVEX_ACQUISITION_REPLAY naming a folder or a sequence
// file, any other interface name opens the File interface over it (another name without the
// variable: 5302); the camera's own parameters are remembered as set.
namespace HalconCpp {

HALCONCPP_API void OpenFramegrabber(const HTuple& Name, const HTuple& HorizontalResolution,
                                    const HTuple& VerticalResolution, const HTuple& ImageWidth,
                                    const HTuple& ImageHeight, const HTuple& StartRow,
                                    const HTuple& StartColumn, const HTuple& Field,
                                    const HTuple& BitsPerChannel, const HTuple& ColorSpace,
                                    const HTuple& Generic, const HTuple& ExternalTrigger,
                                    const HTuple& CameraType, const HTuple& Device,
                                    const HTuple& Port, const HTuple& LineIn, HTuple* AcqHandle);
HALCONCPP_API void GrabImage(HObject* Image, const HTuple& AcqHandle);
// A file is at hand at once: MaxDelay is checked and has nothing to wait for.
HALCONCPP_API void GrabImageStart(const HTuple& AcqHandle, const HTuple& MaxDelay);
HALCONCPP_API void GrabImageAsync(HObject* Image, const HTuple& AcqHandle, const HTuple& MaxDelay);
// The image as GrabImage gives it; Region and Contours are empty objects and Data an empty
// tuple, as for an interface that delivers none of them.
HALCONCPP_API void GrabData(HObject* Image, HObject* Region, HObject* Contours,
                            const HTuple& AcqHandle, HTuple* Data);
HALCONCPP_API void GrabDataAsync(HObject* Image, HObject* Region, HObject* Contours,
                                 const HTuple& AcqHandle, const HTuple& MaxDelay, HTuple* Data);
HALCONCPP_API void InfoFramegrabber(const HTuple& Name, const HTuple& Query, HTuple* Information,
                                    HTuple* ValueList);
HALCONCPP_API void SetFramegrabberParam(const HTuple& AcqHandle, const HTuple& Param,
                                        const HTuple& Value);
HALCONCPP_API void GetFramegrabberParam(const HTuple& AcqHandle, const HTuple& Param,
                                        HTuple* Value);
HALCONCPP_API void CloseFramegrabber(const HTuple& AcqHandle);
HALCONCPP_API void CloseAllFramegrabbers();

}  // namespace HalconCpp

#endif
