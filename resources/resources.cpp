#include "resources/resources.h"

#include "resources/blob_format.h"

#include <map>

// Placed by embedded_blob.S from the generator's output.
extern "C" const uint8_t qb_resource_blob[];
extern "C" const uint8_t qb_resource_blob_end[];

namespace resources {

namespace {

struct Entry {
    blob::Kind kind;
    int32_t width;
    int32_t height;
    std::span<const uint8_t> payload;
    std::string_view label;
};

// The blob is built with the library, yet read with its bounds checked so a
// broken build fails loudly at a lookup, not by reading past the end.
std::map<int32_t, Entry> readTable()
{
    std::map<int32_t, Entry> table;
    const std::span<const uint8_t> all(qb_resource_blob, size_t(qb_resource_blob_end - qb_resource_blob));
    if (all.size() < blob::kHeaderSize || blob::readLe32(all.data()) != blob::kMagic ||
        blob::readLe32(all.data() + 4) != blob::kVersion)
        return table;
    const size_t count = blob::readLe32(all.data() + 8);
    if (count > (all.size() - blob::kHeaderSize) / blob::kEntrySize)
        return table;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = all.data() + blob::kHeaderSize + i * blob::kEntrySize;
        auto field = [e](blob::EntryField f) { return blob::readLe32(e + 4 * f); };
        const size_t offset = field(blob::payloadOffset);
        const size_t size = field(blob::payloadSize);
        const size_t labelOffset = field(blob::labelOffset);
        const size_t labelSize = field(blob::labelSize);
        if (offset > all.size() || size > all.size() - offset || labelOffset > all.size() ||
            labelSize > all.size() - labelOffset)
            continue;
        Entry entry{blob::Kind(field(blob::kind)), int32_t(field(blob::width)), int32_t(field(blob::height)),
                    all.subspan(offset, size),
                    {reinterpret_cast<const char*>(all.data() + labelOffset), labelSize}};
        if (entry.kind == blob::Kind::bitmap && size_t(entry.width) * size_t(entry.height) * 4 != size)
            continue;
        table.emplace(int32_t(field(blob::id)), entry);
    }
    return table;
}

const std::map<int32_t, Entry>& table()
{
    static const std::map<int32_t, Entry> entries = readTable();
    return entries;
}

const Entry* find(int32_t id, blob::Kind kind)
{
    auto found = table().find(id);
    return found != table().end() && found->second.kind == kind ? &found->second : nullptr;
}

} // namespace

platform::Image loadBitmap(int32_t id)
{
    const Entry* entry = find(id, blob::Kind::bitmap);
    if (!entry)
        return {};
    platform::Image image(entry->width, entry->height);
    if (image.empty())
        return image;
    uint32_t* out = image.mutablePixels();
    const uint8_t* in = entry->payload.data();
    for (int32_t y = 0; y < entry->height; ++y)
        for (int32_t x = 0; x < entry->width; ++x, in += 4)
            out[size_t(y) * image.stride() + x] = 0xFF000000u | blob::readLe32(in);
    return image;
}

std::span<const uint8_t> loadData(int32_t id)
{
    const Entry* entry = find(id, blob::Kind::data);
    return entry ? entry->payload : std::span<const uint8_t>{};
}

std::vector<int32_t> bitmapIds()
{
    std::vector<int32_t> ids;
    for (const auto& [id, entry] : table())
        if (entry.kind == blob::Kind::bitmap)
            ids.push_back(id);
    return ids;
}

std::string_view describe(int32_t id)
{
    auto found = table().find(id);
    return found != table().end() ? found->second.label : std::string_view{};
}

} // namespace resources
