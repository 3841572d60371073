// Base64 encoder and decoder: round trips and the four outcome codes.

#include "xml/xmlbase64.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(XmlBase64, RoundTripsEveryLength)
{
    std::string data;
    for (int i = 0; i < 300; ++i)
        data += static_cast<char>((i * 37 + 11) & 0xFF);
    XmlBase64 codec;
    for (std::size_t length = 0; length <= data.size(); ++length) {
        SCOPED_TRACE(length);
        for (bool lineBreaks : {false, true}) {
            const std::string encoded = codec.encode(data.data(), length, lineBreaks);
            EXPECT_EQ(encoded.size() % (lineBreaks ? 1 : 4), 0u);
            EXPECT_EQ(XmlBase64::decodedSize(encoded.c_str()), length);
            ASSERT_EQ(codec.decode(encoded.c_str()).code, 0);
            ASSERT_EQ(codec.size(), length);
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(codec.data()), codec.size()), data.substr(0, length));
        }
    }
}

TEST(XmlBase64, KnownTexts)
{
    XmlBase64 codec;
    EXPECT_STREQ(codec.encode("", 0), "");
    EXPECT_STREQ(codec.encode("f", 1), "Zg==");
    EXPECT_STREQ(codec.encode("fo", 2), "Zm8=");
    EXPECT_STREQ(codec.encode("foobar", 6), "Zm9vYmFy");
    const unsigned char high[] = {0xFB, 0xFF, 0xBF};
    EXPECT_STREQ(codec.encode(high, 3), "+/+/");
    std::string longer(60, 'a');
    const std::string wrapped = codec.encode(longer.data(), longer.size(), true);
    EXPECT_EQ(wrapped.find('\n'), 72u);
}

struct DecodeRow {
    const char* name;
    const char* text;
    int code;
    const char* bytes;  // decoded, when the code keeps data
};

TEST(XmlBase64, DecodeReportsItsFourCodes)
{
    const DecodeRow rows[] = {
        {"padded", "Zm8=", 0, "fo"},
        {"white space skipped", " Zm9v\r\nYmFy\t", 0, "foobar"},
        {"missing padding", "Zm8", 18, "fo"},
        {"one padding of two", "Zg=", 18, "f"},
        {"illegal character", "Zm9v!mFy", 19, nullptr},
        {"data after padding", "Zg==Zg==", 19, nullptr},
        {"too much padding", "Zg===", 19, nullptr},
        {"truncated group", "Zm9vY", 20, "foo"},
        {"empty", "", 0, ""},
    };
    XmlBase64 codec;
    for (const DecodeRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(codec.decode(row.text).code, row.code);
        if (row.bytes != nullptr) {
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(codec.data()), codec.size()), row.bytes);
        } else {
            EXPECT_EQ(codec.size(), 0u);
        }
    }
}

TEST(XmlBase64, CallersBufferMustHoldTheData)
{
    unsigned char out[4] = {9, 9, 9, 9};
    std::size_t written = 99;
    EXPECT_EQ(XmlBase64::decode("Zm9vYmFy", out, sizeof out, &written).code, 21);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(out[0], 9);  // nothing written
    EXPECT_EQ(XmlBase64::decode("Zm9v", out, sizeof out, &written).code, 0);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out), 3), "foo");
    EXPECT_EQ(XmlBase64::decode("Zm9v", out, 3, &written).code, 0);  // exactly enough
    EXPECT_EQ(XmlBase64::decode("Zm9v!", out, sizeof out, &written).code, 19);
}

}  // namespace
