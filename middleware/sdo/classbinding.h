#pragma once
// How the middleware reaches one object class without knowing it: each object-model definition
// library gives one ClassBinding per class (its DDS type, and the conversions between the C sample
// that idlc generates and the class's C++ state).

#include "middleware/export.h"
#include "middleware/sdo/publicationstate.h"

#include <functional>
#include <memory>

struct dds_topic_descriptor;

namespace ORVA::Middleware::SDO {

class ORVA_MIDDLEWARE_EXPORT ClassBinding {
public:
    virtual ~ClassBinding();

    // "ORVA::Platform"; also names the DDS topic ("ORVA_Platform").
    virtual const char* className() const = 0;
    virtual const dds_topic_descriptor* topicDescriptor() const = 0;

    // State of a new object: version 1, the model's initial attribute values.
    virtual std::shared_ptr<PublicationStateBase> initialState(const SDOid& id) const = 0;
    // Copies a received sample (valid only during the call) into a new state.
    virtual std::shared_ptr<PublicationStateBase> decode(const void* sample) const = 0;
    // Builds the C sample of `state` and hands it to `use` for the duration of the call.
    virtual void encode(const PublicationStateBase& state,
                        const std::function<void(const void* sample)>& use) const = 0;
    // A new proxy of the class's own Proxy type.
    virtual std::shared_ptr<ProxyBase> makeProxy(const SDOid& id,
                                                 std::shared_ptr<PublicationStateBase> state) const = 0;
};

}  // namespace ORVA::Middleware::SDO
