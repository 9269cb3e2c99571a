// Functions in files (HALCON 11.0 write_funct_1d, read_funct_1d): the reference asks for an
// ASCII format that read_funct_1d reads back, and a function is a tuple, so its file is the
// tuple's file as write_tuple writes it.
#include "core/params.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsFile.h"
#include "halconcpp/HOperatorsTools.h"
#include "operators/tools/funct_1d.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void WriteFunct1d(const HTuple& Function, const HTuple& FileName) {
  ApiScope scope("WriteFunct1d");
  const char* op = "write_funct_1d";
  // Only a function is written, in the layout the other operators give back.
  const HTuple tuple = functionTuple(functionOf(Function, op, 1));
  const std::string name = oneString(FileName, op, 2);
  try {
    WriteTuple(tuple, HTuple(name.c_str()));
  } catch (const HException& e) {
    fail(op, e.ErrorCode());
  }
}

void ReadFunct1d(const HTuple& FileName, HTuple* Function) {
  ApiScope scope("ReadFunct1d");
  const char* op = "read_funct_1d";
  const std::string name = oneString(FileName, op, 1);
  HTuple tuple;
  try {
    ReadTuple(HTuple(name.c_str()), &tuple);
  } catch (const HException& e) {
    fail(op, e.ErrorCode());
  }
  // A tuple file that holds no function is not one write_funct_1d wrote.
  try {
    tuple = functionTuple(functionOf(tuple, op, 1));
  } catch (const HException&) {
    fail(op, H_ERR_FILE_FORMAT);
  }
  setOutput(Function, tuple);
}

}  // namespace HalconCpp
