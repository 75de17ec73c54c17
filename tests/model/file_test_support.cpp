#include "model/file_test_support.h"

#include "platform/folders.h"

#include <gtest/gtest.h>

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

bool haveTool(const char* name)
{
    return run(std::string("command -v ") + name);
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
