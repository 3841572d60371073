#pragma once
// What every object class of an object-model definition library has in common, written once.
//
// An object class lives in its own namespace (ORVA::Platform, HALC::VKRsim, ...). Its header states
// its attributes once, in model order, as a list macro of X(type, name, dump form) entries:
//
//   #define ORVA_PLATFORM_ATTRIBUTES(X)
//       X(SmartPtr<UniqueID::Interface>, platformID, members)
//       X(std::string, callSign, text)
//       ...
//
//   type       the C++ type, as it reads inside the class namespace; local classes as SmartPtr<...>
//   name       the attribute's name: member of Attributes, get_<name>, set_<name>, sample member
//   dump form  how the basic implementation writes it (basicimpl/common/dumpwriter_p.h): number,
//              enumeration (its integer), flag (true/false), text; a local class as members (its
//              label, then its members) or label (the label only)
//
// The class's IDL struct has the same names in the same order after `version` (compared when the
// build is configured, models/CheckAttributeList.cmake) and the wire type of each attribute
// (asserted when the class's source compiles, ORVA::LocalClasses::wire::Wire).
//
// Everything else comes from the list and two macros:
//   header, inside the class namespace:
//       ORVA_OBJECT_CLASS_DECLARATIONS(ORVA_PLATFORM_MODEL_EXPORT, ORVA, Platform, ORVA_PLATFORM_ATTRIBUTES);
//   source, inside the class namespace (models/objectclass_p.h):
//       ORVA_OBJECT_CLASS_DEFINITIONS(ORVA, Platform, ORVA_PLATFORM_ATTRIBUTES);
//
// The macros declare real classes (not aliases of templates), each exported with the library's
// macro and each with its out-of-line virtual destructor, so that every class has one vtable and
// one type_info in its library and its name, e.g. ORVA::Platform::Proxy, appears as such in
// diagnostics.

#include "middleware/callback.h"
#include "middleware/managedptr.h"
#include "middleware/sdo/classbinding.h"
#include "middleware/sdo/proxy.h"
#include "middleware/sdo/publicationinfo.h"
#include "middleware/sdo/publicationstate.h"
#include "middleware/sdo/servant.h"
#include "middleware/sdo/subscriptioninfo.h"
#include "middleware/smartptr.h"

#include <cstdint>
#include <string>

// One attribute's member of Attributes, with the value a new object starts with.
#define ORVA_OBJECT_ATTRIBUTE_MEMBER(type, name, form) type name = ::ORVA::ObjectModel::Initial<type>::value();

#define ORVA_OBJECT_ATTRIBUTE_GETTER(type, name, form) \
    type get_##name() const { return a_.name; }

// Setters by dump form: values inline, local classes out of line (they check for empty handles).
#define ORVA_OBJECT_ATTRIBUTE_SETTER(type, name, form) ORVA_OBJECT_ATTRIBUTE_SETTER_##form(type, name)
#define ORVA_OBJECT_ATTRIBUTE_SETTER_number(type, name) \
    void set_##name(type v) { a_.name = v; }
#define ORVA_OBJECT_ATTRIBUTE_SETTER_enumeration ORVA_OBJECT_ATTRIBUTE_SETTER_number
#define ORVA_OBJECT_ATTRIBUTE_SETTER_flag ORVA_OBJECT_ATTRIBUTE_SETTER_number
#define ORVA_OBJECT_ATTRIBUTE_SETTER_text(type, name) \
    void set_##name(const type& v) { a_.name = v; }
#define ORVA_OBJECT_ATTRIBUTE_SETTER_members(type, name) void set_##name(const type& v);
#define ORVA_OBJECT_ATTRIBUTE_SETTER_label ORVA_OBJECT_ATTRIBUTE_SETTER_members

// Declares, in the current namespace, the classes of object class MODEL::CLASS (ORVA, Platform):
//   Attributes                            the values of ATTRIBUTES, in model order
//   ImmutablePublicationState             read-only: get_MODEL_CLASS_VersionCounter, get_<name>
//   PublicationStateUpdater               a servant's sole-owner change set: get_<name>, set_<name>
//   Proxy, Servant                        typed over the two above
//   RemoteMethodsFactoryInterface         empty: no class has remote methods
//   PublicationInfo                       carries that factory
//   ProxyHandle and the three callback factory types
//   SubscriptionInfo                      the three callback factories of the class
//   ServantTraits                         what a servant factory needs: types and the class binding
// EXPORT is the library's export macro. A new object's attributes hold zeros, empty texts and
// local classes holding zeros (never empty handles); a local-class setter raises InvalidAccess for
// an empty handle, so an object never carries one.
#define ORVA_OBJECT_CLASS_DECLARATIONS(EXPORT, MODEL, CLASS, ATTRIBUTES)                             \
    struct EXPORT Attributes {                                                                      \
        Attributes();                                                                               \
        ATTRIBUTES(ORVA_OBJECT_ATTRIBUTE_MEMBER)                                                    \
    };                                                                                              \
                                                                                                    \
    class EXPORT ImmutablePublicationState : public ::ORVA::Middleware::SDO::PublicationStateBase { \
    public:                                                                                         \
        ImmutablePublicationState(const ::ORVA::Middleware::SDOid& id, std::uint32_t version,       \
                                  const Attributes& attributes);                                    \
        ~ImmutablePublicationState() override;                                                      \
                                                                                                    \
        std::uint32_t get_##MODEL##_##CLASS##_VersionCounter() const { return version(); }          \
        ATTRIBUTES(ORVA_OBJECT_ATTRIBUTE_GETTER)                                                    \
                                                                                                    \
        const Attributes& attributes() const noexcept { return a_; }                                \
                                                                                                    \
    private:                                                                                        \
        Attributes a_;                                                                              \
    };                                                                                              \
                                                                                                    \
    class EXPORT PublicationStateUpdater {                                                          \
    public:                                                                                         \
        explicit PublicationStateUpdater(const Attributes& attributes) : a_(attributes) {}          \
                                                                                                    \
        ATTRIBUTES(ORVA_OBJECT_ATTRIBUTE_GETTER)                                                    \
        ATTRIBUTES(ORVA_OBJECT_ATTRIBUTE_SETTER)                                                    \
                                                                                                    \
        const Attributes& attributes() const noexcept { return a_; }                                \
                                                                                                    \
    private:                                                                                        \
        Attributes a_;                                                                              \
    };                                                                                              \
                                                                                                    \
    class EXPORT Proxy : public ::ORVA::Middleware::SDO::ProxyT<ImmutablePublicationState> {        \
    public:                                                                                         \
        using ProxyT::ProxyT;                                                                       \
        ~Proxy() override;                                                                          \
    };                                                                                              \
                                                                                                    \
    class EXPORT Servant                                                                            \
        : public ::ORVA::Middleware::SDO::ServantT<ImmutablePublicationState, PublicationStateUpdater> { \
    public:                                                                                         \
        using ServantT::ServantT;                                                                   \
        ~Servant() override;                                                                        \
    };                                                                                              \
                                                                                                    \
    class EXPORT RemoteMethodsFactoryInterface {                                                    \
    public:                                                                                         \
        RemoteMethodsFactoryInterface() = default;                                                  \
        virtual ~RemoteMethodsFactoryInterface();                                                   \
    };                                                                                              \
                                                                                                    \
    class EXPORT PublicationInfo                                                                    \
        : public ::ORVA::Middleware::SDO::PublicationInfoT<RemoteMethodsFactoryInterface> {         \
    public:                                                                                         \
        using PublicationInfoT::PublicationInfoT;                                                   \
        ~PublicationInfo() override;                                                                \
    };                                                                                              \
                                                                                                    \
    using ProxyHandle = ::ORVA::Middleware::ManagedPtr<Proxy>;                                      \
    using DiscoveryCallbackFactory = ::ORVA::Middleware::Callback::CallbackFactory<                 \
        ProxyHandle, ::ORVA::Middleware::Callback::DiscoveryTag>;                                   \
    using StateChangeCallbackFactory = ::ORVA::Middleware::Callback::CallbackFactory<               \
        ProxyHandle, ::ORVA::Middleware::Callback::StateChangeTag>;                                 \
    using DestructionCallbackFactory = ::ORVA::Middleware::Callback::CallbackFactory<               \
        ProxyHandle, ::ORVA::Middleware::Callback::DestructionTag>;                                 \
                                                                                                    \
    class EXPORT SubscriptionInfo : public ::ORVA::Middleware::SDO::SubscriptionInfoT<Proxy> {      \
    public:                                                                                         \
        SubscriptionInfo(const ::ORVA::Middleware::SmartPtr<DiscoveryCallbackFactory>& discovery,   \
                         const ::ORVA::Middleware::SmartPtr<StateChangeCallbackFactory>& stateChange, \
                         const ::ORVA::Middleware::SmartPtr<DestructionCallbackFactory>& destruction); \
        ~SubscriptionInfo() override;                                                               \
    };                                                                                              \
                                                                                                    \
    struct EXPORT ServantTraits {                                                                   \
        using Servant = ::MODEL::CLASS::Servant;                                                    \
        using PublicationInfo = ::MODEL::CLASS::PublicationInfo;                                    \
        static const ::ORVA::Middleware::SDO::ClassBinding& binding();                              \
    }

namespace ORVA::ObjectModel {

// The value a new object's local-class attribute starts with: Interface::create() with no arguments.
// Local-class values are immutable, so all objects of a library share one of each.
template <class Interface>
const Middleware::SmartPtr<Interface>& zero()
{
    static const Middleware::SmartPtr<Interface> value = Interface::create();
    return value;
}

// The value a new object's attribute starts with: zero, false, the empty text, the enumerator 0;
// a local class holding zeros.
template <class T>
struct Initial {
    static T value() { return T(); }
};
template <class Interface>
struct Initial<Middleware::SmartPtr<Interface>> {
    static const Middleware::SmartPtr<Interface>& value() { return zero<Interface>(); }
};

}  // namespace ORVA::ObjectModel
