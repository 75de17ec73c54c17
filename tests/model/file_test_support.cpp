#include "model/file_test_support.h"

#include "platform/system/folders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <zip.h>

namespace testfiles {

std::string freshFolder()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string folder = platform::joinPath(platform::temporaryFolder(),
                                                  std::string(info->test_suite_name()) + "." + info->name());
    run("rm -rf '" + folder + "'");
    EXPECT_TRUE(platform::makeFolders(folder));
    return folder;
}

void writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeZip(const std::string& path, const std::vector<std::string>& entryNames)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const std::string& name : entryNames) {
        ASSERT_EQ(zipOpenNewFileInZip(zip, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr,
                                      Z_DEFLATED, 9), ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zip, name.data(), unsigned(name.size())), ZIP_OK);
        zipCloseFileInZip(zip);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string output(const std::string& command)
{
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return text;
    char buffer[256];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    pclose(pipe);
    return text;
}

void append(Bytes& b, const std::string& text)
{
    b.insert(b.end(), text.begin(), text.end());
}

void append16(Bytes& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void append24(Bytes& b, uint32_t v)
{
    append16(b, v);
    b.push_back(uint8_t(v >> 16));
}

void append32(Bytes& b, uint32_t v)
{
    append16(b, v);
    append16(b, v >> 16);
}

} // namespace testfiles

namespace testfiles {

Bytes riffChunk(const Bytes& file, const char* id)
{
    size_t at = 12;
    while (at + 8 <= file.size()) {
        const uint32_t size = file[at + 4] | file[at + 5] << 8 | file[at + 6] << 16 | uint32_t(file[at + 7]) << 24;
        const size_t start = at + 8;
        const size_t stop = std::min(file.size(), start + size_t(size));
        if (std::equal(id, id + 4, file.begin() + long(at)))
            return Bytes(file.begin() + long(start), file.begin() + long(stop));
        at = start + size + (size & 1);
    }
    return {};
}

bool makeNoiseWav(const std::string& path, int channels, int bits, int rate, double seconds)
{
    return run("sox -R -n -t wavpcm -r " + std::to_string(rate) + " -c " + std::to_string(channels)
               + " -b " + std::to_string(bits) + " '" + path + "' synth " + std::to_string(seconds)
               + " whitenoise gain -2");
}

} // namespace testfiles
