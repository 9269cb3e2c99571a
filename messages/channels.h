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

// Pass `text` to the callback the channel's slot holds now, if any: at once, or a copy once
// this thread may call it (messages/pending.h). The slot is read once, when the message is
// sent, so a handler replaced or a channel closed later does not redirect it.
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
