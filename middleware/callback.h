#pragma once
// What a subscriber gives the middleware: per object class and event kind a factory that makes one
// callback object per event. The middleware owns every callback it gets from a factory and runs
// its execute() once, on the thread inside Session::evokeMultipleCallbacks, then deletes it.

#include "middleware/export.h"

#include <memory>

namespace ORVA::Middleware::Callback {

class ORVA_MIDDLEWARE_EXPORT Callback {
public:
    virtual ~Callback();
    virtual void execute() = 0;
};

// Event kinds, as tags of the factory template.
struct DiscoveryTag {};
struct StateChangeTag {};
struct DestructionTag {};

// ProxyHandle is ManagedPtr<Class::Proxy>. A factory whose isNull() is true is skipped, so a
// subscriber can leave out kinds it does not want.
template <class ProxyHandle, class Tag>
class CallbackFactory {
public:
    using ProxyHandleType = ProxyHandle;
    using TagType = Tag;

    virtual ~CallbackFactory() = default;
    // A new callback for the event that concerns `proxy`; the caller owns it.
    virtual std::unique_ptr<Callback> create(const ProxyHandle& proxy) = 0;
    virtual bool isNull() const { return false; }
};

// Stands for "no callbacks of this kind".
template <class ProxyHandle, class Tag>
class NullCallbackFactory : public virtual CallbackFactory<ProxyHandle, Tag> {
public:
    std::unique_ptr<Callback> create(const ProxyHandle&) override { return nullptr; }
    bool isNull() const override { return true; }
};

}  // namespace ORVA::Middleware::Callback
