// Parse speed of the XML reader beside three common parsers, in one run:
//   a generated 10 MB document, parsed whole once per iteration;
//   a small scene configuration file, parsed 10 000 times per iteration.
// Every parser gets the same NUL-terminated text in memory and builds its tree (expat, a
// streaming parser, only calls empty-bodied handlers). Ratios: see BENCHMARKS.md.

#include "xml/xmlparser.h"

#include <benchmark/benchmark.h>
#include <expat.h>
#include <pugixml.hpp>
#include <tinyxml2.h>

#include <cstdio>
#include <string>

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

bool parseOurs(const std::string& text)
{
    XmlParseResult result;
    const XmlElement root = parseXmlText(text.c_str(), nullptr, &result);
    benchmark::DoNotOptimize(root.body());
    return result.code == 0;
}

bool parsePugi(const std::string& text)
{
    pugi::xml_document doc;
    const pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
    benchmark::DoNotOptimize(doc.first_child().internal_object());
    return static_cast<bool>(result);
}

bool parseTiny(const std::string& text)
{
    tinyxml2::XMLDocument doc;
    const bool ok = doc.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS;
    benchmark::DoNotOptimize(doc.RootElement());
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
    XML_ParserFree(parser);
    benchmark::DoNotOptimize(elements);
    return ok;
}

template <bool (*Parse)(const std::string&)>
void largeDocumentBench(benchmark::State& state)
{
    const std::string& doc = largeDocument();
    if (!Parse(doc))
        state.SkipWithError("parse failed");
    for (auto _ : state)
        benchmark::DoNotOptimize(Parse(doc));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(doc.size()));
}

template <bool (*Parse)(const std::string&)>
void sceneFileBench(benchmark::State& state)
{
    if (!Parse(sceneFile))
        state.SkipWithError("parse failed");
    for (auto _ : state) {
        for (int i = 0; i < sceneParses; ++i)
            benchmark::DoNotOptimize(Parse(sceneFile));
    }
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

BENCHMARK_MAIN();
