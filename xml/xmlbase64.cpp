#include "xml/xmlbase64.h"

namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct DecodeTable {
    signed char value[256];
};

constexpr DecodeTable makeDecodeTable()
{
    DecodeTable t{};
    for (int i = 0; i < 256; ++i)
        t.value[i] = -1;
    for (int i = 0; i < 64; ++i)
        t.value[static_cast<unsigned char>(alphabet[i])] = static_cast<signed char>(i);
    return t;
}

constexpr DecodeTable decodeTable = makeDecodeTable();

bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Walks `text` once: the alphabet characters before any padding, then checks what follows.
struct Scan {
    std::size_t symbols = 0;  // alphabet characters
    std::size_t padding = 0;  // "=" at the end
    bool illegal = false;
};

Scan scan(const char* text)
{
    Scan s;
    for (const char* p = text; *p != '\0'; ++p) {
        if (isSkipped(*p))
            continue;
        if (*p == '=') {
            ++s.padding;
            continue;
        }
        if (s.padding > 0 || decodeTable.value[static_cast<unsigned char>(*p)] < 0) {
            s.illegal = true;  // a foreign character, or data after the padding
            return s;
        }
        ++s.symbols;
    }
    if (s.padding > 2)
        s.illegal = true;
    return s;
}

std::size_t bytesFor(std::size_t symbols) { return symbols / 4 * 3 + (symbols % 4 >= 2 ? symbols % 4 - 1 : 0); }

int codeFor(const Scan& s)
{
    if (s.illegal)
        return XmlErrorBase64IllegalCharacter;
    if (s.symbols % 4 == 1)
        return XmlWarningBase64Truncated;
    if ((s.symbols + s.padding) % 4 != 0)
        return XmlWarningBase64NotMultipleOf4;
    return XmlNoError;
}

void decodeInto(const char* text, unsigned char* out, std::size_t count)
{
    unsigned accumulator = 0;
    int bits = 0;
    std::size_t written = 0;
    for (const char* p = text; *p != '\0' && written < count; ++p) {
        const signed char v = decodeTable.value[static_cast<unsigned char>(*p)];
        if (v < 0)
            continue;  // white space (the scan rejected anything else before the padding)
        accumulator = (accumulator << 6) | static_cast<unsigned>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out[written++] = static_cast<unsigned char>((accumulator >> bits) & 0xFFu);
        }
    }
}

}  // namespace

const char* XmlBase64::encode(const void* data, std::size_t size, bool lineBreaks)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    encoded_.clear();
    encoded_.reserve((size + 2) / 3 * 4 + (lineBreaks ? size / 54 + 1 : 0));
    std::size_t onLine = 0;
    for (std::size_t i = 0; i < size; i += 3) {
        const unsigned b0 = bytes[i];
        const unsigned b1 = i + 1 < size ? bytes[i + 1] : 0;
        const unsigned b2 = i + 2 < size ? bytes[i + 2] : 0;
        const unsigned group = (b0 << 16) | (b1 << 8) | b2;
        encoded_ += alphabet[(group >> 18) & 63];
        encoded_ += alphabet[(group >> 12) & 63];
        encoded_ += i + 1 < size ? alphabet[(group >> 6) & 63] : '=';
        encoded_ += i + 2 < size ? alphabet[group & 63] : '=';
        onLine += 4;
        if (lineBreaks && onLine == 72 && i + 3 < size) {
            encoded_ += '\n';
            onLine = 0;
        }
    }
    return encoded_.c_str();
}

std::size_t XmlBase64::decodedSize(const char* text)
{
    if (text == nullptr)
        return 0;
    const Scan s = scan(text);
    return s.illegal ? 0 : bytesFor(s.symbols);
}

XmlParseResult XmlBase64::decode(const char* text)
{
    XmlParseResult result;
    decoded_.clear();
    if (text == nullptr)
        return result;
    const Scan s = scan(text);
    result.code = codeFor(s);
    if (s.illegal)
        return result;
    decoded_.resize(bytesFor(s.symbols));
    decodeInto(text, decoded_.data(), decoded_.size());
    return result;
}

XmlParseResult XmlBase64::decode(const char* text, unsigned char* out, std::size_t capacity, std::size_t* written)
{
    XmlParseResult result;
    if (written != nullptr)
        *written = 0;
    if (text == nullptr)
        return result;
    const Scan s = scan(text);
    result.code = codeFor(s);
    if (s.illegal)
        return result;
    const std::size_t count = bytesFor(s.symbols);
    if (count > capacity || (count > 0 && out == nullptr)) {
        result.code = XmlErrorBase64BufferTooSmall;
        return result;
    }
    decodeInto(text, out, count);
    if (written != nullptr)
        *written = count;
    return result;
}
