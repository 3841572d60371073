// The run time's configuration: its option vector and the init reference.

#include "middleware/middleware.h"

#include <gtest/gtest.h>

#include <string>

using namespace ORVA::Middleware;

namespace {

TEST(Configuration, TakesItsOptionsOutOfTheVector)
{
    char a0[] = "-ORBdefaultInitRef", a1[] = "dds:3", a2[] = "-keep", a3[] = "-executionName", a4[] = "E1",
         a5[] = "-sessionName", a6[] = "", a7[] = "last";
    char* argv[] = {a0, a1, a2, a3, a4, a5, a6, a7, nullptr};
    int argc = 8;
    const Configuration c(argc, argv, "app", "");
    EXPECT_EQ("dds:3", c.initReference());
    EXPECT_EQ("E1", c.executionName());
    EXPECT_EQ("", c.sessionName());
    ASSERT_EQ(2, argc);
    EXPECT_STREQ("-keep", argv[0]);
    EXPECT_STREQ("last", argv[1]);
    EXPECT_EQ(nullptr, argv[2]);
}

TEST(Configuration, ConstVectorIsReadAsItStands)
{
    const char* argv[] = {"-ORBdefaultInitRef", "", "-executionName", "X", "-sessionName", "S", nullptr};
    int argc = 6;
    const Configuration c(argc, argv, "", "");
    EXPECT_EQ("X", c.executionName());
    EXPECT_EQ("S", c.sessionName());
    EXPECT_EQ(6, argc);
    EXPECT_EQ(3000, c.joinTimeoutMilliseconds());
}

TEST(Configuration, RejectsOptionsWithoutValuesAndBadTimeouts)
{
    const struct {
        std::vector<const char*> args;
    } rows[] = {{{"-executionName"}}, {{"-a", "-sessionName"}}, {{"-joinTimeout", "soon"}},
                {{"-joinTimeout", "-5"}}, {{"-joinTimeout", "12x"}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args.back());
        int argc = static_cast<int>(row.args.size());
        EXPECT_THROW(Configuration(argc, row.args.data(), "", ""), Exception);
    }
}

TEST(InitReference, ParsesDomainsAndPeers)
{
    const struct {
        const char* text;
        std::uint32_t domain;
        std::vector<std::string> peers;
    } rows[] = {
        {"", 0, {}},
        {"dds:0", 0, {}},
        {"dds:230", 230, {}},
        {"dds:7@127.0.0.1", 7, {"127.0.0.1"}},
        {"dds:3@range-a.local:7400,10.0.0.6", 3, {"range-a.local:7400", "10.0.0.6"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const InitReference ref = InitReference::parse(row.text);
        EXPECT_EQ(row.domain, ref.domain);
        EXPECT_EQ(row.peers, ref.peers);
    }
}

TEST(InitReference, RejectsMalformedText)
{
    for (const char* text : {"0", "dds:", "dds:231", "dds:-1", "dds:1@", "dds:1@a,,b", "dds:1@host:0",
                             "dds:1@host:70000", "dds:1@bad host", "corbaloc:iiop:host:2809/NameService",
                             "dds:1@<Peer/>"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(InitReference::parse(text), Exception);
    }
}

}  // namespace
