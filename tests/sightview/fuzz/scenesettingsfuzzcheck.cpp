#include "scenesettingsfuzzcheck.h"

#include "sightview/scenesettings.h"
#include "xml/xmlparser.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

namespace {

[[noreturn]] void broken(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "scene settings fuzz check failed: %s\n%s\n", what, detail.c_str());
    std::abort();
}

// The input as a file, in memory: the reader takes file names.
class MemoryFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size) : fd_(memfd_create("SceneGeneratorconfig.xml", MFD_CLOEXEC))
    {
        if (fd_ < 0)
            broken("memfd_create");
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = write(fd_, data + done, size - done);
            if (n <= 0)
                broken("write");
            done += static_cast<std::size_t>(n);
        }
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~MemoryFile() { close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    const char* path() const { return path_.c_str(); }

private:
    int fd_;
    std::string path_;
};

bool named(const XmlElement& e, const char* name) { return e.name() != nullptr && strcasecmp(e.name(), name) == 0; }

// The first text of the first child `name`, by walking the children by index.
const char* firstTextByIndex(const XmlElement& root, const char* name)
{
    for (int i = 0; i < root.childCount(); ++i) {
        if (named(root.child(i), name))
            return root.child(i).text(0);
    }
    return nullptr;
}

void sameText(const char* what, const std::string& got, const char* want)
{
    if (got != (want ? want : ""))
        broken(what, "read \"" + got + "\", expected \"" + (want ? want : "") + "\"");
}

void sameNumber(const char* what, double got, const char* text)
{
    // C's own strtod, in the C locale the fuzzer and the tests run in: numbers read as atof does.
    const double want = text ? std::strtod(text, nullptr) : 0.0;
    if (!(std::isnan(got) && std::isnan(want)) && std::memcmp(&got, &want, sizeof got) != 0)
        broken(what, std::to_string(got) + " instead of " + std::to_string(want));
}

}  // namespace

void checkSceneSettingsInput(const std::uint8_t* data, std::size_t size)
{
    const MemoryFile file(data, size);
    // As loadXmlFileOrExit does before it parses: the first 200 bytes choose UTF-8 mode.
    setXmlOptions(true, looksLikeUtf8(data, std::min<std::size_t>(size, 200), true), true);
    XmlParseResult result;
    const XmlElement root = parseXmlFile(file.path(), "MGXML", &result);

    if (result.code != XmlNoError) {
        // The program would show this and stop; it must stay within its box's limit.
        const std::string message = xmlLoadErrorMessage(file.path(), "MGXML", result);
        if (message.size() > 1999 || message.find("XML Parsing error") != 0)
            broken("error message", message);
        return;
    }
    if (root.isEmpty() || !named(root, "MGXML"))
        broken("accepted document without its root");

    const SceneSettings s = sceneSettingsFromDocument(root);
    sameText("terrainfile", s.terrainFile, firstTextByIndex(root, "terrainfile"));
    sameText("vehiclefile", s.vehicleFile, firstTextByIndex(root, "vehiclefile"));
    sameText("multicast_address", s.multicastAddress, firstTextByIndex(root, "multicast_address"));
    sameNumber("xoffset", s.xOffset, firstTextByIndex(root, "xoffset"));
    sameNumber("yoffset", s.yOffset, firstTextByIndex(root, "yoffset"));
    sameNumber("zoffset", s.zOffset, firstTextByIndex(root, "zoffset"));

    std::vector<std::string> paths;
    for (int i = 0; i < root.childCount(); ++i) {
        if (named(root.child(i), "modelpath")) {
            if (const char* path = firstTextByIndex(root.child(i), "path"))
                paths.emplace_back(path);
        }
    }
    if (s.modelPaths != paths)
        broken("model paths", std::to_string(s.modelPaths.size()) + " read, " + std::to_string(paths.size()) + " in the tree");
}
