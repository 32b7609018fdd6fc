// An edit limited to its record field's size in UTF-8 bytes.

#include <gtest/gtest.h>

#include <QLineEdit>

#include "platform/qt/Utf8LengthValidator.h"

TEST(Utf8LengthValidator, CountsBytesNotCharacters)
{
    QLineEdit edit;
    Utf8LengthValidator validator(3, &edit);
    // Text, whether it fits three bytes.
    const std::pair<QString, bool> cases[] = {
        {"abc", true},
        {"abcd", false},
        {QString::fromUtf8("\u00e4a"), true},      // 2 + 1
        {QString::fromUtf8("\u00e4\u00e4"), false}, // 2 + 2
        {QString::fromUtf8("\u65e5"), true},       // 3
        {QString::fromUtf8("\u65e5a"), false},
        {"", true},
    };
    for (auto [text, fits] : cases) {
        int position = 0;
        EXPECT_EQ(validator.validate(text, position) == QValidator::Acceptable, fits) << text.toStdString();
    }
}
