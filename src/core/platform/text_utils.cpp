#include "core/platform/text_utils.h"

#include <climits>

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Reads an optional sign and digits at p, saturating at [lo, hi]; p moves past what was read.
// False when no digit follows the sign.
bool ReadSigned(const char*& p, long long lo, long long hi, long long& value) {
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (!IsDigit(static_cast<unsigned char>(*p))) return false;
    long long v = 0;
    bool overflow = false;
    for (; IsDigit(static_cast<unsigned char>(*p)); ++p) {
        const int digit = *p - '0';
        if (v > (LLONG_MAX - digit) / 10) overflow = true;
        if (!overflow) v = v * 10 + digit;
    }
    if (overflow) {
        value = negative ? lo : hi;
    } else {
        v = negative ? -v : v;
        value = v < lo ? lo : (v > hi ? hi : v);
    }
    return true;
}

}  // namespace

std::string TrimBlanks(std::string text) {
    size_t end = text.size();
    while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
    size_t start = 0;
    while (start < end && static_cast<unsigned char>(text[start]) <= 0x20) ++start;
    return text.substr(start, end - start);
}

long Atol(const std::string& text) {
    const char* p = text.c_str();
    while (IsCSpace(static_cast<unsigned char>(*p))) ++p;
    long long value = 0;
    return ReadSigned(p, LONG_MIN, LONG_MAX, value) ? static_cast<long>(value) : 0;
}

bool ScanDecimal(const char* p, int& value) {
    if (p == nullptr) return false;
    while (IsCSpace(static_cast<unsigned char>(*p))) ++p;
    long long v = 0;
    if (!ReadSigned(p, INT_MIN, INT_MAX, v)) return false;
    value = static_cast<int>(v);
    return true;
}

void CutAtNul(std::string& line) {
    const size_t nul = line.find('\0');
    if (nul != std::string::npos) line.resize(nul);
}

std::string Columns(const std::string& text, size_t start, size_t count) {
    if (start >= text.size()) return {};
    return text.substr(start, count);
}
