#include "model/markup/markup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Holds the text and the element so that a test can read several tags.
struct Reader {
    TesselMemoryFile file;
    TesselElement element;
    explicit Reader(const std::string& text)
    {
        file.assign(text.data(), static_cast<uint32_t>(text.size()));
    }
    TesselElement* next() { return readElement(file, element); }
};

std::string attributes(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    return text;
}

} // namespace

TEST(MarkupRead, KindsOfTagsAndTextBetweenThem)
{
    Reader r("<song>some text <pattern index=\"3\"/>\n\t</song>");
    ASSERT_TRUE(r.next());
    EXPECT_STREQ(r.element.name, "song");
    EXPECT_EQ(r.element.kind, kElementOpen);
    EXPECT_EQ(r.element.count, 0);
    ASSERT_TRUE(r.next());
    EXPECT_STREQ(r.element.name, "pattern");
    EXPECT_EQ(r.element.kind, kElementSelf);
    ASSERT_EQ(r.element.count, 1);
    EXPECT_STREQ(r.element.attributes[0].name, "index");
    EXPECT_STREQ(r.element.attributes[0].value, "3");
    EXPECT_EQ(r.element.attributes[0].present, 0);
    ASSERT_TRUE(r.next());
    EXPECT_STREQ(r.element.name, "song");
    EXPECT_EQ(r.element.kind, kElementClose);
    EXPECT_TRUE(r.file.atEnd());
    // The end of the text reads as null, again and again.
    EXPECT_EQ(r.next(), nullptr);
    EXPECT_EQ(r.next(), nullptr);
}

TEST(MarkupRead, DeclarationReadsAsAnUnnamedOpenElement)
{
    Reader r("<?xml version=\"1.0\"?><a/>");
    ASSERT_TRUE(r.next());
    EXPECT_STREQ(r.element.name, "");
    EXPECT_EQ(r.element.kind, kElementOpen);
    ASSERT_EQ(r.element.count, 1);
    EXPECT_STREQ(r.element.attributes[0].value, "1.0");
    ASSERT_TRUE(r.next());
    EXPECT_STREQ(r.element.name, "a");
}

TEST(MarkupRead, MissingValues)
{
    EXPECT_EQ(Reader("<a b c=\"1\"/>").next(), nullptr);
    EXPECT_EQ(Reader("<a b/>").next(), nullptr);
    EXPECT_EQ(Reader("<a b>").next(), nullptr);
    EXPECT_EQ(Reader("<a b\"x\"/>").next(), nullptr);

    // A name ended by another character keeps an empty value; the next
    // attribute after a blank is read normally.
    Reader r("<a b-c d=\"2\"/>");
    ASSERT_TRUE(r.next());
    ASSERT_EQ(r.element.count, 2);
    EXPECT_STREQ(r.element.attributes[0].name, "b");
    EXPECT_STREQ(r.element.attributes[0].value, "");
    EXPECT_STREQ(r.element.attributes[1].name, "d");
    EXPECT_STREQ(r.element.attributes[1].value, "2");

    // An equals sign without quotes reads up to the next quote or the limit.
    Reader bare("<a b=\"\" c=5/>");
    EXPECT_EQ(bare.next(), nullptr);
}

TEST(MarkupRead, ThirtyOneAttributesReadAThirtySecondSpoilsTheTag)
{
    Reader ok("<a" + attributes(31) + "/>");
    ASSERT_TRUE(ok.next());
    EXPECT_EQ(ok.element.count, 31);
    EXPECT_STREQ(ok.element.attributes[30].name, "a30");
    EXPECT_STREQ(ok.element.attributes[30].value, "30");

    EXPECT_EQ(Reader("<a" + attributes(32) + "/>").next(), nullptr);
}

TEST(MarkupRead, LongNamesAreCutAtThirtyOneCharacters)
{
    std::string longName(40, 'n');
    Reader r("<" + longName + " " + longName + "=\"v\" x=\"1\"/>");
    ASSERT_TRUE(r.next());
    EXPECT_EQ(std::string(r.element.name), std::string(31, 'n'));
    ASSERT_EQ(r.element.count, 2);
    EXPECT_EQ(std::string(r.element.attributes[0].name), std::string(31, 'n'));
    EXPECT_STREQ(r.element.attributes[0].value, "v");
    EXPECT_STREQ(r.element.attributes[1].value, "1");

    std::string exact(31, 'e');
    Reader e("<a " + exact + "=\"w\"/>");
    ASSERT_TRUE(e.next());
    EXPECT_EQ(std::string(e.element.attributes[0].name), exact);
}

TEST(MarkupRead, LongValuesAreCutAndTheRestSkipped)
{
    Reader r("<a b=\"" + std::string(300, 'x') + "\" c=\"1\"/>");
    ASSERT_TRUE(r.next());
    EXPECT_EQ(std::string(r.element.attributes[0].value), std::string(255, 'x'));
    ASSERT_EQ(r.element.count, 2);
    EXPECT_STREQ(r.element.attributes[1].value, "1");
}

TEST(MarkupRead, ReferencesAreDecodedOnce)
{
    Reader r("<a v=\"&quot;&apos;&lt;&gt;&amp;\" w=\"&amp;lt;\" x=\"&amp;amp;\" "
             "y=\"&#65;&AMP;&\"/>");
    ASSERT_TRUE(r.next());
    ASSERT_EQ(r.element.count, 4);
    EXPECT_STREQ(r.element.attributes[0].value, "\"'<>&");
    EXPECT_STREQ(r.element.attributes[1].value, "&lt;");
    EXPECT_STREQ(r.element.attributes[2].value, "&amp;");
    EXPECT_STREQ(r.element.attributes[3].value, "&#65;&AMP;&");
}

TEST(MarkupRead, TruncatedTagsFailCleanly)
{
    const char* cuts[] = {"", "<", "<a", "<a ", "<a b", "<a b=", "<a b=\"", "<a b=\"x",
                          "<a b=\"x\"", "<a/", "</a", "<a b=\"x\" /"};
    for (const char* text : cuts)
        EXPECT_EQ(Reader(text).next(), nullptr) << text;
    // A slash not followed by a greater-than sign.
    EXPECT_EQ(Reader("<a/ >").next(), nullptr);
}

TEST(MarkupCursor, ReadUntilStopsOnTheStopCharacterAndCutsAtTheLimit)
{
    TesselMemoryFile file;
    file.assign("abc\"def", 7);
    char buffer[8];
    file.readUntil(buffer, '"', 8);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(*file.position, '"');

    file.seek(0);
    file.readUntil(buffer, '"', 3);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(file.offset(), 3u);

    file.seek(4);
    file.readUntil(buffer, '"', 8);
    EXPECT_STREQ(buffer, "def");
    EXPECT_TRUE(file.atEnd());
}

TEST(MarkupCursor, MatchIsExactAndStaysInsideTheText)
{
    TesselMemoryFile file;
    file.assign("RIFFWA", 6);
    EXPECT_FALSE(file.match("riff"));
    EXPECT_TRUE(file.match("RIFF"));
    EXPECT_FALSE(file.match("WAVE"));
    EXPECT_EQ(file.offset(), 4u);
    EXPECT_TRUE(file.match("WA"));
    EXPECT_TRUE(file.atEnd());
}
