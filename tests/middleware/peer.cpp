// orva-test-peer: a range application in its own process for the middleware tests.
//   orva-test-peer --execution NAME --mode platforms [--count N] [--updates K]
//     publishes N Platform objects (call signs P1..PN), commits K updates to each (version 1+K),
//   orva-test-peer --execution NAME --mode allclasses
//     publishes one object of each of the five classes with edge values, committed once (version 2);
// then writes "ready" and waits for SIGINT/SIGTERM, withdraws its objects in order of creation and
// writes "withdrawn".

#include "middleware/middleware.h"
#include "models/mission/forcefeedback.h"
#include "models/mission/scenegenerator.h"
#include "models/mission/vkrsim.h"
#include "models/platform/platform.h"
#include "models/platform/platformextension.h"
#include "tests/middleware/peervalues.h"

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

using namespace ORVA;
using Middleware::CommunicationProperties;
using Middleware::ConcurrencyProperties;
using Middleware::SmartPtr;

namespace {

template <class Traits>
auto makeServant(const Middleware::ManagedPtr<Middleware::Session>& session)
{
    using Info = typename Traits::PublicationInfo;
    using Factory = typename decltype(std::declval<Info&>().getRemoteMethodsFactory())::element_type;
    auto info = SmartPtr<Info>(new Info(SmartPtr<Factory>(new Factory())));
    return session->makeServantFactory<Traits>(info)->createServant(CommunicationProperties(1),
                                                                     ConcurrencyProperties(1));
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string execution, mode = "platforms";
    int count = 1, updates = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--execution") execution = value;
        else if (option == "--mode") mode = value;
        else if (option == "--count") count = std::stoi(value);
        else if (option == "--updates") updates = std::stoi(value);
    }
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    int optionCount = 0;
    const char* options[] = {nullptr};
    auto runtime = Middleware::init(Middleware::Configuration(optionCount, options, "orva-test-peer", ""));
    auto exec = runtime->enterExecution(execution);
    auto session = exec->openSession("peer");

    std::vector<Middleware::ManagedPtr<Platform::Servant>> platforms;
    Middleware::ManagedPtr<Platform::Servant> edgePlatform;
    Middleware::ManagedPtr<PlatformExtension::Servant> extension;
    Middleware::ManagedPtr<HALC::VKRsim::Servant> vkrsim;
    Middleware::ManagedPtr<HALC::SceneGenerator::Servant> scene;
    Middleware::ManagedPtr<HALC::ForceFeedback::Servant> force;
    if (mode == "platforms") {
        for (int i = 1; i <= count; ++i) {
            platforms.push_back(makeServant<Platform::ServantTraits>(session));
            for (int k = 1; k <= updates; ++k) {
                auto u = platforms.back()->createUpdater();
                u->set_callSign("P" + std::to_string(i));
                u->set_damageState(k);
                platforms.back()->commitUpdater(std::move(u));
            }
        }
    } else {
        edgePlatform = makeServant<Platform::ServantTraits>(session);
        edgePlatform->commitUpdater(peervalues::platform(edgePlatform->createUpdater()));
        extension = makeServant<PlatformExtension::ServantTraits>(session);
        extension->commitUpdater(peervalues::extension(extension->createUpdater()));
        vkrsim = makeServant<HALC::VKRsim::ServantTraits>(session);
        vkrsim->commitUpdater(peervalues::vkrsim(vkrsim->createUpdater()));
        scene = makeServant<HALC::SceneGenerator::ServantTraits>(session);
        scene->commitUpdater(peervalues::sceneGenerator(scene->createUpdater()));
        force = makeServant<HALC::ForceFeedback::ServantTraits>(session);
        force->commitUpdater(peervalues::forceFeedback(force->createUpdater()));
    }
    std::cout << "ready" << std::endl;
    int signo = 0;
    sigwait(&stop, &signo);
    for (auto& p : platforms)
        p.reset();
    edgePlatform.reset();
    extension.reset();
    vkrsim.reset();
    scene.reset();
    force.reset();
    std::cout << "withdrawn" << std::endl;
    return 0;
}
