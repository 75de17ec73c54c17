#include "model/audio_files/memory_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <unistd.h>

namespace {

std::string writeTempFile(const std::string& name, const std::string& bytes)
{
    std::string path = "/tmp/qb-memfile-" + std::to_string(getpid()) + "-" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return {};
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

} // namespace

TEST(MemoryFile, LoadsWholeFileOrAPrefixAndFreesToZero)
{
    std::string path = writeTempFile("load", "RIFF1234WAVE");
    ASSERT_FALSE(path.empty());
    TesselMemoryFile file;
    ASSERT_TRUE(file.load(path));
    EXPECT_EQ(file.size, 12u);
    EXPECT_EQ(file.end, file.data + 12);
    EXPECT_EQ(file.position, file.data);
    EXPECT_TRUE(file.match("RIFF"));

    ASSERT_TRUE(file.load(path, 4));
    EXPECT_EQ(file.size, 4u);
    EXPECT_TRUE(file.match("RIFF"));
    EXPECT_TRUE(file.atEnd());

    file.free();
    EXPECT_EQ(file.data, nullptr);
    EXPECT_EQ(file.size, 0u);
    EXPECT_EQ(file.end, nullptr);
    EXPECT_EQ(file.position, nullptr);
    std::remove(path.c_str());

    EXPECT_FALSE(file.load(path));
    EXPECT_EQ(file.data, nullptr);
    EXPECT_FALSE(file.load("/tmp"));
}

TEST(MemoryFile, EmptyFileLoadsAsEmptyBuffer)
{
    std::string path = writeTempFile("empty", "");
    TesselMemoryFile file;
    ASSERT_TRUE(file.load(path));
    EXPECT_EQ(file.size, 0u);
    EXPECT_TRUE(file.atEnd());
    EXPECT_EQ(file.readUInt(4), 0u);
    std::remove(path.c_str());
}

TEST(MemoryFile, PutsAreLittleEndianAndStopAtTheEnd)
{
    TesselMemoryFile file;
    ASSERT_TRUE(file.allocate(8));
    EXPECT_TRUE(file.put32(0x04030201));
    EXPECT_TRUE(file.put24(0x070605));
    // One byte left: the first byte of the 16-bit value is stored, then it fails.
    EXPECT_FALSE(file.put16(0xbbaa));
    EXPECT_TRUE(file.atEnd());
    EXPECT_FALSE(file.putByte(1));
    const uint8_t expected[] = {1, 2, 3, 4, 5, 6, 7, 0xaa};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(file.data[i], expected[i]) << i;

    file.seek(0);
    EXPECT_EQ(file.readUInt(2), 0x0201u);
    EXPECT_EQ(file.readUInt(1), 0x03u);
    EXPECT_EQ(file.readUInt(1), 0x04u);
    EXPECT_EQ(file.readUInt(3), 0x070605u);
    // Bytes past the end read as 0 and the position stays at the end.
    EXPECT_EQ(file.readUInt(4), 0xaau);
    EXPECT_EQ(file.position, file.end);
}

TEST(MemoryFile, WriteIsAllOrNothing)
{
    TesselMemoryFile file;
    ASSERT_TRUE(file.allocate(6));
    const char text[] = "abcdef";
    EXPECT_TRUE(file.write(text, 2, 2));
    EXPECT_FALSE(file.write(text, 1, 3));
    EXPECT_TRUE(file.atEnd());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(file.data), 4), "abcd");
    // An overflowing size x count is refused too.
    file.seek(0);
    EXPECT_FALSE(file.write(text, SIZE_MAX / 2, 4));
}

TEST(MemoryFile, ReadOfExactlyTheBytesLeftCopiesOneMoreRefuses)
{
    TesselMemoryFile file;
    ASSERT_TRUE(file.assign("0123456789", 10));
    file.seek(6);
    char out[8] = {};
    file.read(out, 4);
    EXPECT_STREQ(out, "6789");
    EXPECT_TRUE(file.atEnd());

    char untouched[8] = "xxxxxxx";
    file.seek(6);
    file.read(untouched, 5);
    EXPECT_STREQ(untouched, "xxxxxxx");
    EXPECT_TRUE(file.atEnd());

    // A huge count cannot wrap around the end.
    file.seek(1);
    file.read(untouched, 0xffffffffu);
    EXPECT_TRUE(file.atEnd());
}

TEST(MemoryFile, SeekAndSkipClampToTheEnd)
{
    TesselMemoryFile file;
    ASSERT_TRUE(file.assign("abc", 3));
    file.skip(2);
    EXPECT_EQ(file.offset(), 2u);
    file.skip(100);
    EXPECT_TRUE(file.atEnd());
    file.seek(100);
    EXPECT_TRUE(file.atEnd());
}

TEST(MemoryFile, EmptyRecordRefusesEverything)
{
    TesselMemoryFile file;
    EXPECT_TRUE(file.atEnd());
    EXPECT_FALSE(file.putByte(0));
    EXPECT_FALSE(file.match("a"));
    EXPECT_EQ(file.readUInt(2), 0u);
    char out[4] = "abc";
    file.read(out, 1);
    EXPECT_STREQ(out, "abc");
}

TEST(MemoryFile, MovingHandsTheBufferOver)
{
    TesselMemoryFile first;
    ASSERT_TRUE(first.assign("abcd", 4));
    first.skip(1);
    TesselMemoryFile second(std::move(first));
    EXPECT_EQ(first.data, nullptr);
    EXPECT_EQ(first.size, 0u);
    EXPECT_EQ(second.size, 4u);
    EXPECT_TRUE(second.match("bcd"));
    TesselMemoryFile third;
    ASSERT_TRUE(third.allocate(10));
    third = std::move(second);
    EXPECT_EQ(third.size, 4u);
    EXPECT_EQ(second.position, nullptr);
}
