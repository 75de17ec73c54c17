// Draws every resource and writes them as one blob for the library to embed:
//   qb_resource_generator --font <Quorbel.ttf> --out <resources.bin>

#include "paint.h"
#include "resources/blob_format.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using generator::Resource;
using namespace resources;

bool readFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.good() || in.eof();
}

std::string buildBlob(const std::vector<Resource>& resources)
{
    std::string payloads;
    std::string entries;
    const size_t payloadStart = blob::kHeaderSize + resources.size() * blob::kEntrySize;
    for (const auto& r : resources) {
        const bool bitmap = r.data.empty();
        const size_t offset = payloadStart + payloads.size();
        if (bitmap) {
            const uint32_t* pixels = r.image.pixels();
            for (int32_t y = 0; y < r.image.height(); ++y)
                for (int32_t x = 0; x < r.image.width(); ++x)
                    blob::appendLe32(payloads, pixels[size_t(y) * r.image.stride() + x] & platform::kPixelRgb);
        } else {
            payloads.append(r.data.begin(), r.data.end());
        }
        const size_t size = payloadStart + payloads.size() - offset;
        const size_t labelOffset = payloadStart + payloads.size();
        payloads += r.label;
        const uint32_t fields[blob::kEntryWords] = {
            uint32_t(r.id), uint32_t(bitmap ? blob::Kind::bitmap : blob::Kind::data),
            uint32_t(r.image.width()), uint32_t(r.image.height()), uint32_t(offset), uint32_t(size),
            uint32_t(labelOffset), uint32_t(r.label.size())};
        for (uint32_t field : fields)
            blob::appendLe32(entries, field);
    }
    std::string out;
    blob::appendLe32(out, blob::kMagic);
    blob::appendLe32(out, blob::kVersion);
    blob::appendLe32(out, uint32_t(resources.size()));
    return out + entries + payloads;
}

} // namespace

int main(int argc, char** argv)
{
    std::string fontPath;
    std::string outPath;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--font")
            fontPath = argv[i + 1];
        else if (option == "--out")
            outPath = argv[i + 1];
    }
    if (fontPath.empty() || outPath.empty()) {
        std::fprintf(stderr, "usage: %s --font <Quorbel.ttf> --out <resources.bin>\n", argv[0]);
        return 2;
    }

    std::vector<Resource> all = generator::drawFontStrips();
    for (auto* more : {&generator::drawSmallSkins, &generator::drawPanels, &generator::drawGridSkins,
                  &generator::drawEnvelopeSkins, &generator::drawEditorSkins, &generator::drawHelpPanel,
                       &generator::drawPatternPageSkins, &generator::drawPageSkins, &generator::drawSamplePageSkins,
                       &generator::drawInstrumentSkins, &generator::drawPreferencesSkins,
                       &generator::drawOverviewSkins,
                       &generator::drawToolbarSkins})
        for (auto& r : more())
            all.push_back(std::move(r));
    Resource font{kProductFont, "product font", {}, {}};
    if (!readFile(fontPath, font.data) || font.data.empty()) {
        std::fprintf(stderr, "cannot read the product font %s\n", fontPath.c_str());
        return 1;
    }
    all.push_back(std::move(font));
    std::sort(all.begin(), all.end(), [](const Resource& a, const Resource& b) { return a.id < b.id; });

    const std::string blob = buildBlob(all);
    const std::string partial = outPath + ".partial";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(blob.data(), std::streamsize(blob.size()));
    out.close();
    if (!out || std::rename(partial.c_str(), outPath.c_str()) != 0) {
        std::fprintf(stderr, "cannot write %s\n", outPath.c_str());
        std::remove(partial.c_str());
        return 1;
    }
    return 0;
}
