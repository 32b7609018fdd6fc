// The overlay entries of a plot's section are numbered from 1 in their key
// names ("Show1_1" … "Show1_7", "OverlayColor1" … "OverlayColor6", then
// "OverlayColorC"), so a file written elsewhere lands in the right slots.
#include "SettingsTestSupport.h"
#include "settings/CfgSettingsFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CfgOverlayKeysTest : public CfgTextTest {};

TEST_F(CfgOverlayKeysTest, TheFirstAndSeventhEntriesReadFromKeysNumberedOneAndSevenOrC)
{
    const FrameSettings s = Load("[SpectrumOpts2]\n"
                                 "Show1_1=1\nShow2_1=1\nOverlayColor1=17\nOffset1_1=-3.5\nIncludeInAverage1_1=0\n"
                                 "Show1_7=1\nOverlayColorC=4660\nOffset2_7=12.25\nIncludeInAverage2_7=0\n");
    const SpectrumOpts& o = s.Spectrum[1];
    // Show flags and include flags, then colours, then offsets.
    EXPECT_EQ((std::vector<int>{o.Overlay[0].Show1, o.Overlay[0].Show2, o.IncludeInAverage1[0], o.Overlay[6].Show1,
                                o.IncludeInAverage2[6], o.Overlay[1].Show1, o.Overlay[5].Show1}),
              (std::vector<int>{1, 1, 0, 1, 0, 0, 0}));
    EXPECT_EQ((std::vector<std::uint32_t>{o.Overlay[0].Color, o.Overlay[6].Color, o.Overlay[1].Color}),
              (std::vector<std::uint32_t>{17, 4660, 11447808}))
        << "the slots between keep their defaults";
    EXPECT_EQ((std::vector<float>{o.Overlay[0].Offset1, o.Overlay[6].Offset2}), (std::vector<float>{-3.5f, 12.25f}));
    ExpectWritten(s, "SpectrumOpts2/Show1_1=1 SpectrumOpts2/OverlayColorC=4660 SpectrumOpts2/Offset2_7=12.25");
}

} // namespace
