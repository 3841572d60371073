#pragma once
// Lines of the attribute dump that a state-change callback writes at verbosity 3 and above, one
// method per dump form of the attribute lists (models/objectclass.h). Private to the
// basic-implementation libraries; every line ends with std::endl (flushed).
//
// A line reads "<owner>.<name> <value>": owner "this" for the class's own attributes, the
// attribute's name for the members of a local class. It starts with the one-character string " "
// written at the stream's field width: 0 for the class's own attributes (one space with the
// default right adjustment), 4 for the members of a local class (four spaces). The stream's other
// settings (precision, fill, floatfield) are the caller's and are left as they are.

#include "middleware/smartptr.h"
#include "models/localclasses/platformtype.h"
#include "models/localclasses/uniqueid.h"

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
    void number(const char* name, Number value) { line(0, "this", name, printable(value)); }

    // Enumerations by their integer value.
    template <typename Enumeration>
    void enumeration(const char* name, Enumeration value)
    {
        static_assert(std::is_enum_v<Enumeration>);
        line(0, "this", name, printable(static_cast<std::underlying_type_t<Enumeration>>(value)));
    }

    void text(const char* name, const std::string& value) { line(0, "this", name, value); }

    void flag(const char* name, bool value) { line(0, "this", name, value ? "true" : "false"); }

    // A local class by its label line only. The handle is held, not read.
    template <typename Interface>
    void label(const char* name, const ORVA::Middleware::SmartPtr<Interface>&) { line(0, "this", name, ""); }

    // A local class by its label line, then one line per member, read through the handle held
    // meanwhile. An empty handle raises from its operator-> after the label line.
    void members(const char* name, const ORVA::Middleware::SmartPtr<ORVA::UniqueID::Interface>& id)
    {
        label(name, id);
        member(name, "siteID", id->get_siteID());
        member(name, "applicationID", id->get_applicationID());
        member(name, "objectID", id->get_objectID());
    }
    void members(const char* name, const ORVA::Middleware::SmartPtr<ORVA::PlatformType::Interface>& type)
    {
        label(name, type);
        member(name, "typeIndex", type->get_typeIndex());
        member(name, "databaseVersion", type->get_databaseVersion());
    }

private:
    template <typename Number>
    void member(const char* owner, const char* name, Number value) { line(4, owner, name, printable(value)); }

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
    void line(int indentWidth, const char* owner, const char* name, const Value& value)
    {
        out_ << std::setw(indentWidth) << " " << owner << '.' << name << ' ' << value << std::endl;
    }

    std::ostream& out_;
};

}  // namespace basicimpl
