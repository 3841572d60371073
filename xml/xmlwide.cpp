#include "xml/xmlwide_p.h"

#include <cerrno>
#include <iconv.h>
#include <langinfo.h>

namespace xmlwide {
namespace {

unsigned unitAt(const unsigned char* bytes, std::size_t i)
{
    return static_cast<unsigned>(bytes[2 * i]) | (static_cast<unsigned>(bytes[2 * i + 1]) << 8);
}

// Next code point from `units` at *i (moved on); unpaired surrogates give U+FFFD.
unsigned nextCodePoint(const unsigned char* bytes, std::size_t units, std::size_t& i)
{
    const unsigned u = unitAt(bytes, i++);
    if (u >= 0xD800 && u <= 0xDBFF) {
        if (i < units) {
            const unsigned low = unitAt(bytes, i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                ++i;
                return 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        return 0xFFFD;
    }
    if (u >= 0xDC00 && u <= 0xDFFF)
        return 0xFFFD;
    return u;
}

void appendUtf8(std::string& out, unsigned cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class Converter {
public:
    explicit Converter(const char* to) : handle_(iconv_open(to, "UTF-32LE")) {}
    ~Converter()
    {
        if (valid())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // One code point into `out`; false when the target set lacks it.
    bool convert(unsigned cp, std::string& out)
    {
        char in[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
                      static_cast<char>((cp >> 16) & 0xFF), static_cast<char>((cp >> 24) & 0xFF)};
        char buffer[16];
        char* inPtr = in;
        std::size_t inLeft = sizeof in;
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
        if (done == static_cast<std::size_t>(-1)) {
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
            return false;
        }
        out.append(buffer, outPtr);
        return true;
    }

private:
    iconv_t handle_;
};

}  // namespace

bool looksLikeUtf16(const unsigned char* bytes, std::size_t count)
{
    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return true;
    if (count < 4 || count % 2 != 0)
        return false;
    const std::size_t units = count / 2;
    std::size_t narrow = 0;
    for (std::size_t i = 0; i < units; ++i) {
        const unsigned u = unitAt(bytes, i);
        if (u == 0)
            return false;
        if (u < 0x100)
            ++narrow;
    }
    return narrow * 2 >= units;
}

std::string utf16ToUtf8(const unsigned char* bytes, std::size_t units)
{
    std::string out;
    out.reserve(units + units / 2);
    for (std::size_t i = 0; i < units;) {
        const unsigned cp = nextCodePoint(bytes, units, i);
        if (cp == 0)
            break;  // the text ends at a NUL character, as an 8-bit text would
        appendUtf8(out, cp);
    }
    return out;
}

std::string utf16ToLocal(const unsigned char* bytes, std::size_t units)
{
    Converter toLocale(nl_langinfo(CODESET));
    Converter toLatin1("ISO-8859-1");
    Converter& converter = toLocale.valid() ? toLocale : toLatin1;
    std::string out;
    out.reserve(units);
    for (std::size_t i = 0; i < units;) {
        const unsigned cp = nextCodePoint(bytes, units, i);
        if (cp == 0)
            break;
        if (converter.valid()) {
            if (!converter.convert(cp, out))
                out += '?';
        } else {
            out += cp < 0x100 ? static_cast<char>(cp) : '?';
        }
    }
    return out;
}

}  // namespace xmlwide
