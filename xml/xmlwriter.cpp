// Writing an element tree back as XML text. Iterative, so a deep tree cannot exhaust the stack.

#include "xml/xmlchars_p.h"
#include "xml/xmlelement.h"
#include "xml/xmlelementbody_p.h"
#include "xml/xmlentities_p.h"
#include "xml/xmloptions.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Open {
    const XmlElementBody* body;
    std::size_t next;  // next entry of its document order to write
    int depth;         // indentation of its content
    bool endTag;       // whether its end tag is written
};

class Writer {
public:
    Writer(std::string& out, bool indent) : out_(out), indent_(indent), guardEdges_(xmlOptions().dropWhitespace) {}

    void write(const XmlElementBody* root)
    {
        std::vector<Open> stack;
        if (openTag(root, 0))
            stack.push_back(Open{root, 0, root->hasName ? 1 : 0, root->hasName && !root->declaration});
        while (!stack.empty()) {
            Open& top = stack.back();
            if (top.next == top.body->order().size) {
                if (top.endTag)
                    closeTag(top.body, top.depth - 1);
                stack.pop_back();
                continue;
            }
            const std::int32_t entry = top.body->order()[top.next++];
            const std::size_t index = static_cast<std::size_t>(entry >> 2);
            const int depth = top.depth;
            switch (entry & 3) {
            case XmlContentChild: {
                const XmlElementBody* child = top.body->children()[index];
                // A declaration has no end tag of its own: the elements after it are its content
                // until an outer end tag comes. It gets one when something follows it, or when
                // it sits in an element whose end tag it would otherwise take for its own.
                const bool followed = top.next < top.body->order().size;
                const bool endTag =
                    child->hasName && (!child->declaration || followed || (top.body->hasName && top.endTag));
                if (openTag(child, depth))
                    stack.push_back(Open{child, 0, depth + (child->hasName ? 1 : 0), endTag});
                break;
            }
            case XmlContentText:
                lineStart(depth);
                xmlentities::appendEscaped(out_, top.body->texts()[index].bytes(), guardEdges_);
                lineEnd();
                break;
            case XmlContentClear: {
                const XmlClearSection& clear = top.body->clears()[index];
                lineStart(depth);
                out_ += clear.openingMarker();
                out_ += clear.contentBytes();
                out_ += clear.closingMarker();
                lineEnd();
                break;
            }
            default: break;
            }
        }
    }

private:
    void lineStart(int depth)
    {
        if (indent_)
            out_.append(static_cast<std::size_t>(depth), '\t');
    }
    void lineEnd()
    {
        if (indent_)
            out_ += '\n';
    }

    // Writes the start tag; true when content and an end tag are still to come.
    bool openTag(const XmlElementBody* body, int depth)
    {
        if (!body->hasName)
            return true;
        lineStart(depth);
        out_ += body->declaration ? "<?" : "<";
        out_ += body->name;
        for (const XmlAttribute& a : body->attributes()) {
            out_ += ' ';
            out_ += a.name();
            if (a.hasValue()) {
                out_ += "=\"";
                xmlentities::appendEscaped(out_, a.valueBytes(), false);
                out_ += '"';
            }
        }
        // A declaration's start tag ends at "?>"; the elements after it are its content.
        if (body->declaration) {
            // "<?name?>" would read back as the name "name?": the "?" is only dropped from the
            // last attribute, so a bare declaration keeps a space before it. A declaration holds
            // the elements after it; one that holds nothing is closed at once, or it would take
            // its following siblings when read back.
            if (body->attributes().empty())
                out_ += ' ';
            out_ += body->order().empty() ? "?/>" : "?>";
            lineEnd();
            return !body->order().empty();
        }
        if (body->order().empty()) {
            out_ += "/>";
            lineEnd();
            return false;
        }
        // "<PRE>" and "<Script>" would read back as the opening of a clear section.
        if (body->attributes().empty() && looksLikeClearMarker(body->name))
            out_ += ' ';
        out_ += '>';
        lineEnd();
        return true;
    }

    static bool looksLikeClearMarker(const char* name)
    {
        const std::string tag = std::string("<") + name + ">";
        for (XmlClearMarker m : {XmlClearMarker::Pre, XmlClearMarker::Script}) {
            const XmlClearMarkerEntry& e = xmlClearMarkerEntry(m);
            if (tag.size() == static_cast<std::size_t>(e.openingLength) &&
                xmlchars::equalNoCase(tag.c_str(), e.opening, tag.size()))
                return true;
        }
        return false;
    }

    void closeTag(const XmlElementBody* body, int depth)
    {
        lineStart(depth);
        out_ += "</";
        out_ += body->name;
        out_ += '>';
        lineEnd();
    }

    std::string& out_;
    bool indent_;
    bool guardEdges_;
};

}  // namespace

std::string XmlElement::toXmlText(bool indent) const
{
    std::string out;
    if (body_ != nullptr)
        Writer(out, indent).write(body_);
    return out;
}

XmlParseResult XmlElement::writeToFile(const char* fileName, const char* encoding, bool indent) const
{
    XmlParseResult result;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fileName ? std::fopen(fileName, "wb") : nullptr,
                                                               &std::fclose);
    if (!file) {
        result.code = XmlErrorCannotOpenWriteFile;
        return result;
    }
    const bool utf8 = xmlOptions().utf8Mode;
    std::string out;
    if (!isDeclaration()) {
        if (encoding == nullptr || utf8) {
            out = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
        } else {
            out = "<?xml version=\"1.0\" encoding=\"";
            out += encoding;
            out += "\"?>\n";
        }
    } else if (utf8) {
        out = "\xEF\xBB\xBF";
    }
    out += toXmlText(indent);
    if (std::fwrite(out.data(), 1, out.size(), file.get()) != out.size() || std::fflush(file.get()) != 0)
        result.code = XmlErrorCannotWriteFile;
    return result;
}
