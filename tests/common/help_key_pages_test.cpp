// The key reference pages are made at build time from the command tables;
// here they are checked against the plug-in's own scheme and key lookup:
// every key that reaches a command the program acts on is on its page.
#include "help_test_support.h"

#include "shell/command_scheme.h"
#include "shell/command_ids.h"

#include <set>

namespace {

// As the pages write key texts.
std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else if (byte >= 0x80)
            out += "&#" + std::to_string(byte) + ";";
        else
            out += c;
    }
    return out;
}

struct ContextPages {
    const char* context;
    std::vector<const char*> pages;
    // Commands that the pages of this context do not act on, or that other
    // rows of this table cover.
    std::set<int32_t> notListed;
};

} // namespace

class HelpKeyPages : public HelpArchiveFixture {
protected:
    void SetUp() override { defaultScheme().resetToDefaults(); }
};

TEST_F(HelpKeyPages, EveryKeyThatReachesACommandIsOnItsPage)
{
    using namespace cmd;
    const std::vector<ContextPages> table = {
        {root::kContext, {"Keys_PB_1.htm"}, {root::kCopy, root::kCut, root::kPaste}},
        {root::kContext, {"Keys_PE_2.htm", "Keys_SL_1.htm", "Keys_IL_1.htm"},
         {root::kHelpContext, root::kHelpKeyboard, root::kPatternEditor, root::kSampleList, root::kInstrumentList,
          root::kInfoPage, root::kOrderList, root::kPreferences, root::kNewModule, root::kLoadModule,
          root::kSaveModule, root::kSaveModuleAs, root::kPlaySong, root::kRebuildSync, root::kPlayPattern,
          root::kPlayPatternFromCursor, root::kPlayFromCursor, root::kStop, root::kReset, root::kBaseOctaveDown,
          root::kBaseOctaveUp}},
        {pattern_editor::kContext, {"Keys_PE_3.htm"},
         {pattern_editor::kAlternateZoomMode, pattern_editor::kMergeWithHost}},
        {pattern::kContext, {"Keys_PE_2.htm"},
         {pattern::kEditAnnotation, pattern::kApplyFormula, pattern::kClearFormula}},
        {note_entry::kContext, {"Keys_PE_1.htm"}, {}},
        {sample_list::kContext, {"Keys_SL_1.htm"}, {}},
        {instrument_list::kContext, {"Keys_IL_1.htm"}, {}},
        {info_page::kContext, {"Keys_IP_1.htm"}, {}},
    };
    int checked = 0;
    for (const ContextPages& row : table) {
        const TesselCommand* context = defaultScheme().findByPath(row.context);
        ASSERT_NE(context, nullptr) << row.context;
        for (const TesselCommand& command : context->children) {
            if (!command.children.empty() || row.notListed.count(command.id))
                continue;
            for (const TesselShortcut& shortcut : command.shortcuts) {
                // A key that an earlier command of the context takes never reaches this one.
                if (context->findByKey(shortcut.key, false).id != command.id)
                    continue;
                for (const char* page : row.pages) {
                    EXPECT_NE((*entries_)[page].find(escaped(shortcut.key.toString())), std::string::npos)
                        << page << ": " << shortcut.path << " " << shortcut.key.toString();
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 120);
}

TEST_F(HelpKeyPages, AKeyTakenByAnEarlierCommandIsNotListedTwice)
{
    // F5 is bound to both the info page and playing the song; the info page
    // comes first in the table, so F5 shows the info page.
    const std::string& global = (*entries_)["Keys_PB_1.htm"];
    EXPECT_EQ(defaultScheme().idForKey(namedKey(kVkF1 + 4), false), cmd::root::kInfoPage);
    EXPECT_NE(global.find("<td class=\"key\">F5</td><td>Info Page</td>"), std::string::npos);
    EXPECT_EQ(global.find("Play the song"), std::string::npos);
}
