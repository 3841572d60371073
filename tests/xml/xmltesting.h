#pragma once
// Helpers shared by the XML reader's tests.

#include "xml/xmlparser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace xmltest {

// Puts the reader's process-wide options back to their start values around each test.
class XmlTest : public ::testing::Test {
protected:
    void SetUp() override { setXmlOptions(true, true, true); }
    void TearDown() override { setXmlOptions(true, true, true); }
};

// XmlTest with files: `file` writes bytes to a fresh temporary path, removed after the test.
class XmlFileTest : public XmlTest {
protected:
    void TearDown() override;
    std::string file(const std::string& leaf, const std::string& bytes);

private:
    std::vector<std::string> written_;
};

// A readable picture of a whole tree: one line per item, attributes inline, used to compare
// trees in one assertion.
std::string describe(const XmlElement& element);

// A fresh file path in the test's temporary directory.
std::string tempPath(const std::string& leaf);

// Writes `bytes` to `path` as they are.
void writeBytes(const std::string& path, const std::string& bytes);

}  // namespace xmltest
