#include "xml/xmlentities_p.h"
#include "xml/xmlchars_p.h"

#include <cstring>

namespace xmlentities {
namespace {

struct NamedEntity {
    const char* text;
    std::size_t length;
    char value;
};

const NamedEntity namedEntities[] = {
    {"&amp;", 5, '&'}, {"&lt;", 4, '<'}, {"&gt;", 4, '>'}, {"&quot;", 6, '"'}, {"&apos;", 6, '\''},
};

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the reference at `p` (an "&") and its byte, or 0 when it is none. `end` bounds it.
std::size_t readReference(const char* p, const char* end, char& byte)
{
    const std::size_t left = static_cast<std::size_t>(end - p);
    if (left >= 2 && p[1] == '#') {
        const char* q = p + 2;
        const bool hex = q < end && (*q == 'x' || *q == 'X');
        if (hex)
            ++q;
        const char* digits = q;
        unsigned value = 0;  // only the low eight bits survive, so wrapping is harmless
        for (; q < end; ++q) {
            const int d = hex ? hexDigit(*q) : (*q >= '0' && *q <= '9' ? *q - '0' : -1);
            if (d < 0)
                break;
            value = value * (hex ? 16u : 10u) + static_cast<unsigned>(d);
        }
        if (q == digits || q >= end || *q != ';')
            return 0;
        byte = static_cast<char>(value & 0xFFu);
        return static_cast<std::size_t>(q + 1 - p);
    }
    // The usual spellings at once: "&lt;", "&gt;", "&amp;".
    if (left >= 4 && p[2] == 't' && p[3] == ';' && (p[1] == 'l' || p[1] == 'g')) {
        byte = p[1] == 'l' ? '<' : '>';
        return 4;
    }
    if (left >= 5 && p[1] == 'a' && p[2] == 'm' && p[3] == 'p' && p[4] == ';') {
        byte = '&';
        return 5;
    }
    // Only the entities of the letter after "&" can match: "a" has two, the others one each.
    const NamedEntity* candidates[2] = {nullptr, nullptr};
    switch (left >= 2 ? xmlchars::toLowerAscii(p[1]) : '\0') {
    case 'a': candidates[0] = &namedEntities[0]; candidates[1] = &namedEntities[4]; break;
    case 'l': candidates[0] = &namedEntities[1]; break;
    case 'g': candidates[0] = &namedEntities[2]; break;
    case 'q': candidates[0] = &namedEntities[3]; break;
    default: return 0;
    }
    for (const NamedEntity* e : candidates) {
        if (e != nullptr && left >= e->length && xmlchars::equalNoCase(p, e->text, e->length)) {
            byte = e->value;
            return e->length;
        }
    }
    return 0;
}

// Moves `count` bytes from `from` down to `to` (at or before it). Runs between references are
// short: a byte loop costs less than a call.
void moveDown(char* to, const char* from, std::size_t count)
{
    if (to == from)
        return;
    if (count > 32) {
        std::memmove(to, from, count);
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        to[i] = from[i];
}

// The first "&" at a character boundary at or after `p` (itself one), or `end`.
const char* nextReference(const char* p, const char* end)
{
    while (p < end) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == '&')
            return p;
        if (c < 0x80) {
            ++p;  // ASCII is one character under either table
        } else {
            const char* next = xmlchars::nextChar(p);
            p = (next == p || next > end) ? end : next;
        }
    }
    return end;
}

}  // namespace

bool decodeInPlace(char* text, std::size_t& length, std::size_t from)
{
    // Characters are stepped over whole (an "&" inside a multi-byte character is not a
    // reference) and the runs between references moved down; each reference becomes its byte.
    // Any unsound reference fails the whole text.
    const char* end = text + length;
    const char* p = nextReference(text + from, end);
    char* out = text + (p - text);
    while (p < end) {
        char byte = 0;
        const std::size_t used = readReference(p, end, byte);
        if (used == 0)
            return false;
        *out++ = byte;
        const char* run = p + used;
        p = nextReference(run, end);
        moveDown(out, run, static_cast<std::size_t>(p - run));
        out += p - run;
    }
    length = static_cast<std::size_t>(out - text);
    return true;
}

void appendEscaped(std::string& out, std::string_view text, bool guardEdges)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    if (guardEdges) {
        while (first < text.size() && xmlchars::isSpace(text[first]))
            ++first;
        while (last > first && xmlchars::isSpace(text[last - 1]))
            --last;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\0' || (guardEdges && (i < first || i >= last))) {
            out += "&#";
            out += std::to_string(static_cast<unsigned char>(c));
            out += ';';
            continue;
        }
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0xC2 && xmlchars::charLength(byte) > 1) {
            // A lead byte without its continuation bytes would make the reader step over the
            // markup after it; such a byte goes out as a reference.
            const std::size_t length = static_cast<std::size_t>(xmlchars::charLength(byte));
            bool whole = i + length <= text.size();
            for (std::size_t k = 1; whole && k < length; ++k)
                whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
            if (whole) {
                out.append(text.substr(i, length));
                i += length - 1;
            } else {
                out += "&#";
                out += std::to_string(byte);
                out += ';';
            }
            continue;
        }
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c; break;
        }
    }
}

}  // namespace xmlentities
