// The text files the program writes for other systems (bank files, exports,
// the bank template): GBK bytes checked strictly, since a bank reads them
// and a character silently replaced by "?" would pay the wrong account
// name, and written under a temporary name that is renamed over the real
// one only when complete, so that a crash or a full disk never leaves half
// a file under the real name.
#pragma once

#include "core/gbk.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>
#include <cstdint>

namespace gzgl::exchange {

// The GBK bytes of a UTF-8 text, or nullopt when it holds a character GBK
// cannot hold (or bytes that are no UTF-8).
std::optional<std::string> gbkStrict(std::string_view utf8);

// The GBK bytes of a text read back as UTF-8, or nullopt when the bytes are
// no GBK (a byte that starts no character, a broken pair).
std::optional<std::string> utf8Strict(std::string_view gbk);

// A file that could not be written; what() is a message for the user.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes bytes to path: into a new temporary file in the same folder, which
// is flushed to disk and then renamed over path. On any failure the
// temporary file is removed, path is left as it was and FileWriteError is
// thrown.
void writeFileReplacing(const std::string& path, std::string_view bytes);

// The whole file, or nullopt when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// The lines of a text file's bytes: split at LF with a CR before it
// dropped, a last line without an end included, none for no bytes.
std::vector<std::string_view> textLines(std::string_view bytes);

// Whether text holds a control character (below 0x20, or 0x7F).
bool hasControlChar(std::string_view text);

// Files from other systems larger than this are refused unread.
inline constexpr std::uintmax_t kMaxImportFileBytes = 256u << 20;

// Whether a typed file name may stand inside a folder: not empty, no "/"
// or "\", not "." or "..", no control character.
bool plainFileName(std::string_view name);

} // namespace gzgl::exchange
