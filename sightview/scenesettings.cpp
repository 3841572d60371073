#include "sightview/scenesettings.h"

#include "decimal/decimalnumber.h"
#include "xml/xmlparser.h"

SceneSettings sceneSettings;

namespace {

// The first text of the first child `name` of `root`; empty when either is missing.
std::string firstText(const XmlElement& root, const char* name)
{
    const char* text = root.child(name).text(0);
    return text ? std::string(text) : std::string();
}

// Decimal number as atof reads it, "." as decimal point in any locale: leading white space
// skipped, the longest numeric prefix used, 0.0 when there is none.
double firstNumber(const XmlElement& root, const char* name)
{
    return decimal::textToDouble(root.child(name).text(0));
}

}  // namespace

void readSceneSettings() { readSceneSettings("SceneGeneratorconfig.xml"); }

void readSceneSettings(const std::string& fileName)
{
    sceneSettings = sceneSettingsFromDocument(loadXmlFileOrExit(fileName.c_str(), "MGXML"));
}

SceneSettings sceneSettingsFromDocument(const XmlElement& xMainNode)
{
    SceneSettings read;
    read.terrainFile = firstText(xMainNode, "terrainfile");
    read.vehicleFile = firstText(xMainNode, "vehiclefile");
    read.xOffset = firstNumber(xMainNode, "xoffset");
    read.yOffset = firstNumber(xMainNode, "yoffset");
    read.zOffset = firstNumber(xMainNode, "zoffset");
    read.multicastAddress = firstText(xMainNode, "multicast_address");

    const int modelPathCount = xMainNode.childCount("modelpath");
    int polyIterator = 0;
    for (int i = 0; i < modelPathCount; ++i) {
        const XmlElement xNode = xMainNode.child("modelpath", &polyIterator);
        if (const char* path = xNode.child("path").text(0))
            read.modelPaths.emplace_back(path);
    }
    return read;
}
