#include "middleware/callback.h"

namespace ORVA::Middleware::Callback {

Callback::~Callback() = default;

}  // namespace ORVA::Middleware::Callback
