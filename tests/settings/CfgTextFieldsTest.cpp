// Texts in the .cfg file are UTF-8: one longer than its field is cut before
// a character, never inside one, and every other text comes back byte for
// byte.

#include "tests/settings/SettingsTestSupport.h"

#include "settings/TextField.h"

class CfgTextFieldsTest : public CfgTextTest {};

TEST_F(CfgTextFieldsTest, ALongUtf8TextEndsBeforeTheCharacterThatDoesNotFit)
{
    std::string twenty;
    for (int i = 0; i < 20; ++i)
        twenty += "\u00c4";  // two bytes each: 40 bytes for a 39-byte name
    const FrameSettings s = Load("[Calibration]\r\nLeftChannelName=" + twenty + "\r\n[PrintOpts]\r\nAnnotation1=Gr\u00f6\u00dfe "
                                 "\u65e5\u672c\r\n");
    EXPECT_EQ(TextFieldView(s.Calibration[0].ChannelName), twenty.substr(0, 38));
    EXPECT_EQ(TextFieldView(s.Print.Annotation1), "Gr\u00f6\u00dfe \u65e5\u672c");

    // Written and read again, nothing changes.
    WriteText(path, FormatCfgSettings(s));
    FrameSettings again;
    ASSERT_TRUE(LoadCfgSettings(path, again, {}));
    EXPECT_EQ(FormatCfgSettings(again), FormatCfgSettings(s));
}
