// Text files behind integer handles, tuple files, folders and the steady clock.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>

#include "common/handle_table.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/serialized_items.h"
#include "halconcpp/HOperatorsFile.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace fs = std::filesystem;

namespace {

constexpr Hlong kFileHandle = 5203;
constexpr Hlong kFileMode = 5204;

// What one read may return ("standin_text_limit" bytes of text, "standin_value_limit"
// elements): the engine's defaults for one value, so that a file without line ends (or a
// device such as /dev/zero) fails at the bound with 6001 instead of filling memory.
std::atomic<Hlong> textLimit{Hlong{1} << 24};
std::atomic<Hlong> valueLimit{Hlong{1} << 24};

Hlong positiveInteger(const HTuple& value) {
  const Hlong number = oneInteger(value, "set_system", 2);
  if (number < 1) fail("set_system", 1302);
  return number;
}

const bool fileIoRegistered = [] {
  registerErrorText(kFileHandle, "Invalid file handle");
  registerErrorText(kFileMode, "Wrong file access mode for this operation");
  registerControl(
      "standin_text_limit", [](const HTuple& v) { textLimit = positiveInteger(v); },
      [] { return HTuple(textLimit.load()); });
  registerControl(
      "standin_value_limit", [](const HTuple& v) { valueLimit = positiveInteger(v); },
      [] { return HTuple(valueLimit.load()); });
  return true;
}();

// Raises 6001 in `op` when `bytes` of text are more than one read may return.
void checkText(unsigned long long bytes, const char* op) {
  if (bytes > static_cast<unsigned long long>(textLimit.load())) fail(op, H_ERR_NO_MEMORY);
}

struct OpenTextFile {
  std::fstream stream;
  bool reading = false;
  bool binary = false;  // opened as 'input_binary', 'output_binary' or 'append_binary'
};

class FileTable {
 public:
  Hlong add(std::unique_ptr<OpenTextFile> file) { return table_.add(std::move(file)); }
  void remove(Hlong handle, const char* op) {
    if (!table_.remove(handle)) fail(op, kFileHandle);
  }
  void clear() { table_.clear(); }
  // Runs fn(std::fstream&) under the table's lock, on a file open for reading or not.
  template <typename Fn>
  decltype(auto) with(const HTuple& handle, bool reading, const char* op, Fn&& fn) {
    const Hlong key = oneInteger(handle, op, 1);
    return table_.with(
        key, [op] { fail(op, kFileHandle); },
        [&](std::unique_ptr<OpenTextFile>& file) -> decltype(auto) {
          if (file->reading != reading) fail(op, kFileMode);
          return std::forward<Fn>(fn)(file->stream);
        });
  }
  // The same for the serialized items, which only binary files hold.
  template <typename Fn>
  decltype(auto) withBinary(const HTuple& handle, bool reading, const char* op, Fn&& fn) {
    const Hlong key = oneInteger(handle, op, 1);
    return table_.with(
        key, [op] { fail(op, kFileHandle); },
        [&](std::unique_ptr<OpenTextFile>& file) -> decltype(auto) {
          if (file->reading != reading || !file->binary) fail(op, kFileMode);
          return std::forward<Fn>(fn)(file->stream);
        });
  }

 private:
  quorvex::common::HandleTable<Hlong, std::unique_ptr<OpenTextFile>> table_{1};
};

FileTable& files() {
  static FileTable* table = new FileTable;  // outlives every static destructor
  return *table;
}

bool isBlank(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// An element's text as string concatenation makes it, so numbers read the same everywhere.
std::string elementText(const HTuple& tuple, Hlong i) {
  return (HTuple("") + tuple[i]).S().Text();
}

[[noreturn]] void badTupleFile() {
  fail("read_tuple", H_ERR_FILE_FORMAT);
}

// Sizes a file declares are checked against what the file holds before memory is taken for
// them: every element takes at least two bytes ("1 0" and a separator), a text its length.
HTuple parseTupleFile(std::istream& in, unsigned long long fileSize) {
  const char* op = "read_tuple";
  std::string word;
  long long count = -1;
  if (!(in >> word) || word != "HTuple" || !(in >> count) || count < 0) badTupleFile();
  if (static_cast<unsigned long long>(count) > fileSize / 2) badTupleFile();
  if (count > valueLimit.load()) fail(op, H_ERR_NO_MEMORY);
  HTuple tuple;
  unsigned long long textTotal = 0;
  for (long long i = 0; i < count; ++i) {
    int kind = 0;
    if (!(in >> kind)) badTupleFile();
    if (kind == 4) {
      unsigned long long bytes = 0;
      if (!(in >> bytes) || in.get() != ' ') badTupleFile();
      const std::streamoff at = in.tellg();
      if (at < 0 || bytes > fileSize - static_cast<unsigned long long>(at)) badTupleFile();
      textTotal += bytes;
      checkText(textTotal, op);
      std::string text(static_cast<std::size_t>(bytes), '\0');
      if (bytes > 0 && !in.read(&text[0], static_cast<std::streamsize>(bytes))) badTupleFile();
      tuple.Append(text.c_str());
      continue;
    }
    if (!(in >> word)) badTupleFile();
    std::istringstream number(word);
    number.imbue(std::locale::classic());
    if (kind == 1) {
      long long value = 0;
      if (!(number >> value) || !number.eof()) badTupleFile();
      tuple.Append(HTuple(static_cast<Hlong>(value)));
    } else if (kind == 2) {
      double value = 0;
      if (!(number >> value) || !number.eof()) badTupleFile();
      tuple.Append(HTuple(value));
    } else {
      badTupleFile();
    }
  }
  if (in >> word) badTupleFile();
  return tuple;
}

}  // namespace

}  // namespace Standin

using namespace Standin;

void OpenFile(const HTuple& FileName, const HTuple& FileType, HTuple* FileHandle) {
  ApiScope scope("OpenFile");
  const char* op = "open_file";
  const std::string name = oneString(FileName, op, 1);
  const std::string type = oneString(FileType, op, 2);
  auto file = std::make_unique<OpenTextFile>();
  std::ios::openmode mode = std::ios::binary;
  const auto binary = type.rfind("_binary");
  file->binary = binary != std::string::npos && binary + 7 == type.size();
  const std::string access = file->binary ? type.substr(0, binary) : type;
  if (access == "input") {
    mode |= std::ios::in;
    file->reading = true;
  } else if (access == "output") {
    mode |= std::ios::out | std::ios::trunc;
  } else if (access == "append") {
    mode |= std::ios::out | std::ios::app;
  } else {
    fail(op, 1302);
  }
  std::error_code error;
  if (name.empty() || fs::is_directory(fs::u8path(name), error)) {
    fail(op, file->reading ? H_ERR_FILE_NOT_FOUND : H_ERR_FILE_WRITE);
  }
  file->stream.open(fs::u8path(name), mode);
  if (!file->stream) fail(op, file->reading ? H_ERR_FILE_NOT_FOUND : H_ERR_FILE_WRITE);
  setOutput(FileHandle, HTuple(files().add(std::move(file))));
}

void FwriteString(const HTuple& FileHandle, const HTuple& String) {
  ApiScope scope("FwriteString");
  const char* op = "fwrite_string";
  std::string text;
  for (Hlong i = 0; i < String.Length(); ++i) text += elementText(String, i);
  files().with(FileHandle, false, op, [&](std::fstream& stream) {
    if (!stream.write(text.data(), static_cast<std::streamsize>(text.size())).flush()) {
      fail(op, H_ERR_FILE_WRITE);
    }
  });
}

void FnewLine(const HTuple& FileHandle) {
  ApiScope scope("FnewLine");
  const char* op = "fnew_line";
  files().with(FileHandle, false, op, [&](std::fstream& stream) {
    if (!stream.put('\n').flush()) fail(op, H_ERR_FILE_WRITE);
  });
}

void FreadString(const HTuple& FileHandle, HTuple* OutString, HTuple* IsEOF) {
  ApiScope scope("FreadString");
  std::string word;
  bool ended = false;
  const auto limit = static_cast<std::size_t>(textLimit.load());
  files().with(FileHandle, true, "fread_string", [&](std::fstream& stream) {
    int c = stream.get();
    while (c != EOF && isBlank(c)) c = stream.get();
    ended = c == EOF;
    while (c != EOF && !isBlank(c)) {
      if (word.size() >= limit) {
        stream.clear();
        fail("fread_string", H_ERR_NO_MEMORY);
      }
      word += static_cast<char>(c);
      c = stream.get();
    }
    stream.clear();
  });
  setOutput(OutString, HTuple(word.c_str()));
  setOutput(IsEOF, HTuple(Hlong(ended ? 1 : 0)));
}

void FreadLine(const HTuple& FileHandle, HTuple* OutLine, HTuple* IsEOF) {
  ApiScope scope("FreadLine");
  std::string line;
  const auto limit = static_cast<std::size_t>(textLimit.load());
  files().with(FileHandle, true, "fread_line", [&](std::fstream& stream) {
    for (int c = stream.get(); c != EOF; c = stream.get()) {
      if (line.size() >= limit) {
        stream.clear();
        fail("fread_line", H_ERR_NO_MEMORY);
      }
      line += static_cast<char>(c);
      if (c == '\n') break;
    }
    stream.clear();
  });
  setOutput(OutLine, HTuple(line.c_str()));
  setOutput(IsEOF, HTuple(Hlong(line.empty() ? 1 : 0)));
}

void FreadChar(const HTuple& FileHandle, HTuple* Char) {
  ApiScope scope("FreadChar");
  std::string text = "eof";
  files().with(FileHandle, true, "fread_char", [&](std::fstream& stream) {
    const int c = stream.get();
    if (c != EOF) text.assign(1, static_cast<char>(c));
    stream.clear();
  });
  setOutput(Char, HTuple(text.c_str()));
}

// A serialized item in a file: eight bytes of magic, the item's size as eight bytes
// (little-endian), then its bytes.
constexpr char kItemFrame[8] = {'Q', 'V', 'X', 'I', 'T', 'E', 'M', '\n'};

void FwriteSerializedItem(const HTuple& FileHandle, const HTuple& SerializedItemHandle) {
  ApiScope scope("FwriteSerializedItem");
  const char* op = "fwrite_serialized_item";
  const SerializedItemPtr item = serializedItem(SerializedItemHandle, op, 2);
  std::string frame(kItemFrame, sizeof kItemFrame);
  for (int i = 0; i < 8; ++i) {
    frame.push_back(static_cast<char>((std::uint64_t{item->bytes.size()} >> (8 * i)) & 0xff));
  }
  files().withBinary(FileHandle, false, op, [&](std::fstream& stream) {
    if (!stream.write(frame.data(), static_cast<std::streamsize>(frame.size()))
             .write(item->bytes.data(), static_cast<std::streamsize>(item->bytes.size()))
             .flush()) {
      fail(op, H_ERR_FILE_WRITE);
    }
  });
}

// The size a frame declares is charged to the pixel bound before the bytes are read, and the
// bytes must be there: a short or foreign file is 5202, never an allocation it did not pay for.
void FreadSerializedItem(const HTuple& FileHandle, HTuple* SerializedItemHandle) {
  ApiScope scope("FreadSerializedItem");
  const char* op = "fread_serialized_item";
  std::string bytes;
  files().withBinary(FileHandle, true, op, [&](std::fstream& stream) {
    char header[16];
    if (!stream.read(header, sizeof header) ||
        std::memcmp(header, kItemFrame, sizeof kItemFrame) != 0) {
      stream.clear();
      fail(op, H_ERR_FILE_FORMAT);
    }
    std::uint64_t size = 0;
    for (int i = 0; i < 8; ++i) {
      size |= std::uint64_t{static_cast<unsigned char>(header[8 + i])} << (8 * i);
    }
    const std::streamoff here = stream.tellg();
    stream.seekg(0, std::ios::end);
    const std::streamoff end = stream.tellg();
    stream.seekg(here);
    if (here >= 0 && end >= here && static_cast<std::uint64_t>(end - here) < size) {
      stream.clear();
      fail(op, H_ERR_FILE_FORMAT);
    }
    stream.clear();
    const PixelReservation held(size, op);
    if (size > std::numeric_limits<std::size_t>::max()) fail(op, H_ERR_NO_MEMORY);
    bytes.resize(static_cast<std::size_t>(size));
    if (!stream.read(&bytes[0], static_cast<std::streamsize>(size))) {
      stream.clear();
      fail(op, H_ERR_FILE_FORMAT);
    }
  });
  setOutput(SerializedItemHandle, HTuple(addSerializedItem(std::move(bytes), op)));
}

void CloseFile(const HTuple& FileHandle) {
  ApiScope scope("CloseFile");
  files().remove(oneInteger(FileHandle, "close_file", 1), "close_file");
}

void CloseAllFiles() {
  ApiScope scope("CloseAllFiles");
  files().clear();
}

void WriteTuple(const HTuple& Tuple, const HTuple& FileName) {
  ApiScope scope("WriteTuple");
  const char* op = "write_tuple";
  const std::string name = oneString(FileName, op, 2);
  std::ostringstream text;
  text << "HTuple " << Tuple.Length() << '\n';
  for (Hlong i = 0; i < Tuple.Length(); ++i) {
    const int kind = Tuple[i].Type();
    const std::string value = elementText(Tuple, i);
    text << kind << ' ';
    if (kind == eElementTypeString) text << value.size() << ' ';
    text << value << '\n';
  }
  std::ofstream out(fs::u8path(name), std::ios::binary | std::ios::trunc);
  const std::string bytes = text.str();
  if (name.empty() ||
      !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

void ReadTuple(const HTuple& FileName, HTuple* Tuple) {
  ApiScope scope("ReadTuple");
  const char* op = "read_tuple";
  const std::string name = oneString(FileName, op, 1);
  std::ifstream in(fs::u8path(name), std::ios::binary);
  if (name.empty() || !in) fail(op, H_ERR_FILE_NOT_FOUND);
  in.imbue(std::locale::classic());
  std::error_code error;
  const auto size = fs::file_size(fs::u8path(name), error);
  if (error) fail(op, H_ERR_FILE_NOT_FOUND);
  setOutput(Tuple, parseTupleFile(in, static_cast<unsigned long long>(size)));
}

void DeleteFile(const HTuple& FileName) {
  ApiScope scope("DeleteFile");
  const char* op = "delete_file";
  const fs::path path = fs::u8path(oneString(FileName, op, 1));
  std::error_code error;
  if (!fs::exists(fs::symlink_status(path, error))) fail(op, H_ERR_FILE_NOT_FOUND);
  if (fs::is_directory(fs::symlink_status(path, error)) || !fs::remove(path, error) || error) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

void CopyFile(const HTuple& SourceFile, const HTuple& DestinationFile) {
  ApiScope scope("CopyFile");
  const char* op = "copy_file";
  const fs::path source = fs::u8path(oneString(SourceFile, op, 1));
  const std::string target = oneString(DestinationFile, op, 2);
  std::error_code error;
  if (!fs::is_regular_file(source, error)) fail(op, H_ERR_FILE_NOT_FOUND);
  if (target.empty() ||
      !fs::copy_file(source, fs::u8path(target), fs::copy_options::overwrite_existing, error) ||
      error) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

void MakeDir(const HTuple& DirName) {
  ApiScope scope("MakeDir");
  const char* op = "make_dir";
  const std::string name = oneString(DirName, op, 1);
  std::error_code error;
  if (name.empty() || !fs::create_directory(fs::u8path(name), error) || error) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

void RemoveDir(const HTuple& DirName) {
  ApiScope scope("RemoveDir");
  const char* op = "remove_dir";
  const fs::path path = fs::u8path(oneString(DirName, op, 1));
  std::error_code error;
  if (!fs::is_directory(path, error)) fail(op, H_ERR_FILE_NOT_FOUND);
  // fs::remove would also take a folder with entries on some platforms' terms; the operator
  // removes empty folders only.
  if (!fs::is_empty(path, error) || error || !fs::remove(path, error) || error) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

void CountSeconds(HTuple* Seconds) {
  ApiScope scope("CountSeconds");
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  setOutput(Seconds, HTuple(std::chrono::duration<double>(now).count()));
}

}  // namespace HalconCpp
