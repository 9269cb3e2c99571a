// A folder of this run's own under the system's temporary folder, for the files the runner
// hands to the engine. The temporary folder is shared with every other user: a fixed name
// there may already be theirs, so the folder is made with a fresh name that nobody else can
// have made (mkdtemp: created exclusively, mode 0700) and checked to be a folder of this user
// before anything is written into it.
#ifndef QUORVEX_TOOLS_RUN_PRIVATE_FOLDER_H
#define QUORVEX_TOOLS_RUN_PRIVATE_FOLDER_H

#include <string>

namespace quorvex::run {

class PrivateFolder {
 public:
  // Raises std::runtime_error, naming the temporary folder, when none can be made.
  PrivateFolder();
  // Removes the folder and everything in it.
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace quorvex::run

#endif
