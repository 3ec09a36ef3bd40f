#pragma once
// Byte-level text helpers with the C runtime's rules, shared by the file loaders: trimming of
// blanks and control characters, atol and scanf "%d" conversions. Texts are CP932 byte strings.

#include <string>

// The C isspace test in the "C" locale: blank, tab, line feed, vertical tab, form feed, CR.
inline bool IsCSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Drops the bytes up to and including the blank (<= 0x20) at both ends. A CP932 trail byte is
// never <= 0x20 and the ideographic space is two bytes above it, so both are kept.
std::string TrimBlanks(std::string text);

// The C function atol: leading white space, an optional sign, then digits up to the first other
// byte; no digits give 0. A value beyond the range of long saturates instead of overflowing.
long Atol(const std::string& text);

// scanf "%d" at p: skips white space, reads an optional sign and at least one digit. False (and
// value unchanged) when no number starts there. Values beyond int saturate.
bool ScanDecimal(const char* p, int& value);

// A line as the C string functions see it: everything from the first NUL byte on is dropped.
void CutAtNul(std::string& line);

// Bytes [start, start + count) of text, clipped to its end (empty when start lies beyond it).
std::string Columns(const std::string& text, size_t start, size_t count = std::string::npos);
