#ifndef HALCONCPP_HOPERATORSFILE_H
#define HALCONCPP_HOPERATORSFILE_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Operators on files and folders. ReadImage and WriteImage are among the iconic operators.
namespace HalconCpp {

// The entries of a folder, each as Directory joined with its name by the platform's
// separator ('/', '\\' on Windows); folders end with the separator. Options: 'files',
// 'directories' (neither: both), 'recursive', 'follow_links', 'max_depth N', 'max_files N'.
// Entries come in name order, a folder's own entries right after it when recursing.
HALCONCPP_API void ListFiles(const HTuple& Directory, const HTuple& Options, HTuple* Files);
// 1 when a file or folder of that name exists, else 0.
HALCONCPP_API void FileExists(const HTuple& FileName, HTuple* FileExists);

// Text files through integer handles. FileType 'input' (must exist, 5200 otherwise),
// 'output' (created or emptied) or 'append', each also as '<type>_binary' (for serialized
// items); 5201 when it cannot be opened. Bytes pass
// unchanged: a line ends at '\n', which fnew_line writes on every platform. A closed or
// unknown handle raises 5203, reading an output file or writing an input file 5204.
HALCONCPP_API void OpenFile(const HTuple& FileName, const HTuple& FileType, HTuple* FileHandle);
// Each element's text, numbers as tuples print them (5, 2.5), with no separator.
HALCONCPP_API void FwriteString(const HTuple& FileHandle, const HTuple& String);
HALCONCPP_API void FnewLine(const HTuple& FileHandle);
// The next word, blanks and line breaks skipped before it and the one after it consumed;
// IsEOF 1 (and '') when the file ended before a word began.
HALCONCPP_API void FreadString(const HTuple& FileHandle, HTuple* OutString, HTuple* IsEOF);
// The rest of the line with its '\n'; IsEOF 1 (and '') when nothing was left.
HALCONCPP_API void FreadLine(const HTuple& FileHandle, HTuple* OutLine, HTuple* IsEOF);
// One byte as a one-character string, 'eof' past the end.
HALCONCPP_API void FreadChar(const HTuple& FileHandle, HTuple* Char);
HALCONCPP_API void CloseFile(const HTuple& FileHandle);
HALCONCPP_API void CloseAllFiles();

// A tuple as text, one element a line after a first line "HTuple <count>": "1 <integer>",
// "2 <real>" (shortest text that reads back to the same double) or "4 <bytes> <text>", so
// that blanks and line breaks in strings survive. ReadTuple raises 5202 for anything else.
HALCONCPP_API void WriteTuple(const HTuple& Tuple, const HTuple& FileName);
HALCONCPP_API void ReadTuple(const HTuple& FileName, HTuple* Tuple);

// 5200 when the file does not exist, 5201 when it cannot be removed (a folder, say).
HALCONCPP_API void DeleteFile(const HTuple& FileName);
// A copy of the file's bytes; 5200 when the source is not a file, 5201 when the copy cannot be
// written (an existing destination is replaced).
HALCONCPP_API void CopyFile(const HTuple& SourceFile, const HTuple& DestinationFile);
// One new folder; its parent must exist (5201 otherwise, or when it exists already).
HALCONCPP_API void MakeDir(const HTuple& DirName);
// One empty folder; 5200 when there is none of that name, 5201 when it is not empty.
HALCONCPP_API void RemoveDir(const HTuple& DirName);

// Iconic objects in the stand-in's own binary form (docs/standins.md, "Object files"). A
// name without an extension gets '.hobj' (objects) or '.reg' (regions); the readers take
// the name as given or with that extension. 5200: no such file; 5201: it cannot be written;
// 5202: not an object file of the stand-in, truncated or corrupt (ReadRegion: or holding
// anything but regions); 6001: larger than the pixel bound lets the stand-in hold.
HALCONCPP_API void WriteObject(const HObject& Object, const HTuple& FileName);
HALCONCPP_API void ReadObject(HObject* Object, const HTuple& FileName);
// Images stand for their domains.
HALCONCPP_API void WriteRegion(const HObject& Region, const HTuple& FileName);
HALCONCPP_API void ReadRegion(HObject* Region, const HTuple& FileName);

// Serialized items behind integer handles, in the same form. A deserializer raises 1301 for
// an unknown handle and for an item holding objects of another class than its own.
HALCONCPP_API void SerializeObject(const HObject& Object, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializeObject(HObject* Object, const HTuple& SerializedItemHandle);
HALCONCPP_API void SerializeImage(const HObject& Image, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializeImage(HObject* Image, const HTuple& SerializedItemHandle);
HALCONCPP_API void SerializeRegion(const HObject& Region, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializeRegion(HObject* Region, const HTuple& SerializedItemHandle);
HALCONCPP_API void SerializeXld(const HObject& XLD, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializeXld(HObject* XLD, const HTuple& SerializedItemHandle);
HALCONCPP_API void ClearSerializedItem(const HTuple& SerializedItemHandle);

// Tuples as serialized items (docs/standins.md, "Serialized tuples"). DeserializeTuple raises
// 1301 for an unknown handle or an item of objects, 5202 for bytes that are not a whole tuple.
HALCONCPP_API void SerializeTuple(const HTuple& Tuple, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializeTuple(const HTuple& SerializedItemHandle, HTuple* Tuple);
// Items in binary files (open_file's '..._binary' modes; any other is 5204): a frame of
// the stand-in's own, 5202 for one that is short or foreign.
HALCONCPP_API void FwriteSerializedItem(const HTuple& FileHandle,
                                        const HTuple& SerializedItemHandle);
HALCONCPP_API void FreadSerializedItem(const HTuple& FileHandle, HTuple* SerializedItemHandle);
// An item's bytes by address. The new item is always a copy of the first Size bytes. A
// program may pass only an address GetSerializedItemPtr handed out, of an item still alive
// and at least Size bytes long (else 1301); Size must be at least 1 (1302), Copy 'true' or
// 'false' (1303).
HALCONCPP_API void CreateSerializedItemPtr(const HTuple& Pointer, const HTuple& Size,
                                           const HTuple& Copy, HTuple* SerializedItemHandle);
HALCONCPP_API void GetSerializedItemPtr(const HTuple& SerializedItemHandle, HTuple* Pointer,
                                        HTuple* Size);

// Seconds on a steady clock since an arbitrary moment, for differences.
HALCONCPP_API void CountSeconds(HTuple* Seconds);

// XLD in exchange formats (HALCON 11.0 "File / XLD"). ARC/INFO generate files hold one block
// a contour: an identifier, one "first,second" point a line (row, column), and END; a last
// END closes the file. DXF files are AutoCAD Release 12 (AC1009) text files; see
// docs/standins.md, "XLD files, lines and 1-D functions in files", for what the readers take
// and the writers put in. The readers raise 5200 for no such file and 5202 (ARC/INFO) or
// 5800-5802 (DXF) for a truncated or corrupt one, 6001 past the point bound; the writers 5201.
HALCONCPP_API void WriteContourXldArcInfo(const HObject& Contours, const HTuple& FileName);
HALCONCPP_API void ReadContourXldArcInfo(HObject* Contours, const HTuple& FileName);
HALCONCPP_API void WritePolygonXldArcInfo(const HObject& Polygons, const HTuple& FileName);
HALCONCPP_API void ReadPolygonXldArcInfo(HObject* Polygons, const HTuple& FileName);
HALCONCPP_API void WriteContourXldDxf(const HObject& Contours, const HTuple& FileName);
HALCONCPP_API void ReadContourXldDxf(HObject* Contours, const HTuple& FileName,
                                     const HTuple& GenParamName, const HTuple& GenParamValue,
                                     HTuple* DxfStatus);
HALCONCPP_API void WritePolygonXldDxf(const HObject& Polygons, const HTuple& FileName);
HALCONCPP_API void ReadPolygonXldDxf(HObject* Polygons, const HTuple& FileName,
                                     const HTuple& GenParamName, const HTuple& GenParamValue,
                                     HTuple* DxfStatus);

}  // namespace HalconCpp

#endif
