// The two message channels, standard output and standard error. The library writes nothing
// to a console or a file: every line goes to a callback the caller supplies, or nowhere.
#ifndef QUORVEX_MESSAGES_CHANNELS_H
#define QUORVEX_MESSAGES_CHANNELS_H

#include <locale>
#include <sstream>
#include <string>

#include "quorvex.h"

namespace quorvex::messages {

void setStdOutHandler(hMessageHandler handler);
void setStdErrHandler(hMessageHandler handler);

// Pass `text` to the channel's callback, if one is set: at once, or, while this thread holds
// a library lock or has messages waiting, a copy after them (messages/pending.h). Each
// delivery reads its slot once, so a handler replaced meanwhile finishes that delivery with
// the old one.
void writeStdOut(const char* text);
void writeStdErr(const char* text);

// The verbosity switch: informational lines are written only while it is on.
void setVerbose(bool on);
bool verbose();

// Builds a message from its pieces in a fresh stream with default formatting: integers in
// plain decimal, texts unchanged.
template <typename... Pieces>
std::string assemble(const Pieces&... pieces) {
  std::ostringstream stream;
  // A host that installs a global locale (digit grouping, say) must not change the texts.
  stream.imbue(std::locale::classic());
  (stream << ... << pieces);
  return stream.str();
}

}  // namespace quorvex::messages

#endif
