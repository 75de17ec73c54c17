#include "model/markup/markup.h"
#include "model/scratch_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TesselElement readOne(const std::string& text)
{
    TesselMemoryFile file;
    file.assign(text.data(), static_cast<uint32_t>(text.size()));
    TesselElement element;
    EXPECT_TRUE(readElement(file, element)) << text;
    return element;
}

struct DepthGuard {
    int32_t saved = markupDepth;
    DepthGuard() { markupDepth = 0; }
    ~DepthGuard() { markupDepth = saved; }
};

} // namespace

TEST(MarkupElement, DefaultsAndConstruction)
{
    TesselElement plain;
    EXPECT_STREQ(plain.name, "untitled");
    EXPECT_EQ(plain.kind, kElementSelf);
    EXPECT_EQ(plain.count, 0);

    TesselAttribute slots[2];
    slots[0].set("pitch", "60");
    slots[1].set(std::string(40, 'n').c_str(), std::string(300, 'v').c_str(), false);
    TesselElement made(nullptr, kElementOpen, slots, 2);
    EXPECT_STREQ(made.name, "untitled");
    EXPECT_EQ(made.kind, kElementOpen);
    ASSERT_EQ(made.count, 2);
    EXPECT_EQ(made.attributes[0].present, 1);
    EXPECT_EQ(std::string(made.attributes[1].name).size(), 31u);
    EXPECT_EQ(std::string(made.attributes[1].value).size(), 255u);

    TesselElement full;
    for (int i = 0; i < kMarkupSlots; ++i)
        EXPECT_TRUE(full.addInt("n", i));
    EXPECT_EQ(full.add("n", "x"), nullptr);
}

TEST(MarkupElement, IsComparesNamesExactlyAndTestsTheKindMask)
{
    TesselElement e("sample", kElementOpen);
    EXPECT_TRUE(e.is("sample", "sa", kElementOpen | kElementSelf));
    EXPECT_FALSE(e.is("sample", "sa", kElementClose));
    EXPECT_FALSE(e.is("Sample", "SA", kElementOpen));
    TesselElement s("sa", kElementSelf);
    EXPECT_TRUE(s.is("sample", "sa", kElementSelf));
    EXPECT_FALSE(s.is("sample", nullptr, kElementSelf));
}

TEST(MarkupElement, LongNamesIgnoreCaseShortNamesOnlyForTextAndChar)
{
    TesselElement e = readOne("<s INDEX=\"7\" i=\"8\" I=\"9\" m=\"text\" c=\"-3\"/>");
    int32_t value = 0;
    EXPECT_TRUE(e.getInt("index", "i", value));
    EXPECT_EQ(value, 7); // first slot in slot order wins

    TesselElement shortOnly = readOne("<s i=\"8\"/>");
    EXPECT_TRUE(shortOnly.getInt("index", "i", value));
    EXPECT_EQ(value, 8);
    TesselElement capital = readOne("<s I=\"9\"/>");
    value = -1;
    EXPECT_FALSE(capital.getInt("index", "i", value));
    EXPECT_EQ(value, -1);

    char text[16] = "default";
    EXPECT_TRUE(e.getString("name", "M", text));
    EXPECT_STREQ(text, "text");
    int8_t c = 0;
    EXPECT_TRUE(e.getChar("count", "C", c));
    EXPECT_EQ(c, -3);
}

TEST(MarkupElement, MissingAttributesLeaveTheOutputAlone)
{
    TesselElement e = readOne("<s a=\"1\"/>");
    char text[8] = "keep";
    int8_t c = 5;
    int16_t s = 6;
    int32_t i = 7;
    bool b = true;
    float f = 1.5f;
    double d = 2.5;
    EXPECT_FALSE(e.getString("x", "y", text));
    EXPECT_FALSE(e.getChar("x", "y", c));
    EXPECT_FALSE(e.getShort("x", "y", s));
    EXPECT_FALSE(e.getInt("x", "y", i));
    EXPECT_FALSE(e.getBool("x", "y", b));
    EXPECT_FALSE(e.getFloat("x", "y", f));
    EXPECT_FALSE(e.getDouble("x", "y", d));
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(c, 5);
    EXPECT_EQ(s, 6);
    EXPECT_EQ(i, 7);
    EXPECT_TRUE(b);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, 2.5);
}

TEST(MarkupElement, NumberConversions)
{
    TesselElement e = readOne("<s a=\" -12abc\" b=\"abc\" c=\"200\" d=\"70000\" e=\"1.5e2x\" "
                              "f=\"-.25\" g=\"0\" h=\"3\" i=\"+4\" j=\"99999999999999999999\" "
                              "k=\"1e999\" l=\"nan\" m=\"-1e300\"/>");
    int32_t i = 0;
    EXPECT_TRUE(e.getInt("a", nullptr, i));
    EXPECT_EQ(i, -12);
    i = 5;
    EXPECT_TRUE(e.getInt("b", nullptr, i)); // no digits: 0, still found
    EXPECT_EQ(i, 0);
    EXPECT_TRUE(e.getInt("i", nullptr, i));
    EXPECT_EQ(i, 4);
    EXPECT_TRUE(e.getInt("j", nullptr, i)); // saturates before overflow; low 32 bits
    int8_t c = 0;
    EXPECT_TRUE(e.getChar("c", nullptr, c));
    EXPECT_EQ(c, -56);
    int16_t s = 0;
    EXPECT_TRUE(e.getShort("d", nullptr, s));
    EXPECT_EQ(s, 4464);
    float f = 0;
    EXPECT_TRUE(e.getFloat("e", nullptr, f));
    EXPECT_EQ(f, 150.0f);
    EXPECT_TRUE(e.getFloat("m", nullptr, f));
    EXPECT_TRUE(std::isfinite(f));
    double d = 0;
    EXPECT_TRUE(e.getDouble("f", nullptr, d));
    EXPECT_EQ(d, -0.25);
    EXPECT_TRUE(e.getDouble("k", nullptr, d));
    EXPECT_TRUE(std::isfinite(d));
    EXPECT_TRUE(e.getDouble("l", nullptr, d));
    EXPECT_EQ(d, 0.0);
    bool b = true;
    EXPECT_TRUE(e.getBool("g", nullptr, b));
    EXPECT_FALSE(b);
    EXPECT_TRUE(e.getBool("h", nullptr, b));
    EXPECT_TRUE(b);
}

TEST(MarkupElement, GetStringIsBoundedByTheCallersField)
{
    TesselElement e = readOne("<s name=\"" + std::string(200, 'x') + "\"/>");
    char small[4] = "abc";
    EXPECT_TRUE(e.getString("name", nullptr, small));
    EXPECT_STREQ(small, "xxx");
    std::string whole(kMarkupValueSize, '\0');
    EXPECT_TRUE(e.getString("name", nullptr, whole.data(), whole.size()));
    EXPECT_EQ(std::string(whole.c_str()), std::string(200, 'x'));
}

TEST(MarkupWrite, IndentationFollowsTheDepthAndReturnsToZero)
{
    DepthGuard guard;
    TesselElement open("song", kElementOpen);
    open.add("name", "x");
    open.add("hidden", "y", false);
    TesselElement self("pattern", kElementSelf);
    TesselElement close("song", kElementClose);
    std::string text = writtenText([&](FILE* f) {
        writeElement(f, open, true, true);
        writeElement(f, self, true, true);
        writeElement(f, close, true, true);
    });
    EXPECT_EQ(text, "<song name=\"x\">\n <pattern/>\n</song>\n");
    EXPECT_EQ(markupDepth, 0);

    std::string flat = writtenText([&](FILE* f) {
        writeElement(f, open, false, false);
        writeElement(f, open, true, false);
        writeElement(f, close, true, false);
        writeElement(f, close, false, false);
    });
    EXPECT_EQ(flat, "<song name=\"x\"> <song name=\"x\"> </song></song>");
    EXPECT_EQ(markupDepth, 0);
}

TEST(MarkupWrite, TheFiveSpecialCharactersRoundTrip)
{
    DepthGuard guard;
    const char* values[] = {"\"quoted\"", "it's", "a<b>c", "x&y", "&amp;", "&lt;&#65;",
                            "back\\slash", "\"'<>&"};
    TesselElement out("v", kElementSelf);
    for (const char* value : values)
        out.add("a", value);
    std::string text = writtenText([&](FILE* f) { writeElement(f, out, false, true); });
    EXPECT_NE(text.find("a=\"&quot;&apos;&lt;&gt;&amp;\""), std::string::npos) << text;
    TesselElement in = readOne(text);
    ASSERT_EQ(in.count, out.count);
    for (int i = 0; i < in.count; ++i)
        EXPECT_STREQ(in.attributes[i].value, values[i]);
}

TEST(MarkupWrite, ValuesFullOfSpecialCharactersAreWrittenWhole)
{
    DepthGuard guard;
    TesselElement out("v", kElementSelf);
    out.add("a", std::string(255, '"').c_str());
    std::string text = writtenText([&](FILE* f) { writeElement(f, out, true, false); });
    std::string expected = "<v a=\"";
    for (int i = 0; i < 255; ++i)
        expected += "&quot;";
    EXPECT_EQ(text, expected + "\"/>");
}
