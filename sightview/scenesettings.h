#pragma once
// Values of the scene configuration file "SceneGeneratorconfig.xml" (root element "MGXML").

#include <string>
#include <vector>

class XmlElement;

struct SceneSettings {
    std::string terrainFile;               // kept; nothing reads it
    std::string vehicleFile;               // kept; nothing reads it
    double xOffset = 0.0;                  // kept; nothing reads it
    double yOffset = 0.0;
    double zOffset = 0.0;
    std::string multicastAddress;          // host name or dotted IPv4 group of the picture feed
    std::vector<std::string> modelPaths;   // image search directories, in document order
};

// The process-wide record. Written by readSceneSettings on the render thread only.
extern SceneSettings sceneSettings;

// Reads "SceneGeneratorconfig.xml" of the working directory into sceneSettings, replacing every
// field. A missing or malformed file ends the process through loadXmlFileOrExit (status 255).
void readSceneSettings();

// Same, from another file (tests, tools).
void readSceneSettings(const std::string& fileName);

// The values of a parsed document whose root is the "MGXML" element (what readSceneSettings
// stores); missing elements give empty texts and 0.0 offsets.
SceneSettings sceneSettingsFromDocument(const XmlElement& root);
