#include "rangelink/configurationfile.h"

#include "decimal/decimalnumber.h"
#include "support/commalocale.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <fstream>
#include <streambuf>
#include <string>
#include <system_error>
#include <utility>

namespace {

struct Expected {
    std::string initRef, executionName, sessionName;
    double lat, lon, az, x0, y0, h;
    Expected(std::string i = "", std::string e = "", std::string s = "", double la = 0, double lo = 0,
             double a = 0, double x = 0, double y = 0, double hh = 0)
        : initRef(std::move(i)), executionName(std::move(e)), sessionName(std::move(s)),
          lat(la), lon(lo), az(a), x0(x), y0(y), h(hh) {}
};

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vkrsim-config-XXXXXX";
        dir_ = mkdtemp(pattern);
        path_ = dir_ + "/config.txt";
    }
    void TearDown() override
    {
        unlink(path_.c_str());
        rmdir(dir_.c_str());
    }
    void write(const std::string& content)
    {
        std::ofstream out(path_, std::ios::binary);
        out << content;
    }
    // Reads the file and returns what read() wrote to standard output.
    std::string readInto(ConfigurationFile& config)
    {
        config.setFileName(path_);
        testing::internal::CaptureStdout();
        config.read();
        return testing::internal::GetCapturedStdout();
    }
    static void expectValues(const ConfigurationFile& c, const Expected& e)
    {
        EXPECT_EQ(c.getInitRef(), e.initRef);
        EXPECT_EQ(c.getExecutionName(), e.executionName);
        EXPECT_EQ(c.getSessionName(), e.sessionName);
        EXPECT_EQ(c.getLtpLatitude(), e.lat);
        EXPECT_EQ(c.getLtpLongitude(), e.lon);
        EXPECT_EQ(c.getLtpAzimuth(), e.az);
        EXPECT_EQ(c.getLtpXFalseOrigin(), e.x0);
        EXPECT_EQ(c.getLtpYFalseOrigin(), e.y0);
        EXPECT_EQ(c.getLtpHeightOffset(), e.h);
    }
    std::string dir_, path_;
};

TEST_F(ConfigFileTest, ReadsEveryKeyOfTheSampleFile)
{
    write("ORVA.ORBdefaultInitRef=domain=3;peers=127.0.0.1\n"
          "ORVA.executionName=Trial7\n"
          "ORVA.sessionName=SightBench\n"
          "ORVA.ORBlistenEndpoints=iiop://:0\n"
          "ORVA.LTP_latitude=-35.25\n"
          "ORVA.LTP_longitude=149.125\n"
          "ORVA.LTP_azimuth=12.5\n"
          "ORVA.LTP_XFalseOrigin=1000\n"
          "ORVA.LTP_YFalseOrigin=-2000.5\n"
          "ORVA.LTP_HeightOffset=150\n");
    ConfigurationFile config;
    EXPECT_EQ(readInto(config), "");
    expectValues(config, {"domain=3;peers=127.0.0.1", "Trial7", "SightBench", -35.25, 149.125, 12.5, 1000, -2000.5, 150});
    EXPECT_EQ(config.getListenEndpoints(), "iiop://:0");
}

TEST_F(ConfigFileTest, LineEdgeCases)
{
    struct Row {
        const char* name;
        std::string content;
        Expected expected;
    } rows[] = {
        {"blank on each side of = keeps the key from matching", "ORVA.executionName = Trial7\n", {}},
        {"a second = belongs to the value", "ORVA.sessionName=a=b\n", {"", "", "a=b"}},
        {"number with a unit reads as the number", "ORVA.LTP_HeightOffset= 150m\n", {"", "", "", 0, 0, 0, 0, 0, 150}},
        {"letters only read as zero", "ORVA.LTP_HeightOffset=abc\n", {}},
        {"the last of repeated keys wins", "ORVA.LTP_azimuth=10\nORVA.LTP_azimuth=20\n", {"", "", "", 0, 0, 20}},
        {"CRLF line ends are not part of values", "ORVA.executionName=Trial7\r\nORVA.LTP_latitude=1.5\r\n",
         {"", "Trial7", "", 1.5}},
        {"keys are case-sensitive", "orva.executionName=Trial7\n", {}},
        {"a line without = is ignored", "ORVA.executionName\nORVA.LTP_latitude\n", {}},
        {"comment lines pass because their key matches nothing", "# ORVA.executionName=x\n", {}},
        {"empty file", "", {}},
        {"empty lines only", "\n\n\r\n\n", {}},
        {"last line without a line end", "ORVA.executionName=Last", {"", "Last"}},
        {"blanks at the ends of values stay", "ORVA.sessionName= S \n", {"", "", " S "}},
        {"empty value", "ORVA.executionName=\n", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        write(row.content);
        ConfigurationFile config;
        EXPECT_EQ(readInto(config), "");
        expectValues(config, row.expected);
    }
}

TEST_F(ConfigFileTest, LongLinesAreReadWhole)
{
    const std::string longRef(5000, 'r');
    write("ORVA.ORBdefaultInitRef=" + longRef + "\n" + std::string(3000, 'k') + "=v\nORVA.executionName=After\n");
    ConfigurationFile config;
    EXPECT_EQ(readInto(config), "");
    EXPECT_EQ(config.getInitRef(), longRef);
    EXPECT_EQ(config.getExecutionName(), "After");
}

TEST_F(ConfigFileTest, MissingFileWritesOneLineAndKeepsValues)
{
    write("ORVA.executionName=First\nORVA.LTP_latitude=2\n");
    ConfigurationFile config;
    readInto(config);
    unlink(path_.c_str());
    EXPECT_EQ(readInto(config), "No Configuration file (" + path_ + ") found.\n");
    EXPECT_EQ(config.getExecutionName(), "First");
    EXPECT_EQ(config.getLtpLatitude(), 2.0);

    ConfigurationFile fresh;
    EXPECT_EQ(readInto(fresh), "No Configuration file (" + path_ + ") found.\n");
    expectValues(fresh, {});
}

TEST_F(ConfigFileTest, DecimalPointIsAPointInAnyLocale)
{
    // The dialog toolkit adopts the user's locale; a comma locale must not cut 52.5 to 52.
    EXPECT_EQ(decimal::textToDouble("  -1.25e2xyz"), -125.0);
    EXPECT_EQ(decimal::textToDouble(""), 0.0);
    write("ORVA.LTP_latitude=52.5\n");
    ConfigurationFile config;
    {
        vkrsim::test::CommaNumericLocale comma;
        if (!comma.active())
            GTEST_SKIP() << comma.whyNot();
        readInto(config);
    }
    EXPECT_EQ(config.getLtpLatitude(), 52.5);
}

// Gives `good` bytes, then fails the next read as a disk error would.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::string good) : good_(std::move(good))
    {
        setg(good_.data(), good_.data(), good_.data() + good_.size());
    }

protected:
    int_type underflow() override { throw std::system_error(EIO, std::generic_category(), "read"); }

private:
    std::string good_;
};

TEST_F(ConfigFileTest, ReadFailuresAreReportedWithTheirReason)
{
    const std::string prefix = "Exception processing Configuration file (" + path_ + "): ";
    {
        SCOPED_TRACE("config.txt is a directory");
        ASSERT_EQ(mkdir(path_.c_str(), 0700), 0);
        ConfigurationFile config;
        const std::string out = readInto(config);
        rmdir(path_.c_str());
        EXPECT_EQ(out.rfind(prefix, 0), 0u) << out;
        EXPECT_NE(out.find(std::error_code(EISDIR, std::generic_category()).message() + "\n"), std::string::npos)
            << out;
    }
    {
        SCOPED_TRACE("read error half-way: the lines before it are kept, reading stops");
        FailingBuffer buffer("ORVA.executionName=Kept\nORVA.sessionName=Cut");
        std::istream in(&buffer);
        ConfigurationFile config;
        config.setFileName(path_);
        testing::internal::CaptureStdout();
        config.readLines(in);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, prefix + std::system_error(EIO, std::generic_category(), "read").what() + "\n");
        EXPECT_EQ(config.getExecutionName(), "Kept");
        EXPECT_EQ(config.getSessionName(), "");
    }
}

}  // namespace
