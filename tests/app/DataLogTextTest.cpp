// A data-log file-name prefix is text the operator types: it must come back
// byte for byte from the sheet and from the settings file, whatever its
// script.

#include "tests/support/PlatformTestSupport.h"

#include "app/CDataLogSetupDlg.h"
#include "settings/CfgSettingsFile.h"
#include "settings/FrameSettings.h"
#include "settings/TextField.h"

#include <gtest/gtest.h>

TEST(DataLogSheetText, AFileNamePrefixKeepsItsUtf8BytesThroughThreeOksAndARestart)
{
    MessageLog messages;
    const TempFolder folder;
    const std::string path = folder.Path("talvenor.cfg");
    for (const std::string name : {"Gr\u00f6\u00dfe", "Mikrofon S\u00fcd", "\u65e5\u672c"}) {
        FrameSettings settings;
        SetTextField(settings.DataLog.Channel[0].LogFileName, name);
        for (int ok = 0; ok < 3; ++ok) {
            LoggingOpts opts = settings.DataLog.Channel[0];
            CDataLogSetupDlg page(nullptr, 0, &opts, "Microphone", {});
            ASSERT_TRUE(page.Validate()) << (messages.texts.empty() ? "" : messages.texts.back());
            settings.DataLog.Channel[0] = opts;
        }
        EXPECT_EQ(TextFieldView(settings.DataLog.Channel[0].LogFileName), name);
        ASSERT_TRUE(SaveCfgSettings(path, settings));
        FrameSettings restarted;
        ASSERT_TRUE(LoadCfgSettings(path, restarted, {}));
        EXPECT_EQ(TextFieldView(restarted.DataLog.Channel[0].LogFileName), name);
    }
    EXPECT_TRUE(messages.texts.empty());
}
