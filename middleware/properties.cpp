#include "middleware/properties.h"

#include "middleware/exceptions.h"

#include <string>

namespace ORVA::Middleware {

CommunicationProperties::CommunicationProperties(int value) : value_(value)
{
    if (value != 0 && value != 1)
        throw Exception("CommunicationProperties: unknown value " + std::to_string(value) +
                        " (0 best effort, 1 reliable)");
}

}  // namespace ORVA::Middleware
