// basicimpl-objectpublisher: a range peer for the basic-implementation tests. Publishes objects
// of one class, made through that class's PublicationInfoImpl, with attribute values given on
// the command line, and lets the test step it with signals:
//
//   basicimpl-objectpublisher --execution NAME --class CLASS [--objects N]
//                             [--set ATTRIBUTE=VALUE ...] [--next --set ... ...]
//
//   start    N objects published (version 1); prints "SDO ID <identity>" per object, then "published"
//   SIGUSR1  every object commits the next group of --set values (the last group again when
//            none is left); prints "committed <version>"
//   SIGUSR2  the first remaining object is withdrawn; prints "withdrawn <identity>"
//   SIGTERM  the rest are withdrawn in order, "done", exit 0
//
// Values: numbers in C syntax; booleans true/false; texts as given; UniqueID "site,app,object";
// PlatformType "typeIndex,databaseVersion"; Time "seconds"; TSPI "x,y,z" (geocentric metres).

#include "basicimpl/mission/missionbasic.h"
#include "basicimpl/platform/platformbasic.h"
#include "middleware/middleware.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace {

namespace Middleware = ORVA::Middleware;
using Middleware::ManagedPtr;
using Middleware::SmartPtr;

volatile std::sig_atomic_t commitRequests = 0;
volatile std::sig_atomic_t withdrawRequests = 0;
volatile std::sig_atomic_t stopRequested = 0;

extern "C" void onCommit(int) { commitRequests = commitRequests + 1; }
extern "C" void onWithdraw(int) { withdrawRequests = withdrawRequests + 1; }
extern "C" void onStop(int) { stopRequested = 1; }

using Assignment = std::pair<std::string, std::string>;
using Group = std::vector<Assignment>;

struct Arguments {
    std::string execution;
    std::string className;
    int objects = 1;
    std::vector<Group> groups;
};

Arguments parseArguments(int argc, char** argv)
{
    Arguments args;
    args.groups.emplace_back();
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--next") {
            args.groups.emplace_back();
            continue;
        }
        if (i + 1 >= argc)
            throw std::invalid_argument(name + " needs a value");
        const std::string value = argv[++i];
        if (name == "--execution") {
            args.execution = value;
        } else if (name == "--class") {
            args.className = value;
        } else if (name == "--objects") {
            args.objects = std::stoi(value);
        } else if (name == "--set") {
            const auto equals = value.find('=');
            if (equals == std::string::npos)
                throw std::invalid_argument("--set needs ATTRIBUTE=VALUE, not " + value);
            args.groups.back().emplace_back(value.substr(0, equals), value.substr(equals + 1));
        } else {
            throw std::invalid_argument("unknown argument " + name);
        }
    }
    if (args.execution.empty() || args.className.empty())
        throw std::invalid_argument("--execution and --class are required");
    return args;
}

std::vector<double> numbers(const std::string& text)
{
    std::vector<double> values;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ','))
        values.push_back(std::stod(part));
    return values;
}

template <class Number>
Number number(const std::string& text)
{
    if constexpr (std::is_floating_point_v<Number>) {
        return static_cast<Number>(std::stod(text));
    } else {
        const long long value = std::stoll(text, nullptr, 0);
        if (value < static_cast<long long>(std::numeric_limits<Number>::min()) ||
            value > static_cast<long long>(std::numeric_limits<Number>::max()))
            throw std::out_of_range("out of range: " + text);
        return static_cast<Number>(value);
    }
}

bool flag(const std::string& text)
{
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    throw std::invalid_argument("not a boolean: " + text);
}

SmartPtr<ORVA::UniqueID::Interface> uniqueID(const std::string& text)
{
    const auto v = numbers(text);
    if (v.size() != 3)
        throw std::invalid_argument("UniqueID needs site,app,object: " + text);
    return ORVA::UniqueID::Interface::create(static_cast<std::uint16_t>(v[0]), static_cast<std::uint16_t>(v[1]),
                                             static_cast<std::uint32_t>(v[2]));
}

template <class Updater>
using Setters = std::map<std::string, std::function<void(Updater&, const std::string&)>>;

Setters<ORVA::Platform::PublicationStateUpdater> platformSetters()
{
    using U = ORVA::Platform::PublicationStateUpdater;
    return {
        {"platformID", [](U& u, const std::string& v) { u.set_platformID(uniqueID(v)); }},
        {"timeStamp", [](U& u, const std::string& v) { u.set_timeStamp(ORVA::Time::Interface::create(number<std::int64_t>(v))); }},
        {"callSign", [](U& u, const std::string& v) { u.set_callSign(v); }},
        {"designator", [](U& u, const std::string& v) { u.set_designator(v); }},
        {"platformType", [](U& u, const std::string& v) {
             const auto n = numbers(v);
             u.set_platformType(ORVA::PlatformType::Interface::create(static_cast<std::uint32_t>(n.at(0)),
                                                                      static_cast<std::uint32_t>(n.at(1))));
         }},
        {"affiliation", [](U& u, const std::string& v) { u.set_affiliation(static_cast<ORVA::Affiliation::Enum>(number<std::int32_t>(v))); }},
        {"damageState", [](U& u, const std::string& v) { u.set_damageState(number<std::int32_t>(v)); }},
        {"damagePercent", [](U& u, const std::string& v) { u.set_damagePercent(number<float>(v)); }},
        {"tspi", [](U& u, const std::string& v) {
             const auto n = numbers(v);
             u.set_tspi(ORVA::TSPI::Interface::create({n.at(0), n.at(1), n.at(2)}));
         }},
    };
}

Setters<ORVA::PlatformExtension::PublicationStateUpdater> platformExtensionSetters()
{
    using U = ORVA::PlatformExtension::PublicationStateUpdater;
    return {
        {"platformID", [](U& u, const std::string& v) { u.set_platformID(uniqueID(v)); }},
        {"timeStamp", [](U& u, const std::string& v) { u.set_timeStamp(ORVA::Time::Interface::create(number<std::int64_t>(v))); }},
        {"extensionTypeID", [](U& u, const std::string& v) { u.set_extensionTypeID(number<std::uint32_t>(v)); }},
    };
}

Setters<HALC::VKRsim::PublicationStateUpdater> vkrsimSetters()
{
    using U = HALC::VKRsim::PublicationStateUpdater;
    return {
        {"fieldOfView", [](U& u, const std::string& v) { u.set_fieldOfView(number<double>(v)); }},
        {"zoomFactor", [](U& u, const std::string& v) { u.set_zoomFactor(number<double>(v)); }},
        {"terrainID", [](U& u, const std::string& v) { u.set_terrainID(number<std::int16_t>(v)); }},
        {"viewFromX", [](U& u, const std::string& v) { u.set_viewFromX(number<double>(v)); }},
        {"viewFromY", [](U& u, const std::string& v) { u.set_viewFromY(number<double>(v)); }},
        {"viewFromZ", [](U& u, const std::string& v) { u.set_viewFromZ(number<double>(v)); }},
        {"viewToX", [](U& u, const std::string& v) { u.set_viewToX(number<double>(v)); }},
        {"viewToY", [](U& u, const std::string& v) { u.set_viewToY(number<double>(v)); }},
        {"viewToZ", [](U& u, const std::string& v) { u.set_viewToZ(number<double>(v)); }},
        {"viewPsi", [](U& u, const std::string& v) { u.set_viewPsi(number<double>(v)); }},
        {"viewTheta", [](U& u, const std::string& v) { u.set_viewTheta(number<double>(v)); }},
        {"viewPhi", [](U& u, const std::string& v) { u.set_viewPhi(number<double>(v)); }},
        {"VKRsimID", [](U& u, const std::string& v) { u.set_VKRsimID(uniqueID(v)); }},
    };
}

Setters<HALC::SceneGenerator::PublicationStateUpdater> sceneGeneratorSetters()
{
    using U = HALC::SceneGenerator::PublicationStateUpdater;
    return {
        {"sceneGeneratorID", [](U& u, const std::string& v) { u.set_sceneGeneratorID(uniqueID(v)); }},
        {"endPoint", [](U& u, const std::string& v) { u.set_endPoint(v); }},
        {"terrainDescription", [](U& u, const std::string& v) { u.set_terrainDescription(v); }},
    };
}

Setters<HALC::ForceFeedback::PublicationStateUpdater> forceFeedbackSetters()
{
    using U = HALC::ForceFeedback::PublicationStateUpdater;
    return {
        {"magnitude", [](U& u, const std::string& v) { u.set_magnitude(number<double>(v)); }},
        {"period", [](U& u, const std::string& v) { u.set_period(number<double>(v)); }},
        {"isActive", [](U& u, const std::string& v) { u.set_isActive(flag(v)); }},
    };
}

struct Member {
    SmartPtr<Middleware::Runtime> pRuntime_;
    ManagedPtr<Middleware::Execution> pExecution_;
    ManagedPtr<Middleware::Session> pSession_;
};

Member join(const std::string& execution)
{
    int count = 2;
    const char* options[] = {"-joinTimeout", "10000", nullptr};
    Member member;
    member.pRuntime_ = Middleware::init(Middleware::Configuration(count, options, "basicimpl-objectpublisher", ""));
    member.pExecution_ = member.pRuntime_->enterExecution(execution);
    member.pSession_ = member.pExecution_->openSession("publisher");
    return member;
}

template <class Traits, class PublicationInfoImpl, class Updater>
int publish(const Arguments& args, const Setters<Updater>& setters)
{
    for (const Group& group : args.groups)
        for (const auto& [name, value] : group)
            if (!setters.count(name))
                throw std::invalid_argument("unknown attribute " + name);

    const Member member = join(args.execution);
    auto factory = member.pSession_->template makeServantFactory<Traits>(
        SmartPtr<PublicationInfoImpl>(new PublicationInfoImpl()));
    std::vector<ManagedPtr<typename Traits::Servant>> servants;
    for (int i = 0; i < args.objects; ++i) {
        servants.push_back(factory->createServant(Middleware::CommunicationProperties(1),
                                                  Middleware::ConcurrencyProperties(1)));
        std::cout << "SDO ID " << servants.back()->getSDOid() << std::endl;
    }
    std::cout << "published" << std::endl;

    int commitsDone = 0;
    int withdrawalsDone = 0;
    while (!stopRequested) {
        if (commitsDone < commitRequests) {
            const Group& group = args.groups[std::min<std::size_t>(commitsDone, args.groups.size() - 1)];
            for (auto& servant : servants) {
                auto updater = servant->createUpdater();
                for (const auto& [name, value] : group)
                    setters.at(name)(*updater, value);
                servant->commitUpdater(std::move(updater));
            }
            ++commitsDone;
            std::cout << "committed " << commitsDone + 1 << std::endl;
        } else if (withdrawalsDone < withdrawRequests) {
            ++withdrawalsDone;
            if (!servants.empty()) {
                const auto id = servants.front()->getSDOid();
                servants.erase(servants.begin());
                std::cout << "withdrawn " << id << std::endl;
            }
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    while (!servants.empty())
        servants.erase(servants.begin());
    std::cout << "done" << std::endl;
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::signal(SIGUSR1, onCommit);
    std::signal(SIGUSR2, onWithdraw);
    std::signal(SIGTERM, onStop);
    std::signal(SIGINT, onStop);
    try {
        const Arguments args = parseArguments(argc, argv);
        if (args.className == "Platform")
            return publish<ORVA::Platform::ServantTraits, ORVA::Platform::BasicImpl::PublicationInfoImpl>(
                args, platformSetters());
        if (args.className == "PlatformExtension")
            return publish<ORVA::PlatformExtension::ServantTraits,
                           ORVA::PlatformExtension::BasicImpl::PublicationInfoImpl>(args, platformExtensionSetters());
        if (args.className == "VKRsim")
            return publish<HALC::VKRsim::ServantTraits, HALC::VKRsim::BasicImpl::PublicationInfoImpl>(
                args, vkrsimSetters());
        if (args.className == "SceneGenerator")
            return publish<HALC::SceneGenerator::ServantTraits, HALC::SceneGenerator::BasicImpl::PublicationInfoImpl>(
                args, sceneGeneratorSetters());
        if (args.className == "ForceFeedback")
            return publish<HALC::ForceFeedback::ServantTraits, HALC::ForceFeedback::BasicImpl::PublicationInfoImpl>(
                args, forceFeedbackSetters());
        throw std::invalid_argument("unknown class " + args.className);
    } catch (const std::exception& e) {
        std::cerr << "basicimpl-objectpublisher - " << e.what() << std::endl;
        return 1;
    }
}
