// Text in the GBK code page: byte lengths, cutting without splitting a
// double-byte character, and conversion of whole texts for files that the
// program writes and reads. Internally all text is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace gzgl {

// Length in GBK bytes: ASCII counts one, a character of the code page two.
// A character outside the code page counts one, as its "?" substitute would.
std::size_t gbkLength(std::string_view utf8);

// The longest leading part of the text whose GBK length is at most maxBytes;
// a double-byte character that would be split by the limit is left out whole.
std::string gbkLeft(std::string_view utf8, std::size_t maxBytes);

// The byte offset of the first character that GBK cannot hold (or of a
// byte that starts no valid UTF-8 character), npos when every one fits.
std::size_t gbkUnencodableAt(std::string_view utf8);

// The first character of utf8 that GBK cannot hold, as a message shows it:
// the character itself, or "0x.." for a byte that starts no character.
// Empty when every character fits.
std::string firstUnencodable(std::string_view utf8);

// Whole-text conversions; characters outside GBK become "?" on the way out,
// undecodable bytes become U+FFFD on the way in.
std::string toGbk(std::string_view utf8);
std::string fromGbk(std::string_view gbk);

} // namespace gzgl
