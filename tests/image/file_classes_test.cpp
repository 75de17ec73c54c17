// The memory file and the stream file the encoders write through.
#include "image_test_support.h"

#include "image/cx_io_file.h"
#include "image/cx_mem_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

TEST(MemoryFile, GrowsInSteps)
{
    CxMemFile file;
    EXPECT_EQ(file.Size(), -1);
    EXPECT_EQ(file.Tell(), -1);
    EXPECT_EQ(file.Error(), -1);
    EXPECT_TRUE(file.Eof());
    EXPECT_FALSE(file.PutC(1));
    ASSERT_TRUE(file.Open());
    EXPECT_FALSE(file.Open());
    EXPECT_EQ(file.Capacity(), 0);

    std::vector<uint8_t> bytes(65536, 7);
    // bytes written, capacity after
    const std::pair<size_t, int64_t> steps[] = {{1, 65536}, {65534, 65536}, {1, 65536}};
    for (const auto& [n, capacity] : steps) {
        EXPECT_EQ(file.Write(bytes.data(), 1, n), n);
        EXPECT_EQ(file.Capacity(), capacity);
    }
    EXPECT_EQ(file.Size(), 65536);
    EXPECT_TRUE(file.PutC(9));
    EXPECT_EQ(file.Capacity(), 131072);
    EXPECT_EQ(file.Write(bytes.data(), 0, 5), 0u);
    EXPECT_EQ(file.Write(nullptr, 1, 5), 0u);
    EXPECT_EQ(file.Write(bytes.data(), 4, 3), 3u) << "a write answers its element count";
}

TEST(MemoryFile, SeekReadAndErrorCases)
{
    CxMemFile file;
    file.Open();
    file.Write("0123456789", 1, 10);
    // offset, origin, succeeds, position after
    const std::tuple<int32_t, int, bool, int32_t> seeks[] = {
        {-10, 0, true, 0}, {3, 1, true, 3}, {100, 2, true, 110}, {-200, 1, true, 0}, {5, 3, false, 0},
        {INT32_MAX, 2, false, 0}};
    for (const auto& [offset, origin, ok, position] : seeks) {
        EXPECT_EQ(file.Seek(offset, origin), ok) << offset << " from " << origin;
        EXPECT_EQ(file.Tell(), position) << offset << " from " << origin;
    }
    file.Seek(100, 2);
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.Error(), 1);
    EXPECT_EQ(file.GetC(), -1);

    // Bytes that a seek skipped read as zero once something lands after them.
    file.Seek(15, 0);
    file.PutC('x');
    file.Seek(8, 0);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, 1, 16), 8u);
    EXPECT_EQ(std::memcmp(buffer, "89\0\0\0\0\0x", 8), 0);
    EXPECT_EQ(file.Read(buffer, 1, 1), 0u);
    file.Seek(0, 0);
    EXPECT_EQ(file.Read(buffer, 3, 2), 2u);
    EXPECT_EQ(file.Read(buffer, 4, 4), 2u) << "10 bytes left: two whole elements of 4";
    EXPECT_EQ(file.Scanf("%d", buffer), 0);

    // A write that would end past 2 GiB fails and changes nothing.
    file.Seek(INT32_MAX - 2, 0);
    EXPECT_EQ(file.Write("abcd", 1, 4), 0u);
    EXPECT_EQ(file.Size(), 16);
}

TEST(MemoryFile, LinesByGetS)
{
    const char text[] = "one\ntwo\nend";
    std::vector<uint8_t> memory(text, text + 11);
    CxMemFile file(memory.data(), 11);
    char line[16];
    // capacity, result text or null
    const std::pair<int, const char*> reads[] = {{0, nullptr}, {1, ""}, {16, "one\n"}, {3, "tw"}, {16, "o\n"},
                                                 {16, nullptr}};
    for (const auto& [capacity, expected] : reads) {
        const char* got = file.GetS(line, capacity);
        if (expected)
            EXPECT_STREQ(got, expected) << capacity;
        else
            EXPECT_EQ(got, nullptr) << capacity;
    }
    // The caller's memory is never reallocated: growing moves the data.
    file.Seek(0, 2);
    EXPECT_EQ(file.Write("!!", 1, 2), 2u);
    EXPECT_EQ(std::string(text), std::string(reinterpret_cast<char*>(memory.data()), 11));
    EXPECT_EQ(std::memcmp(file.GetBuffer(false), "one\ntwo\nend!!", 13), 0);
}

TEST(StreamFile, WithAndWithoutAStream)
{
    CxIOFile none;
    EXPECT_EQ(none.Tell(), 0);
    EXPECT_EQ(none.Size(), -1);
    EXPECT_EQ(none.Error(), -1);
    EXPECT_TRUE(none.Eof());
    EXPECT_FALSE(none.Flush());
    EXPECT_FALSE(none.PutC('a'));
    EXPECT_EQ(none.GetC(), -1);
    EXPECT_TRUE(none.Close());

    FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    {
        CxIOFile file(stream);
        EXPECT_TRUE(file.PutC('a'));
        EXPECT_EQ(file.Write("bcd\n42", 1, 6), 6u);
        EXPECT_EQ(file.Size(), 7);
        EXPECT_EQ(file.Tell(), 7);
        EXPECT_TRUE(file.Seek(0, 0));
        char line[8];
        EXPECT_STREQ(file.GetS(line, 8), "abcd\n");
        int value = 0;
        EXPECT_EQ(file.Scanf("%d", &value), 1);
        EXPECT_EQ(value, 42);
        EXPECT_TRUE(file.Close());
    }
    // The caller's stream stays open.
    EXPECT_EQ(std::fseek(stream, 0, SEEK_SET), 0);
    EXPECT_EQ(std::fgetc(stream), 'a');
    std::fclose(stream);
}
