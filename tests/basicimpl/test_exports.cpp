// What the two libraries export (as the dynamic symbol table shows it) and that copying a
// library's link-forcing integer is enough to load it.

#include "support/childprocess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// Demangled names of the dynamic symbols of `library` that it defines (or, with `undefined`,
// that it takes from other libraries).
std::set<std::string> dynamicSymbols(const std::string& library, bool undefined = false)
{
    std::set<std::string> names;
    const std::string command =
        std::string("nm -DC ") + (undefined ? "--undefined-only" : "--defined-only") + " '" + library + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return names;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe.get())) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        // "<address> <type> <name>", the address blank for undefined symbols
        const auto name = text.find(' ', text.find_first_not_of(' ', text.find(' ') + 1));
        if (name != std::string::npos)
            names.insert(text.substr(name + 1));
    }
    return names;
}

bool hasPrefix(const std::set<std::string>& names, const std::string& prefix)
{
    const auto it = names.lower_bound(prefix);
    return it != names.end() && it->compare(0, prefix.size(), prefix) == 0;
}

// What every family exports, relative to "<Class>::BasicImpl::".
std::vector<std::string> familySymbols()
{
    std::vector<std::string> symbols = {
        "CallbackInfo::CallbackInfo(",
        "CallbackInfo::~CallbackInfo()",
        "CallbackInfo::getOutputStream() const",
        "CallbackInfo::getVerbosity() const",
        "CallbackInfo::getDiscoveredSDOlist",
        "SubscriptionInfoImpl::SubscriptionInfoImpl(",
        "SubscriptionInfoImpl::~SubscriptionInfoImpl()",
        "PublicationInfoImpl::PublicationInfoImpl()",
        "PublicationInfoImpl::~PublicationInfoImpl()",
    };
    for (const std::string kind : {"Discovery", "StateChange", "Destruction"}) {
        const std::string callback = kind + "CallbackImpl";
        const std::string factory = kind + "CallbackFactoryImpl";
        for (const std::string& name : {callback, factory}) {
            symbols.push_back(name + "::" + name + "(");
            symbols.push_back(name + "::~" + name + "()");
        }
        symbols.push_back(callback + "::execute()");
        symbols.push_back(factory + "::create(");
    }
    return symbols;
}

struct LibraryRow {
    const char* path;
    std::vector<std::string> classes;
    std::string linkInteger;
};

const LibraryRow libraries[] = {
    {PLATFORM_BASIC_LIBRARY, {"ORVA::Platform", "ORVA::PlatformExtension"},
     "basicImpl_ORVA_Platform_v3_1_forceThisLibraryToBeLinked"},
    {MISSION_BASIC_LIBRARY, {"HALC::VKRsim", "HALC::SceneGenerator", "HALC::ForceFeedback"},
     "basicImpl_HALC_VKRsim_v4_forceThisLibraryToBeLinked"},
};

TEST(Exports, EveryFamilyShowsItsOperationsTablesAndTheLinkInteger)
{
    for (const LibraryRow& library : libraries) {
        SCOPED_TRACE(library.path);
        const auto names = dynamicSymbols(library.path);
        ASSERT_FALSE(names.empty()) << "nm gave nothing";
        EXPECT_TRUE(names.count(library.linkInteger));
        for (const std::string& cls : library.classes) {
            SCOPED_TRACE(cls);
            const std::string ns = cls + "::BasicImpl::";
            for (const std::string& symbol : familySymbols())
                EXPECT_TRUE(hasPrefix(names, ns + symbol)) << ns + symbol;
            for (const std::string kind : {"Discovery", "StateChange", "Destruction"}) {
                for (const std::string suffix : {"CallbackImpl", "CallbackFactoryImpl"}) {
                    // Virtual bases: both the function table and the virtual-base table.
                    EXPECT_TRUE(names.count("vtable for " + ns + kind + suffix)) << kind + suffix;
                    EXPECT_TRUE(names.count("VTT for " + ns + kind + suffix)) << kind + suffix;
                }
            }
            EXPECT_TRUE(names.count("vtable for " + ns + "SubscriptionInfoImpl"));
            EXPECT_TRUE(names.count("vtable for " + ns + "PublicationInfoImpl"));
        }
        // The copies made at static initialisation reference the nine standard integers.
        const auto taken = dynamicSymbols(library.path, true);
        for (const char* standard :
             {"fullConversion_Time", "positionConversion_TSPI", "noConversion_Acceleration", "utilities_SRF",
              "noConversion_Orientation", "fullConversion_Position", "noConversion_Velocity", "userDefined_UniqueID",
              "csvReader_PlatformType"})
            EXPECT_TRUE(taken.count(std::string(standard) + "_forceThisLibraryToBeLinked")) << standard;
        // Helpers stay private to the library.
        for (const auto& name : names) {
            EXPECT_EQ(name.find("basicimpl::"), std::string::npos) << name;
            EXPECT_EQ(name.find("::detail::"), std::string::npos) << name;
        }
    }
}

std::string loadedBy(const std::string& probe)
{
    const std::string output = ::testing::TempDir() + probe + ".out";
    vkrsim::test::ChildProcess process({vkrsim::test::builtProgram(probe)}, output);
    EXPECT_EQ(process.wait(std::chrono::seconds(20)), 0);
    return vkrsim::test::readFile(output);
}

TEST(LinkForcing, CopyingTheIntegerAloneLoadsTheLibraryAndTheLocalClasses)
{
    const std::string platform = loadedBy("basicimpl-linkprobe-platform");
    EXPECT_NE(platform.find("/libORVA-Platform-v3.1-basic-v1.so"), std::string::npos) << platform;
    EXPECT_NE(platform.find("/libORVA-LocalClasses.so"), std::string::npos) << platform;
    EXPECT_EQ(platform.find("/libHALC-VKRsim-v4-basic-v1.so"), std::string::npos) << platform;

    const std::string mission = loadedBy("basicimpl-linkprobe-mission");
    EXPECT_NE(mission.find("/libHALC-VKRsim-v4-basic-v1.so"), std::string::npos) << mission;
    EXPECT_NE(mission.find("/libORVA-LocalClasses.so"), std::string::npos) << mission;
    EXPECT_EQ(mission.find("/libORVA-Platform-v3.1-basic-v1.so"), std::string::npos) << mission;

    // The same link without the copy loads neither: the integer is what does it.
    const std::string none = loadedBy("basicimpl-linkprobe-none");
    EXPECT_NE(none.find("libc.so"), std::string::npos) << none;
    EXPECT_EQ(none.find("-basic-v1.so"), std::string::npos) << none;
}

}  // namespace
