#pragma once
// Lines of the attribute dump that a state-change callback writes at verbosity 3 and above.
// Private to the basic-implementation libraries; every line ends with std::endl (flushed).
//
// A line starts with the one-character string " " written at the stream's field width: 0 for
// the class's own attributes (one space with the default right adjustment), 4 for the members
// of a local class (four spaces). The stream's other settings (precision, fill, floatfield)
// are the caller's and are left as they are.

#include <iomanip>
#include <ostream>
#include <string>
#include <type_traits>

namespace basicimpl {

class DumpWriter {
public:
    explicit DumpWriter(std::ostream& out) : out_(out) {}

    // Numbers: integers in decimal (never as characters), floats with the stream's settings.
    template <typename Number>
    void number(const char* label, Number value) { line(0, label, printable(value)); }

    // Enumerations by their integer value.
    template <typename Enumeration>
    void enumeration(const char* label, Enumeration value)
    {
        static_assert(std::is_enum_v<Enumeration>);
        line(0, label, printable(static_cast<std::underlying_type_t<Enumeration>>(value)));
    }

    void text(const char* label, const std::string& value) { line(0, label, value); }

    void flag(const char* label, bool value) { line(0, label, value ? "true" : "false"); }

    // The label line of a local-class attribute; its members, if dumped, follow as member().
    void heading(const char* label) { line(0, label, ""); }

    template <typename Number>
    void member(const char* label, Number value) { line(4, label, printable(value)); }

private:
    // Promotes one-byte integers so that they print as numbers; leaves everything else alone.
    template <typename Number>
    static auto printable(Number value)
    {
        static_assert(std::is_arithmetic_v<Number> && !std::is_same_v<Number, bool>);
        if constexpr (std::is_integral_v<Number> && sizeof(Number) == 1)
            return +value;
        else
            return value;
    }

    template <typename Value>
    void line(int indentWidth, const char* label, const Value& value)
    {
        out_ << std::setw(indentWidth) << " " << label << value << std::endl;
    }

    std::ostream& out_;
};

}  // namespace basicimpl
