// Truncated and corrupted files, generated and real: every import ends with a
// result, never with a read or write outside a buffer (the sanitizer build
// checks that; each image is an exact-size heap copy).

#include "model/import/it_compressor.h"
#include "model/import/it_import_test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {

using ittest::Bytes;

Bytes richFile()
{
    ittest::File f;
    f.compatible = 0x215;
    f.orders = {0, 1, 254, 0, 255};
    ittest::Envelope volume{0x07, {{64, 0}, {32, 10}, {0, 30}}};
    volume.loopEnd = 2;
    f.instruments.push_back(ittest::newInstrument("rich", {volume, {0x01, {{-32, 0}, {32, 9}}}, {}}));
    f.instruments.push_back(ittest::oldInstrument("old", 1, {{0, 64}, {4, 0}}));
    std::vector<int32_t> wave(700);
    for (size_t i = 0; i < wave.size(); ++i)
        wave[i] = static_cast<int32_t>((i * 37) % 200) - 100;
    f.samples.push_back(ittest::makeSample("c8", 1 | ittest::kCompressedData | ittest::kLoopOn, 1, 700,
                                           ittest::compress(wave, 8, true)));
    ittest::put32(f.samples.back().header, 52, 10);
    ittest::put32(f.samples.back().header, 56, 700);
    f.samples.push_back(ittest::makeSample("c16", 1 | ittest::kCompressedData | ittest::k16Bit, 1, 700,
                                           ittest::compress(wave, 16, true)));
    f.samples.push_back(ittest::makeSample("u16", 1 | ittest::k16Bit, 0, 50, Bytes(100, 0x80)));
    f.patterns.push_back({32, {0x81, 0x0F, 60, 1, 40, 20, 0x80, 0, 0x01, 61, 2, 150, 19, 0xB2, 0, 0x81, 0xF0, 0}});
    f.patterns.push_back({16, {0x85, 0x03, 255, 120, 0, 0, 0x8A, 0x08, 1, 3, 0}});
    return f.build();
}

std::vector<Bytes> realFiles()
{
    std::vector<Bytes> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/share/games/biniax2/music", error)) {
        if (entry.path().extension() != ".it" || entry.file_size() > 150000)
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

class ItImportDamageTest : public ItImportTest {
protected:
    void importCut(const Bytes& whole, size_t n)
    {
        const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const int result = import(part);
        ASSERT_TRUE(result == kImportUnreadable || result == kImportHeaderMissing || result == kImportLoaded) << n;
    }
    void importCorrupted(Bytes bytes, std::mt19937& random)
    {
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i)
            bytes[4 + random() % (bytes.size() - 4)] = static_cast<uint8_t>(random());
        import(bytes);
    }
};

TEST_F(ItImportDamageTest, GeneratedFileCutAnywhere)
{
    const Bytes whole = richFile();
    ASSERT_EQ(import(whole), kImportLoaded);
    EXPECT_TRUE(report.warnings.empty()) << report.warnings.front();
    // Every cut through the header, orders and offset tables; a sampling of
    // cuts through the rest (each import resets a whole song, which is slow
    // under the sanitizers).
    for (size_t n = 0; n < whole.size(); n += n < 240 ? 1 : 7)
        importCut(whole, n);
}

TEST_F(ItImportDamageTest, GeneratedFileCorrupted)
{
    const Bytes whole = richFile();
    std::mt19937 random(1234);
    for (int i = 0; i < 200; ++i)
        importCorrupted(whole, random);
}

TEST_F(ItImportDamageTest, RealFilesCutAndCorrupted)
{
    const std::vector<Bytes> files = realFiles();
    if (files.empty())
        GTEST_FAIL() << "no modules: scripts/install-packages.sh installs biniax2-data";
    std::mt19937 random(99);
    for (const Bytes& whole : files) {
        for (size_t n = 0; n < whole.size(); n += 1 + whole.size() / 30)
            importCut(whole, n);
        for (int i = 0; i < 20; ++i)
            importCorrupted(whole, random);
    }
}

} // namespace
