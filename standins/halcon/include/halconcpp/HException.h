#ifndef HALCONCPP_HEXCEPTION_H
#define HALCONCPP_HEXCEPTION_H

#include "halconcpp/HString.h"

namespace HalconCpp {

// The error every operator raises: an error number, a message and the name of the operator
// that failed. The message of an operator failure reads like the vendor's,
// "HALCON error #1301: Wrong value of control parameter 1 in operator get_system".
class HALCONCPP_API HException {
 public:
  HException(const char* message, Hlong errorCode);
  HException(const char* procName, const char* message, Hlong errorCode);
  virtual ~HException();

  HException(const HException&) = default;
  HException& operator=(const HException&) = default;

  Hlong ErrorCode() const { return errorCode_; }
  const HString& ErrorMessage() const { return message_; }
  const HString& ProcName() const { return procName_; }

  // Builds the exception an operator raises for an error number: the message carries the
  // error's text and the operator's name.
  static HException ForOperator(const char* procName, Hlong errorCode);

 private:
  HString procName_;
  HString message_;
  Hlong errorCode_;
};

// Error numbers the stand-ins raise beyond the parameter checks 1201-1209 (wrong type),
// 1301-1309 (wrong value) and 1401-1409 (wrong number of values) of control parameters and
// 1101-1109 (wrong object class) and 1501-1509 (wrong number of objects) of iconic inputs.
// GetErrorText knows them all.
enum HStandinError : Hlong {
  H_ERR_TUPLE_INDEX = 2101,      // tuple index out of range
  H_ERR_TUPLE_TYPE = 2102,       // element of the wrong kind for the access
  H_ERR_TUPLE_DIV_ZERO = 2103,   // integer division by zero
  H_ERR_TUPLE_OP_TYPE = 2104,    // arithmetic not defined for these element kinds
  H_ERR_SIZES_DIFFER = 3030,     // images of different sizes where they must match
  H_ERR_CHANNELS_DIFFER = 3031,  // images with different numbers of channels
  H_ERR_CHANNEL_COUNT = 3032,    // an image without the channels the operator needs
  H_ERR_WINDOW_HANDLE = 5100,    // a closed or unknown window handle
  H_ERR_WINDOW_OPEN = 5101,      // no window can be opened ("standin_window_limit")
  H_ERR_FILE_NOT_FOUND = 5200,   // no readable file under the name (or with an extension)
  H_ERR_FILE_WRITE = 5201,       // the file could not be written
  H_ERR_FILE_FORMAT = 5202,      // not an image file the stand-in can read
  H_ERR_ACQ_INTERFACE = 5302,    // no image acquisition interface of that name
  H_ERR_ACQ_GRAB = 5308,         // a grab past the last image while not looping
  H_ERR_ACQ_HANDLE = 5313,       // a closed or unknown image acquisition handle
  H_ERR_ACQ_PARAM = 5330,        // a parameter the acquisition interface does not have
  H_ERR_ACQ_VALUE = 5331,        // a value the acquisition interface does not accept
  H_ERR_NO_MEMORY = 6001,        // pixel memory could not be allocated
  H_ERR_WIT = 9001,              // an image of a pixel type the operator does not take
  H_ERR_MATRIX_SING = 9205,      // a matrix without an inverse
  H_ERR_INJECTED = 9999,         // conventional number of an injected fault
};

}  // namespace HalconCpp

#endif
