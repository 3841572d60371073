#include "middleware/managedptr.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace ORVA::Middleware::detail {

std::string typeName(const std::type_info& type)
{
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

void throwNullManagedPointer(const std::type_info& type)
{
    throw InvalidAccess("attempt to dereference a null managed pointer to a " + typeName(type));
}

}  // namespace ORVA::Middleware::detail
