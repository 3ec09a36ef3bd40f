#include "core/platform/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>
#include <vector>

namespace {

// iconv descriptors are reused; everything runs on the UI thread, but a mutex keeps the
// benchmarks and tests honest if they ever convert from another thread.
struct Converter {
    iconv_t cd;
    std::mutex lock;
    // Decoding: what each character code (one byte, or lead byte * 256 + trail byte) gave, once
    // asked for: 0 not yet, else the UTF-16 unit + 1 (U+FFFD for a code that does not convert).
    // A name or a programme text is drawn again and again; each character goes to iconv once.
    std::vector<char32_t> decoded;
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
};

Converter& Decoder() {
    static Converter c("UTF-16LE", "CP932");
    return c;
}

Converter& Encoder() {
    static Converter c("CP932", "UTF-16LE");
    return c;
}

}  // namespace

bool IsCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

QString FromCp932(const std::string& bytes) {
    // Plain ASCII needs no converter (most of the back numbers and codes).
    bool ascii = true;
    for (unsigned char b : bytes) {
        if (b >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));

    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));

    Converter& c = Decoder();
    std::lock_guard<std::mutex> guard(c.lock);
    if (c.decoded.empty()) c.decoded.assign(0x10000, 0);
    size_t i = 0;
    char16_t buf[2];
    while (i < bytes.size()) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        const size_t len = IsCp932LeadByte(b) ? 2 : 1;
        if (i + len > bytes.size()) break;  // dangling lead byte at the end: drop it
        const std::size_t code =
            len == 2 ? b * 256u + static_cast<unsigned char>(bytes[i + 1]) : std::size_t{b};
        if (const char32_t known = c.decoded[code]; known != 0) {
            out.append(QChar(static_cast<char16_t>(known - 1)));
            i += len;
            continue;
        }
        char* in = const_cast<char*>(bytes.data() + i);
        size_t inLeft = len;
        char* outp = reinterpret_cast<char*>(buf);
        size_t outLeft = sizeof(buf);
        iconv(c.cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(c.cd, &in, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
            out.append(QChar(0xFFFD));
            c.decoded[code] = 0xFFFD + 1;
        } else {
            const size_t units = (sizeof(buf) - outLeft) / 2;
            for (size_t u = 0; u < units; ++u) out.append(QChar(buf[u]));
            if (units == 1) c.decoded[code] = char32_t{buf[0]} + 1;
        }
        i += len;
    }
    return out;
}

std::string ToCp932(const QString& text) {
    std::string out;
    Converter& c = Encoder();
    std::lock_guard<std::mutex> guard(c.lock);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.unicode() < 0x80) {
            out.push_back(static_cast<char>(ch.unicode()));
            continue;
        }
        char16_t unit[2] = {ch.unicode(), 0};
        size_t inLen = 2;
        // Only a real pair is taken together: a lone high surrogate (a broken paste) must not
        // swallow the character after it.
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            unit[1] = text.at(++i).unicode();
            inLen = 4;
        }
        char* in = reinterpret_cast<char*>(unit);
        char enc[8];
        char* outp = enc;
        size_t outLeft = sizeof(enc);
        iconv(c.cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(c.cd, &in, &inLen, &outp, &outLeft) == static_cast<size_t>(-1)) {
            out.push_back('?');
        } else {
            out.append(enc, sizeof(enc) - outLeft);
        }
    }
    return out;
}

std::string Sjis(const char* utf8) { return ToCp932(QString::fromUtf8(utf8)); }
