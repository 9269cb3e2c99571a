#ifndef HALCONCPP_HOPERATORSFILE_H
#define HALCONCPP_HOPERATORSFILE_H

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

}  // namespace HalconCpp

#endif
