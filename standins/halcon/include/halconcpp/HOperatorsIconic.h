#ifndef HALCONCPP_HOPERATORSICONIC_H
#define HALCONCPP_HOPERATORSICONIC_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Operators on images, regions and contours. Parameters in the vendor's order: iconic
// inputs, iconic outputs, control inputs, control outputs. An output pointer passed as null
// is not written. Images hold pixels of type "byte" only.
namespace HalconCpp {

// Images. A created image wider or taller than the system parameters "width"/"height"
// raises those parameters to its size.
HALCONCPP_API void GenImageGrayRamp(HObject* ImageGrayRamp, const HTuple& Alpha, const HTuple& Beta,
                                    const HTuple& Mean, const HTuple& Row, const HTuple& Column,
                                    const HTuple& Width, const HTuple& Height);
HALCONCPP_API void GenImageSurfaceFirstOrder(HObject* ImageSurface, const HTuple& Type,
                                             const HTuple& Alpha, const HTuple& Beta,
                                             const HTuple& Gamma, const HTuple& Row,
                                             const HTuple& Column, const HTuple& Width,
                                             const HTuple& Height);
HALCONCPP_API void GenImageSurfaceSecondOrder(HObject* ImageSurface, const HTuple& Type,
                                              const HTuple& Alpha, const HTuple& Beta,
                                              const HTuple& Gamma, const HTuple& Delta,
                                              const HTuple& Epsilon, const HTuple& Zeta,
                                              const HTuple& Row, const HTuple& Column,
                                              const HTuple& Width, const HTuple& Height);
HALCONCPP_API void GenImageConst(HObject* Image, const HTuple& Type, const HTuple& Width,
                                 const HTuple& Height);
// Wraps the caller's memory without copying it; pointers are integer tuple elements.
// ClearProc is the address of a function void f(void*) called for each plane when the last
// object sharing it goes away; 0: never freed.
HALCONCPP_API void GenImage1Extern(HObject* Image, const HTuple& Type, const HTuple& Width,
                                   const HTuple& Height, const HTuple& PixelPointer,
                                   const HTuple& ClearProc);
// An image whose rows are VerticalPitch bytes of pixels of HorizontalBitPitch bits (8: byte,
// 16: uint2, 32: int4) with the domain Width x Height; DoCopy 'true' copies the memory,
// 'false' uses it in place, released through ClearProc as for GenImage1Extern.
HALCONCPP_API void GenImage1Rect(HObject* Image, const HTuple& PixelPointer, const HTuple& Width,
                                 const HTuple& Height, const HTuple& VerticalPitch,
                                 const HTuple& HorizontalBitPitch, const HTuple& BitsPerPixel,
                                 const HTuple& DoCopy, const HTuple& ClearProc);
HALCONCPP_API void GenImage3Extern(HObject* Image, const HTuple& Type, const HTuple& Width,
                                   const HTuple& Height, const HTuple& PointerRed,
                                   const HTuple& PointerGreen, const HTuple& PointerBlue,
                                   const HTuple& ClearProc);
// Copies Width x Height pixels of the type from each address.
HALCONCPP_API void GenImage1(HObject* Image, const HTuple& Type, const HTuple& Width,
                             const HTuple& Height, const HTuple& PixelPointer);
HALCONCPP_API void GenImage3(HObject* ImageRGB, const HTuple& Type, const HTuple& Width,
                             const HTuple& Height, const HTuple& PixelPointerRed,
                             const HTuple& PixelPointerGreen, const HTuple& PixelPointerBlue);
// The four above take any address from a C++ caller. Called from a program line they take
// only the start of a live plane that GetImagePointer1/3 handed out, holding the image's
// bytes (else 1300+n of the pointer); the extern ones then share that (byte) plane and take
// no ClearProc but 0 (1300+n of ClearProc).
// Writable plane addresses: writes through them are seen by every object sharing the image.
HALCONCPP_API void GetImagePointer1(const HObject& Image, HTuple* Pointer, HTuple* Type,
                                    HTuple* Width, HTuple* Height);
HALCONCPP_API void GetImagePointer3(const HObject& ImageRGB, HTuple* PointerRed,
                                    HTuple* PointerGreen, HTuple* PointerBlue, HTuple* Type,
                                    HTuple* Width, HTuple* Height);
// The first pixel of the smallest rectangle around the domain of one one-channel byte, uint2
// or int4 image, the rectangle's size, the row pitch in bytes and the pixel's bits (an empty
// domain: the plane's start and 0 x 0).
HALCONCPP_API void GetImagePointer1Rect(const HObject& Image, HTuple* PixelPointer, HTuple* Width,
                                        HTuple* Height, HTuple* VerticalPitch,
                                        HTuple* HorizontalBitPitch, HTuple* BitsPerPixel);
// Channel counts from 1; the result shares the channel's plane.
HALCONCPP_API void AccessChannel(const HObject& MultiChannelImage, HObject* Image,
                                 const HTuple& Channel);
// Share the first channel of each input without copying; the domain is where the inputs'
// domains meet. Compose3 is here, the others with the image operators.
HALCONCPP_API void Compose3(const HObject& Image1, const HObject& Image2, const HObject& Image3,
                            HObject* MultiChannelImage);
HALCONCPP_API void CountChannels(const HObject& MultiChannelImage, HTuple* Channels);
HALCONCPP_API void FullDomain(const HObject& Image, HObject* ImageFull);
HALCONCPP_API void GetImageSize(const HObject& Image, HTuple* Width, HTuple* Height);
// Each image at the top-left of its tile, tiles as large as the largest image.
HALCONCPP_API void TileImages(const HObject& Images, HObject* TiledImage, const HTuple& NumColumns,
                              const HTuple& TileOrder);
HALCONCPP_API void TileChannels(const HObject& Image, HObject* TiledImage, const HTuple& NumColumns,
                                const HTuple& TileOrder);
HALCONCPP_API void TileImagesOffset(const HObject& Images, HObject* TiledImage,
                                    const HTuple& OffsetRow, const HTuple& OffsetCol,
                                    const HTuple& Row1, const HTuple& Col1, const HTuple& Row2,
                                    const HTuple& Col2, const HTuple& Width, const HTuple& Height);
// Grey values of many points; a multi-channel image gives every channel of the first point,
// then every channel of the second, and so on.
HALCONCPP_API void GetGrayval(const HObject& Image, const HTuple& Row, const HTuple& Column,
                              HTuple* Grayval);
// Reads the whole image, whatever its domain.
HALCONCPP_API void GetGrayvalInterpolated(const HObject& Image, const HTuple& Row,
                                          const HTuple& Column, const HTuple& Interpolation,
                                          HTuple* Grayval);
HALCONCPP_API void GetGrayvalContourXld(const HObject& Image, const HObject& Contour,
                                        const HTuple& Interpolation, HTuple* Grayval);
// Writes into the image in place, seen by every object sharing it.
HALCONCPP_API void SetGrayval(const HObject& Image, const HTuple& Row, const HTuple& Column,
                              const HTuple& Grayval);
HALCONCPP_API void PaintRegion(const HObject& Region, const HObject& Image, HObject* ImageResult,
                               const HTuple& Grayval, const HTuple& Type);
// In place, as SetGrayval.
HALCONCPP_API void OverpaintRegion(const HObject& Image, const HObject& Region,
                                   const HTuple& Grayval, const HTuple& Type);
HALCONCPP_API void OverpaintGray(const HObject& ImageDestination, const HObject& ImageSource);
HALCONCPP_API void PaintGray(const HObject& ImageSource, const HObject& ImageDestination,
                             HObject* MixedImage);
HALCONCPP_API void ReadImage(HObject* Image, const HTuple& FileName);
HALCONCPP_API void WriteImage(const HObject& Image, const HTuple& Format, const HTuple& FillColor,
                              const HTuple& FileName);

// Regions.
HALCONCPP_API void GenRectangle1(HObject* Rectangle, const HTuple& Row1, const HTuple& Column1,
                                 const HTuple& Row2, const HTuple& Column2);
HALCONCPP_API void GenCircle(HObject* Circle, const HTuple& Row, const HTuple& Column,
                             const HTuple& Radius);
HALCONCPP_API void Threshold(const HObject& Image, HObject* Region, const HTuple& MinGray,
                             const HTuple& MaxGray);
HALCONCPP_API void Connection(const HObject& Region, HObject* ConnectedRegions);
HALCONCPP_API void AreaCenter(const HObject& Regions, HTuple* Area, HTuple* Row, HTuple* Column);

// Contours.
HALCONCPP_API void GenContourPolygonXld(HObject* Contour, const HTuple& Row, const HTuple& Col);

// Request 'type' of one object: 'region' (or 'xld') for component 0, each channel's pixel type.
HALCONCPP_API void GetChannelInfo(const HObject& Object, const HTuple& Request,
                                  const HTuple& Channel, HTuple* Information);

}  // namespace HalconCpp

#endif
