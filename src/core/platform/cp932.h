#pragma once
// CP932 (Windows Shift-JIS) conversion: texts stay CP932 byte strings from file to state and are
// decoded only where they meet Qt.

#include <QString>
#include <string>

// Decodes CP932 bytes. A lead byte cut off at the end (a field cut through a double-byte
// character) is dropped; an invalid byte becomes U+FFFD. Never fails.
QString FromCp932(const std::string& bytes);

// Encodes to CP932; characters without a CP932 form become "?".
std::string ToCp932(const QString& text);

// A UTF-8 literal of the source converted to CP932 (convert once: keep the result in a static).
std::string Sjis(const char* utf8);

// True when byte b starts a double-byte CP932 character.
bool IsCp932LeadByte(unsigned char b);
