#pragma once
// What the families write for the objects that the live tests publish, byte for byte. The
// publisher's --set groups and the dumps they must give sit side by side here.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace basicimpltest {

struct LiveCase {
    std::string className;                      // the publisher's --class
    std::string ns;                             // namespace of the class, as the headers name it
    std::vector<std::vector<std::string>> sets;  // one group of --set values per commit
    // The dump that follows the event lines of the state change to `version`.
    std::function<std::string(std::uint32_t version)> dump;
};

// The whole output for: discovery (version 1), one state change per set group, destruction.
inline std::string expectedOutput(const LiveCase& c, const std::string& id, std::uint32_t verbosity)
{
    const std::uint32_t last = static_cast<std::uint32_t>(c.sets.size()) + 1;
    if (verbosity == 0)
        return "";
    if (verbosity == 1)
        return "d" + std::string(c.sets.size(), 'c') + "x";
    auto events = [&](const std::string& kind, std::uint32_t version) {
        return c.ns + "::BasicImpl " + kind + " execute()\nSDO ID " + id + "\nVersion " + std::to_string(version) + "\n";
    };
    std::string text = events("DiscoveryCallbackImpl", 1);
    for (std::uint32_t version = 2; version <= last; ++version) {
        text += events("StateChangeCallbackImpl", version);
        if (verbosity >= 3)
            text += c.dump(version);
    }
    return text + events("DestructionCallbackImpl", last);
}

inline const std::vector<LiveCase>& liveCases()
{
    static const std::vector<LiveCase> cases = {
        {"Platform",
         "ORVA::Platform",
         {{"platformID=1,2,3", "timeStamp=1700000000", "callSign=", "designator=", "platformType=12,1",
           "affiliation=1", "damageState=0", "damagePercent=33.333333", "tspi=4510000,800000,4400000"},
          {"callSign=Alpha", "designator=A1", "affiliation=2", "damageState=-1", "damagePercent=0.5"}},
         [](std::uint32_t version) {
             const bool second = version == 3;
             return " this.ORVA_Platform_VersionCounter " + std::to_string(version) + "\n" +
                    " this.platformID \n"
                    "    platformID.siteID 1\n"
                    "    platformID.applicationID 2\n"
                    "    platformID.objectID 3\n"
                    " this.timeStamp \n" +
                    (second ? " this.callSign Alpha\n this.designator A1\n" : " this.callSign \n this.designator \n") +
                    " this.platformType \n"
                    "    platformType.typeIndex 12\n"
                    "    platformType.databaseVersion 1\n" +
                    (second ? " this.affiliation 2\n this.damageState -1\n this.damagePercent 0.5\n"
                            : " this.affiliation 1\n this.damageState 0\n this.damagePercent 33.3333\n") +
                    " this.tspi \n";
         }},
        {"PlatformExtension",
         "ORVA::PlatformExtension",
         {{"platformID=7,8,4294967295", "timeStamp=42", "extensionTypeID=4294967295"}},
         [](std::uint32_t version) {
             return " this.ORVA_PlatformExtension_VersionCounter " + std::to_string(version) + "\n" +
                    " this.platformID \n"
                    "    platformID.siteID 7\n"
                    "    platformID.applicationID 8\n"
                    "    platformID.objectID 4294967295\n"
                    " this.timeStamp \n"
                    " this.extensionTypeID 4294967295\n";
         }},
        {"VKRsim",
         "HALC::VKRsim",
         {{"fieldOfView=0.785398163", "zoomFactor=1", "terrainID=-1", "viewFromX=1234567.891", "viewFromY=-0.5",
           "viewFromZ=100", "viewToX=0", "viewToY=0", "viewToZ=0", "viewPsi=3.14159265", "viewTheta=1e-7",
           "viewPhi=-2.5", "VKRsimID=65535,0,9"}},
         [](std::uint32_t version) {
             return " this.HALC_VKRsim_VersionCounter " + std::to_string(version) + "\n" +
                    " this.fieldOfView 0.785398\n"
                    " this.zoomFactor 1\n"
                    " this.terrainID -1\n"
                    " this.viewFromX 1.23457e+06\n"
                    " this.viewFromY -0.5\n"
                    " this.viewFromZ 100\n"
                    " this.viewToX 0\n"
                    " this.viewToY 0\n"
                    " this.viewToZ 0\n"
                    " this.viewPsi 3.14159\n"
                    " this.viewTheta 1e-07\n"
                    " this.viewPhi -2.5\n"
                    " this.VKRsimID \n"
                    "    VKRsimID.siteID 65535\n"
                    "    VKRsimID.applicationID 0\n"
                    "    VKRsimID.objectID 9\n";
         }},
        {"SceneGenerator",
         "HALC::SceneGenerator",
         {{"sceneGeneratorID=3,4,5", "endPoint=", "terrainDescription=Desert range, sector 7"}},
         [](std::uint32_t version) {
             return " this.HALC_SceneGenerator_VersionCounter " + std::to_string(version) + "\n" +
                    " this.sceneGeneratorID \n"
                    "    sceneGeneratorID.siteID 3\n"
                    "    sceneGeneratorID.applicationID 4\n"
                    "    sceneGeneratorID.objectID 5\n"
                    " this.endPoint \n"
                    " this.terrainDescription Desert range, sector 7\n";
         }},
        {"ForceFeedback",
         "HALC::ForceFeedback",
         {{"magnitude=0.75", "period=0.2", "isActive=true"}, {"isActive=false"}},
         [](std::uint32_t version) {
             return " this.HALC_ForceFeedback_VersionCounter " + std::to_string(version) + "\n" +
                    " this.magnitude 0.75\n"
                    " this.period 0.2\n" +
                    (version == 2 ? " this.isActive true\n" : " this.isActive false\n");
         }},
    };
    return cases;
}

inline const LiveCase& liveCase(const std::string& className)
{
    for (const LiveCase& c : liveCases())
        if (c.className == className)
            return c;
    throw std::invalid_argument("no live case for " + className);
}

// The publisher's arguments for a case: its class and its --set groups, separated by --next.
inline std::vector<std::string> publisherArguments(const LiveCase& c, const std::string& execution)
{
    std::vector<std::string> args = {"--execution", execution, "--class", c.className};
    for (std::size_t group = 0; group < c.sets.size(); ++group) {
        if (group > 0)
            args.push_back("--next");
        for (const std::string& set : c.sets[group]) {
            args.push_back("--set");
            args.push_back(set);
        }
    }
    return args;
}

}  // namespace basicimpltest
