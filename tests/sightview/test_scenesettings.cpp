// Reading the scene configuration file into the process-wide SceneSettings.

#include "sightview/scenesettings.h"

#include "support/commalocale.h"
#include "tests/xml/xmltesting.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

class SceneSettingsFile : public xmltest::XmlTest {
protected:
    void TearDown() override
    {
        std::remove(path_.c_str());
        xmltest::XmlTest::TearDown();
    }
    void read(const std::string& content)
    {
        xmltest::writeBytes(path_, content);
        readSceneSettings(path_);
    }
    const std::string path_ = xmltest::tempPath("SceneGeneratorconfig.xml");
};

TEST_F(SceneSettingsFile, ReadsEveryField)
{
    read("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<MGXML>\n"
         "  <terrainfile>terrain/range.ive</terrainfile>\n"
         "  <vehiclefile>models/uut.osg</vehiclefile>\n"
         "  <xoffset>12.5</xoffset>\n"
         "  <yoffset> -3e2</yoffset>\n"
         "  <zoffset>0.25</zoffset>\n"
         "  <multicast_address>239.255.0.7</multicast_address>\n"
         "  <modelpath><path>/opt/vkrsim/images</path></modelpath>\n"
         "  <modelpath><path>./fonts</path></modelpath>\n"
         "</MGXML>\n");
    EXPECT_EQ(sceneSettings.terrainFile, "terrain/range.ive");
    EXPECT_EQ(sceneSettings.vehicleFile, "models/uut.osg");
    EXPECT_DOUBLE_EQ(sceneSettings.xOffset, 12.5);
    EXPECT_DOUBLE_EQ(sceneSettings.yOffset, -300.0);
    EXPECT_DOUBLE_EQ(sceneSettings.zOffset, 0.25);
    EXPECT_EQ(sceneSettings.multicastAddress, "239.255.0.7");
    EXPECT_EQ(sceneSettings.modelPaths, (std::vector<std::string>{"/opt/vkrsim/images", "./fonts"}));
}

struct Row {
    const char* name;
    const char* body;  // between <MGXML> and </MGXML>
    SceneSettings expected;
};

TEST_F(SceneSettingsFile, EdgeCasesOfTheFile)
{
    const Row rows[] = {
        {"only the multicast address", "<multicast_address>239.1.1.1</multicast_address>",
         {"", "", 0.0, 0.0, 0.0, "239.1.1.1", {}}},
        {"first of two addresses counts",
         "<multicast_address>239.1.1.1</multicast_address><multicast_address>239.2.2.2</multicast_address>",
         {"", "", 0.0, 0.0, 0.0, "239.1.1.1", {}}},
        {"model paths keep document order across other elements",
         "<modelpath><path>a</path></modelpath><xoffset>1</xoffset><modelpath><path>b</path></modelpath>"
         "<other/><MODELPATH><PATH>c</PATH></MODELPATH>",
         {"", "", 1.0, 0.0, 0.0, "", {"a", "b", "c"}}},
        {"offset followed by a unit letter", "<xoffset>12.5m</xoffset>", {"", "", 12.5, 0.0, 0.0, "", {}}},
        {"offsets that are no numbers", "<xoffset>east</xoffset><yoffset></yoffset><zoffset>  7</zoffset>",
         {"", "", 0.0, 0.0, 7.0, "", {}}},
        {"modelpath without path or text adds nothing",
         "<modelpath/><modelpath><dir>x</dir></modelpath><modelpath><path/></modelpath>"
         "<modelpath><path>kept</path></modelpath>",
         {"", "", 0.0, 0.0, 0.0, "", {"kept"}}},
        {"only the first path of a modelpath", "<modelpath><path>one</path><path>two</path></modelpath>",
         {"", "", 0.0, 0.0, 0.0, "", {"one"}}},
        {"texts are taken as they are, entities decoded",
         "<terrainfile>a &amp; b.ive</terrainfile><vehiclefile><![CDATA[x]]>v</vehiclefile>",
         {"a & b.ive", "v", 0.0, 0.0, 0.0, "", {}}},
        {"attributes are not read", "<multicast_address value=\"239.9.9.9\"/>", {"", "", 0.0, 0.0, 0.0, "", {}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // A read replaces every field, so leftovers of the row before must not show.
        sceneSettings = SceneSettings{"old", "old", 9.0, 9.0, 9.0, "old", {"old"}};
        read(std::string("<MGXML>") + row.body + "</MGXML>");
        EXPECT_EQ(sceneSettings.terrainFile, row.expected.terrainFile);
        EXPECT_EQ(sceneSettings.vehicleFile, row.expected.vehicleFile);
        EXPECT_DOUBLE_EQ(sceneSettings.xOffset, row.expected.xOffset);
        EXPECT_DOUBLE_EQ(sceneSettings.yOffset, row.expected.yOffset);
        EXPECT_DOUBLE_EQ(sceneSettings.zOffset, row.expected.zOffset);
        EXPECT_EQ(sceneSettings.multicastAddress, row.expected.multicastAddress);
        EXPECT_EQ(sceneSettings.modelPaths, row.expected.modelPaths);
    }
}

TEST_F(SceneSettingsFile, OffsetsReadWithAPointInACommaLocale)
{
    // The dialog toolkit adopts the user's locale; "12.5" must not read as 12 there.
    vkrsim::test::CommaNumericLocale comma;
    if (!comma.active())
        GTEST_SKIP() << comma.whyNot();
    read("<MGXML><xoffset>12.5</xoffset><yoffset>-0.75m</yoffset><zoffset>1,5</zoffset></MGXML>");
    EXPECT_DOUBLE_EQ(sceneSettings.xOffset, 12.5);
    EXPECT_DOUBLE_EQ(sceneSettings.yOffset, -0.75);
    EXPECT_DOUBLE_EQ(sceneSettings.zOffset, 1.0);  // a comma ends the number, as in the C locale
}

TEST_F(SceneSettingsFile, ReadsTheFileOfTheWorkingDirectory)
{
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    const std::string dir = xmltest::tempPath("scenedir");
    ASSERT_EQ(system(("mkdir -p '" + dir + "'").c_str()), 0);
    xmltest::writeBytes(dir + "/SceneGeneratorconfig.xml",
                        "<MGXML><multicast_address>group.local</multicast_address></MGXML>");
    ASSERT_EQ(chdir(dir.c_str()), 0);
    readSceneSettings();
    EXPECT_EQ(chdir(previous), 0);
    EXPECT_EQ(sceneSettings.multicastAddress, "group.local");
    std::remove((dir + "/SceneGeneratorconfig.xml").c_str());
    rmdir(dir.c_str());
}

TEST_F(SceneSettingsFile, MissingOrForeignFileEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(readSceneSettings(xmltest::tempPath("nowhere.xml")), ::testing::ExitedWithCode(255),
                "XML Parsing error.*File not found");
    xmltest::writeBytes(path_, "<SCENE><multicast_address>239.1.1.1</multicast_address></SCENE>");
    EXPECT_EXIT(readSceneSettings(path_), ::testing::ExitedWithCode(255), "First Tag should be 'MGXML'");
    xmltest::writeBytes(path_, "<MGXML><multicast_address>239.1.1.1</multicast_address>");
    EXPECT_EXIT(readSceneSettings(path_), ::testing::ExitedWithCode(255), "Unmatched end tag");
}

}  // namespace
