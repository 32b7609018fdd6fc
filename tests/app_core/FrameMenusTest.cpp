// The menu bar and accelerator tables, which commands are live, and the help
// pages' table and their full-text search.

#include "app/core/FrameCommandIds.h"
#include "app/core/FrameMenus.h"
#include "app/core/HelpSearch.h"
#include "app/core/HelpTopics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

using namespace frame_menus;

TEST(FrameMenus, MnemonicsAreTheLetterAfterASingleAmpersand)
{
    EXPECT_EQ(std::string({Mnemonic("P&rint"), Mnemonic("&Options"), Mnemonic("Fish && &Chips"),
                           Mnemonic("Processing Settings...\tF4"), Mnemonic("Trailing&")}),
              std::string("ROC\0\0", 5));
}

// Only Run's Alt+R is also a popup's mnemonic ("P&rint"): the frame's
// command test presses both ways to it.
TEST(FrameMenus, ThePopupsMnemonicsDifferOnlyAltRClashesAndMenusShowTheAcceleratorsKeys)
{
    std::set<char> letters;
    const auto accelerators = Accelerators();
    for (const MenuPopup& popup : MenuBar()) {
        EXPECT_TRUE(letters.insert(Mnemonic(popup.title)).second) << popup.title;
        std::set<char> itemLetters; // one key per item within a popup, or Alt+letter picks the first only
        for (const MenuItem& item : popup.items) {
            const std::string text = item.id == 0 ? "" : item.text;
            if (const char letter = Mnemonic(text.c_str()); letter != '\0') {
                EXPECT_TRUE(itemLetters.insert(letter).second) << popup.title << ": " << text;
            }
            if (const std::size_t tab = text.find('\t'); tab != std::string::npos) {
                EXPECT_TRUE(std::any_of(accelerators.begin(), accelerators.end(), [&](const Accelerator& a) {
                    return a.keys == text.substr(tab + 1) && a.id == item.id;
                })) << text;
            }
        }
    }
    EXPECT_FALSE(IsCommandBuilt(0));

    std::set<std::string> clashing;
    for (const Accelerator& accelerator : accelerators)
        if (ClashesWithMenuMnemonic(accelerator))
            clashing.insert(std::string(accelerator.keys) + " " + std::to_string(accelerator.id));
    EXPECT_EQ(clashing, std::set<std::string>{"Alt+R 57765"}) << "Run's key and the Print menu's letter, no other";
    EXPECT_EQ(MenuBar().front().title, std::string("P&rint"));
    // Alt and one letter clashes with a popup's mnemonic (R, O, V, U, H), in either case.
    for (const auto& [keys, clashes] : {std::pair{"Alt+R", true}, std::pair{"Alt+h", true}, std::pair{"Alt+S", false},
                                        std::pair{"Alt+P", false},
                                        std::pair{"Ctrl+R", false}, std::pair{"Alt+RR", false},
                                        std::pair{"Alt+", false}, std::pair{"R", false}, std::pair{"F1", false}})
        EXPECT_EQ(ClashesWithMenuMnemonic(Accelerator{keys, 1}), clashes) << keys;
}

TEST(HelpTopics, EveryContextIdHasItsOwnPage)
{
    std::set<int> ids;
    std::set<std::string> files;
    for (const HelpTopic& topic : help_topics::All()) {
        EXPECT_TRUE(ids.insert(topic.contextId).second) << topic.contextId;
        EXPECT_TRUE(files.insert(topic.file).second) << topic.file;
        EXPECT_NE(std::string(topic.file), help_topics::kContentsFile);
    }
    EXPECT_STREQ(help_topics::FileFor(12345), help_topics::kContentsFile);
}

TEST(HelpSearch, EveryWordMustMatchTitlesCountMoreAndMarkupIsNoText)
{
    HelpSearch search;
    search.AddPage("a.html", "Calibration", "<p>Calibrate the microphone with a calibrator.</p>");
    search.AddPage("b.html", "Getting Started", "<p>Connect the microphone, then calibrate it and press Run.</p>");
    search.AddPage("c.html", "Data Logging", "<p>Logs are written while running.</p>");

    auto found = [&search](std::string_view query) {
        std::string files;
        for (const HelpSearch::Hit& hit : search.Find(query))
            files += hit.file + " ";
        return files;
    };
    EXPECT_EQ(found("calibr"), "a.html b.html ") << "a title hit ranks first";
    EXPECT_EQ(found("MICROPHONE run"), "b.html ") << "both words, any case, word starts";
    EXPECT_EQ(found("  ,, ") + found("spectrogram"), "");
    EXPECT_EQ(found("ibrat"), "") << "words match from their start only";

    // Without a title hit, more matches in the text rank higher.
    search.AddPage("d.html", "Notes", "<p>Run it, run it again, run.</p>");
    EXPECT_EQ(search.Find("run").size(), 3u);
    EXPECT_TRUE(found("run").starts_with("d.html ")) << found("run");

    // Plain text drops markup, scripts and entities.
    EXPECT_EQ(HelpSearch::Words(HelpSearch::PlainText(
                  "<p>Press <b>Run</b> &amp; watch</p><script>var hidden = 1;</script><style>p{}</style>x")),
              (std::vector<std::string>{"press", "run", "watch", "x"}));
    EXPECT_EQ(HelpSearch::PlainText("a &amp; b &lt;c&gt; &quot;d&quot; e&nbsp;f it&#39;s &bogus; &"),
              "a & b <c> \"d\" e f it's &bogus; &");

    // A title hit weighs ten text hits: a tie keeps the order the pages came in.
    HelpSearch ranked;
    ranked.AddPage("ten.html", "Notes", "<p>hold hold hold hold hold hold hold hold hold hold</p>");
    ranked.AddPage("title.html", "Hold", "<p>Nothing else.</p>");
    ranked.AddPage("both.html", "Hold", "<p>Hold</p>");
    std::string order;
    for (const HelpSearch::Hit& hit : ranked.Find("hold"))
        order += hit.file + " ";
    EXPECT_EQ(order, "both.html ten.html title.html ");
}
