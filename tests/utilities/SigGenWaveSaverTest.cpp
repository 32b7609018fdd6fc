// Saving the generator's signal, written beside the target and renamed onto
// it, when that fails (the copies themselves: SigGenWindowTest); and the
// dialogs' number texts.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "audio/TWaveFile.h"
#include "platform/MessageBox.h"
#include "utilities/siggenlogic/SigGenText.h"
#include "utilities/siggenlogic/TSigGenWaveSaver.h"

namespace fs = std::filesystem;

TEST(SigGenWaveSaver, AFailedSaveLeavesWhatIsThereAndNoLeftovers)
{
    std::vector<std::string> messages;
    platform::SetMessageBoxHook([&messages](const platform::MessageBoxRequest& r) {
        messages.push_back(r.text);
        return platform::MessageResult::Ok;
    });
    // A name the rename cannot take over: a folder holding a file.
    const fs::path folder = fs::temp_directory_path() / ("siggen_saver_" + std::to_string(::getpid()));
    const fs::path target = folder / "taken.wav";
    fs::create_directories(target);
    std::ofstream(target / "keep.txt") << "keep";

    TWaveData wave(48000, TWaveFormat(48000, 2, 2));
    EXPECT_FALSE(TSigGenWaveSaver::Save(wave, target.string(), 2));
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(fs::file_size(target / "keep.txt"), 4u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
        << "the temporary file is gone";
    EXPECT_FALSE(messages.empty()) << "the wave file reports its own failure";

    // A folder that does not exist cannot even hold the temporary file.
    EXPECT_FALSE(TSigGenWaveSaver::Save(wave, (folder / "missing" / "x.wav").string(), 1));
    platform::SetMessageBoxHook({});
    fs::remove_all(folder);
}

TEST(SigGenText, NumbersLookLikePrintfWhateverTheLocale)
{
    EXPECT_EQ(std::vector({siggen_text::Format62(0.5), siggen_text::Format62(-96.0), siggen_text::Format62(24000.0),
                           siggen_text::FormatFixedWidth(60.0, 6, 1)}),
              std::vector<std::string>({"  0.50", "-96.00", "24000.00", "  60.0"}));
    // Buffers of 20 characters keep 19 of them.
    EXPECT_EQ(siggen_text::ReadInteger("1234567890123456789999", 20), 2147483647);
    EXPECT_EQ(siggen_text::ReadInteger("12345678901234567890", 5), 1234);
    EXPECT_EQ(siggen_text::ReadReal("abc", 80), 0.0f);
    EXPECT_EQ(siggen_text::ReadReal(" 2.5kHz", 80), 2.5f);
}
