// The small text routines that every screen uses to clean what the user
// typed before it is stored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gzgl {

// Removes leading and trailing blanks (spaces only, as the screens' Trim).
std::string trim(std::string_view s);

// Removes every single quote and every vertical bar.
std::string StripQuotes(std::string_view s);

// Input cleaning for names and codes: the trimmed text is cut to maxBytes
// GBK bytes (never splitting a double-byte character) and then stripped of
// ' and |. (A Null field reads as the empty text before it gets here.)
std::string ClipText(std::string_view value, std::size_t maxBytes);

// The refusal of a name as the user typed it (already trimmed), naming the
// field, or empty when it can be stored exactly: no ' or | (texts built
// from names rely on their absence), no control character, every character
// in GBK (the files written from names are GBK) and at most maxBytes GBK
// bytes. A name is refused rather than cleaned, so that what is stored is
// always what the user saw.
std::string nameRefusal(std::string_view name, std::string_view field, std::size_t maxBytes);

// 2 when the text contains a double quote, else 1.
int HasDoubleQuote(std::string_view s);

// Replaces every occurrence of search, left to right, writes the result back
// into text and returns it. An empty search text changes nothing.
std::string ReplaceAll(std::string& text, std::string_view search, std::string_view replacement);

// The text with a..z turned into A..Z (other bytes unchanged): codes and
// numbers compare as the NOCASE text columns do.
std::string upperAscii(std::string text);

// The pieces of text between the separators, empty ones included: "a,,b"
// gives "a", "", "b"; "" gives one empty piece.
std::vector<std::string> splitAt(std::string_view text, char separator);

// The digits-only check of the year, month and length boxes.
bool allDigits(std::string_view s);

// "0" repeated n times (empty for n <= 0): the employee-code mask.
std::string zeros(int n);

// A number formatted with at least width digits, zero-padded ("0000").
std::string zeroPad(long long v, int width);

// The number of characters (UTF-8 code points, not bytes) of text: code
// lengths count characters, as the code boxes and SQLite's length() do.
std::size_t charCount(std::string_view text);
// The first count characters (UTF-8 code points, not bytes) of text, as
// the screens' Left cuts a code.
std::string leftChars(std::string_view text, std::size_t count);

} // namespace gzgl
