// Parse speed of the XML reader beside three common parsers, in one run:
//   a generated 10 MB document, parsed whole once per iteration;
//   a small scene configuration file, parsed 10 000 times per iteration.
// Every parser gets the same NUL-terminated text in memory and builds its tree (expat, a
// streaming parser, only calls empty-bodied handlers). Ratios: see BENCHMARKS.md.
// Memory: before timing, one parse of each case is counted by a counting global allocator (and
// pugixml's allocation hooks); the counters give the bytes and blocks a parsed document holds.

#include "xml/xmlparser.h"

// The counting allocator below pairs malloc with free behind operator new/delete on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <benchmark/benchmark.h>
#include <expat.h>
#include <pugixml.hpp>
#include <tinyxml2.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

// Live bytes and blocks handed out through operator new and pugixml's hooks. The bench runs on
// one thread.
namespace memcount {
std::size_t liveBytes = 0;
std::size_t liveBlocks = 0;
constexpr std::size_t header = alignof(std::max_align_t);

void* allocate(std::size_t size)
{
    auto* block = static_cast<unsigned char*>(std::malloc(size + header));
    if (block == nullptr)
        return nullptr;
    *reinterpret_cast<std::size_t*>(block) = size;
    liveBytes += size;
    ++liveBlocks;
    return block + header;
}

void release(void* memory)
{
    if (memory == nullptr)
        return;
    unsigned char* block = static_cast<unsigned char*>(memory) - header;
    liveBytes -= *reinterpret_cast<std::size_t*>(block);
    --liveBlocks;
    std::free(block);
}
}  // namespace memcount

void* operator new(std::size_t size)
{
    if (void* memory = memcount::allocate(size))
        return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { memcount::release(memory); }
void operator delete[](void* memory) noexcept { memcount::release(memory); }
void operator delete(void* memory, std::size_t) noexcept { memcount::release(memory); }
void operator delete[](void* memory, std::size_t) noexcept { memcount::release(memory); }

namespace {

std::string makeLargeDocument(std::size_t targetBytes)
{
    std::string doc = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<range name=\"north\">\n";
    char record[512];
    for (unsigned i = 0; doc.size() < targetBytes; ++i) {
        std::snprintf(record, sizeof record,
                      "  <platform id=\"%u\" name=\"UUT-%u\" kind='vehicle'>\n"
                      "    <position x=\"%u.25\" y=\"-%u.5\" z=\"%u.125\"/>\n"
                      "    <attitude psi=\"0.%u\" theta=\"-0.%u\" phi=\"0.0%u\"/>\n"
                      "    <note>Track %u &amp; sensor feed &lt;ok&gt;</note>\n"
                      "    <!-- sample %u -->\n"
                      "    <label>Gel\xC3\xA4nde %u</label>\n"
                      "  </platform>\n",
                      i, i, i * 7, i * 3, i % 1000, i % 97, i % 89, i % 9, i, i, i);
        doc += record;
    }
    doc += "</range>\n";
    return doc;
}

const std::string& largeDocument()
{
    static const std::string doc = makeLargeDocument(10u * 1024u * 1024u);
    return doc;
}

const std::string sceneFile =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<MGXML>\n"
    "  <terrainfile>terrain/range_north.ive</terrainfile>\n"
    "  <vehiclefile>models/uut.osg</vehiclefile>\n"
    "  <xoffset>12.5</xoffset>\n"
    "  <yoffset>-300.0</yoffset>\n"
    "  <zoffset>0.25</zoffset>\n"
    "  <!-- picture feed of the sight -->\n"
    "  <multicast_address>239.255.0.7</multicast_address>\n"
    "  <modelpath><path>/opt/vkrsim/images</path></modelpath>\n"
    "  <modelpath><path>/opt/vkrsim/fonts</path></modelpath>\n"
    "</MGXML>\n";

constexpr int sceneParses = 10000;

// Bytes and blocks live while the parsed document of the last parse was still held.
struct Footprint {
    std::size_t bytes = 0;
    std::size_t blocks = 0;
};
Footprint lastFootprint;

void noteFootprint(std::size_t bytesBefore, std::size_t blocksBefore)
{
    lastFootprint = Footprint{memcount::liveBytes - bytesBefore, memcount::liveBlocks - blocksBefore};
}

bool parseOurs(const std::string& text)
{
    const std::size_t bytes = memcount::liveBytes;
    const std::size_t blocks = memcount::liveBlocks;
    XmlParseResult result;
    const XmlElement root = parseXmlText(text.c_str(), nullptr, &result);
    benchmark::DoNotOptimize(root.body());
    noteFootprint(bytes, blocks);
    return result.code == 0;
}

bool parsePugi(const std::string& text)
{
    const std::size_t bytes = memcount::liveBytes;
    const std::size_t blocks = memcount::liveBlocks;
    pugi::xml_document doc;
    const pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
    benchmark::DoNotOptimize(doc.first_child().internal_object());
    noteFootprint(bytes, blocks);
    return static_cast<bool>(result);
}

bool parseTiny(const std::string& text)
{
    const std::size_t bytes = memcount::liveBytes;
    const std::size_t blocks = memcount::liveBlocks;
    tinyxml2::XMLDocument doc;
    const bool ok = doc.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS;
    benchmark::DoNotOptimize(doc.RootElement());
    noteFootprint(bytes, blocks);
    return ok;
}

void XMLCALL startElement(void* count, const XML_Char*, const XML_Char**) { ++*static_cast<long*>(count); }
void XMLCALL endElement(void*, const XML_Char*) {}
void XMLCALL characters(void*, const XML_Char*, int) {}

bool parseExpat(const std::string& text)
{
    XML_Parser parser = XML_ParserCreate(nullptr);
    long elements = 0;
    XML_SetUserData(parser, &elements);
    XML_SetElementHandler(parser, startElement, endElement);
    XML_SetCharacterDataHandler(parser, characters);
    const bool ok = XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_OK;
    lastFootprint = Footprint{};  // builds no document
    XML_ParserFree(parser);
    benchmark::DoNotOptimize(elements);
    return ok;
}

template <bool (*Parse)(const std::string&)>
void largeDocumentBench(benchmark::State& state)
{
    const std::string& doc = largeDocument();
    // The second parse is counted: the first also grows what a parser keeps between parses.
    if (!Parse(doc) || !Parse(doc))
        state.SkipWithError("parse failed");
    const Footprint kept = lastFootprint;
    for (auto _ : state)
        benchmark::DoNotOptimize(Parse(doc));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(doc.size()));
    state.counters["docBytes"] = static_cast<double>(kept.bytes);
    state.counters["docBlocks"] = static_cast<double>(kept.blocks);
}

template <bool (*Parse)(const std::string&)>
void sceneFileBench(benchmark::State& state)
{
    if (!Parse(sceneFile) || !Parse(sceneFile))
        state.SkipWithError("parse failed");
    const Footprint kept = lastFootprint;
    for (auto _ : state) {
        for (int i = 0; i < sceneParses; ++i)
            benchmark::DoNotOptimize(Parse(sceneFile));
    }
    state.counters["docBytes"] = static_cast<double>(kept.bytes);
    state.counters["docBlocks"] = static_cast<double>(kept.blocks);
}

}  // namespace

BENCHMARK_TEMPLATE(largeDocumentBench, parseOurs)->Name("Large10MB/vkrsim")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(largeDocumentBench, parsePugi)->Name("Large10MB/pugixml")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(largeDocumentBench, parseTiny)->Name("Large10MB/tinyxml2")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(largeDocumentBench, parseExpat)->Name("Large10MB/expat")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(sceneFileBench, parseOurs)->Name("Scene10000x/vkrsim")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(sceneFileBench, parsePugi)->Name("Scene10000x/pugixml")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(sceneFileBench, parseTiny)->Name("Scene10000x/tinyxml2")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(sceneFileBench, parseExpat)->Name("Scene10000x/expat")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // pugixml allocates through its own hooks, not operator new; count those too.
    pugi::set_memory_management_functions(memcount::allocate, memcount::release);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
