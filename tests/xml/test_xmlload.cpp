// loadXmlFileOrExit: a bad file shows the parsing-error box and ends the process with 255.

#include "xmltesting.h"

#include "desktop/processexit.h"
#include "support/messageboxrecorder.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using XmlLoadOrExit = xmltest::XmlFileTest;

// In the death-test child: the box the process showed before it left is checked against the
// expected text by a leave cleanup (the process leaves without atexit handlers), and the verdict goes to standard error for the parent to match.
const vkrsim::test::MessageBoxRecorder* childRecorder = nullptr;
std::string expectedText;

void reportBoxAtExit()
{
    const auto boxes = childRecorder->boxes();
    if (boxes.size() != 1) {
        std::fprintf(stderr, "BOX-MISMATCH: %zu boxes\n", boxes.size());
        return;
    }
    const desktop::MessageBoxRequest& box = boxes.front();
    const bool ok = box.text == expectedText && box.caption == "XML Parsing error" &&
                    box.icon == desktop::MessageIcon::Error && box.topMost;
    std::fprintf(stderr, ok ? "BOX-OK\n" : "BOX-MISMATCH: [%s] [%s]\n", box.text.c_str(), box.caption.c_str());
}

void loadRecordingTheBox(const std::string& path, const char* root, const std::string& expected)
{
    static vkrsim::test::MessageBoxRecorder recorder;  // lives until the process leaves
    childRecorder = &recorder;
    expectedText = expected;
    desktop::addLeaveCleanup(&reportBoxAtExit);
    loadXmlFileOrExit(path.c_str(), root);
    std::fprintf(stderr, "RETURNED\n");
    std::exit(0);
}

TEST_F(XmlLoadOrExit, BrokenFilesShowTheBoxAndExitWith255)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Row {
        const char* name;
        std::string content;  // empty: no file at all
        std::string expected;
    };
    const std::string missing = xmltest::tempPath("missing.xml");
    const Row rows[] = {
        {"missing file", "", "XML Parsing error inside file '" + missing + "'.\nError: File not found\nAt line 0, column 0.\n"},
        {"unclosed root", "<MGXML>\n<a>1</a>\n", ""},
        {"another root", "<other/>", ""},
        {"bad entity", "<MGXML>&nbsp;</MGXML>", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = row.content.empty() ? missing : file("load.xml", row.content);
        std::string expected = row.expected;
        if (expected.empty()) {
            XmlParseResult result;
            parseXmlFile(path.c_str(), "MGXML", &result);
            ASSERT_NE(result.code, 0);
            expected = xmlLoadErrorMessage(path.c_str(), "MGXML", result);
        }
        EXPECT_EXIT(loadRecordingTheBox(path, "MGXML", expected), ::testing::ExitedWithCode(255), "BOX-OK");
    }
}

TEST_F(XmlLoadOrExit, TheRootNameIsNamedWhenMissing)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string path = file("other.xml", "<other/>");
    const std::string expected = "XML Parsing error inside file '" + path +
                                 "'.\nError: First Tag not found\nAt line 0, column 0.\nFirst Tag should be 'MGXML'.\n";
    EXPECT_EXIT(loadRecordingTheBox(path, "MGXML", expected), ::testing::ExitedWithCode(255), "BOX-OK");
}

TEST_F(XmlLoadOrExit, SoundFileReturnsItsRootAndSetsUtf8Mode)
{
    const std::string latin = file("latin.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><MGXML>caf\xE9</MGXML>");
    const XmlElement root = loadXmlFileOrExit(latin.c_str(), "MGXML");
    EXPECT_STREQ(root.text(0), "caf\xE9");
    EXPECT_FALSE(xmlOptions().utf8Mode);
    EXPECT_TRUE(xmlOptions().dropWhitespace);  // the other options keep their values

    const std::string utf8 = file("utf8.xml", "<?xml version=\"1.0\"?><MGXML>caf\xC3\xA9</MGXML>");
    EXPECT_STREQ(loadXmlFileOrExit(utf8.c_str(), "mgxml").text(0), "caf\xC3\xA9");
    EXPECT_TRUE(xmlOptions().utf8Mode);
}

}  // namespace
