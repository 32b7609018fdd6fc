#pragma once
// Shared by the wave-file tests: a private folder per test, captured message
// boxes, and hand-built RIFF bytes.

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "audio/TWaveFile.h"
#include "platform/MessageBox.h"
#include "platform/RiffFile.h"
#include "platform/ZeroFilledArray.h"

namespace wavetest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Concat(const std::vector<Bytes>& parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A little-endian field of `width` bytes; text without its terminator.
inline Bytes LE(std::uint32_t v, int width)
{
    Bytes b;
    for (int i = 0; i < width; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return b;
}
inline Bytes Text(const char* text) { return Bytes(text, text + std::strlen(text)); }

// A chunk with a four-letter id, padded to an even length; the size field
// says the data's size unless told otherwise.
inline Bytes Chunk(const char* id, const Bytes& data, std::optional<std::uint32_t> sizeField = {})
{
    Bytes b = Concat({Text(id), LE(sizeField.value_or(static_cast<std::uint32_t>(data.size())), 4), data});
    if (data.size() % 2 != 0)
        b.push_back(0);
    return b;
}

// A chunk whose id is a number, as the calibration chunks have.
inline Bytes NumberedChunk(std::uint32_t id, const Bytes& data, std::uint32_t sizeField)
{
    return Concat({LE(id, 4), LE(sizeField, 4), data});
}

inline Bytes FormatData(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t blockAlign,
                        std::uint16_t bits)
{
    return Concat({LE(tag, 2), LE(channels, 2), LE(rate, 4), LE(rate * blockAlign, 4), LE(blockAlign, 2), LE(bits, 2)});
}

// "RIFF" form of type "WAVE" around the given chunks.
inline Bytes WaveForm(const std::vector<Bytes>& chunks)
{
    return Chunk("RIFF", Concat({Text("WAVE"), Concat(chunks)}));
}

class WaveTest : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::path(testing::TempDir())
               / (std::string("wave-") + info->test_suite_name() + "-" + info->name() + "-"
                  + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
            EXPECT_EQ(request.caption, "Talvenor Mobile");
            messages.push_back(request.text);
            return platform::MessageResult::Ok;
        });
    }

    void TearDown() override
    {
        platform::SimulateDiskFull(-1);
        platform::FailNextAllocations(0);
        platform::SetMessageBoxHook({});
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(folder);
    }

    std::string Path(const std::string& name) const { return (folder / name).string(); }
    // The path in double quotes, as messages name a file. Appended rather
    // than "\"" + path: that trips a false -Wrestrict in GCC 12 at -O3.
    std::string QuotedPath(const std::string& name) const
    {
        std::string quoted(1, '"');
        quoted.append(Path(name)).push_back('"');
        return quoted;
    }

    static Bytes Load(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static void Store(const std::string& path, const Bytes& bytes)
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // Opens a file of these bytes under this name.
    std::unique_ptr<TWaveFile> Open(const std::string& name, const Bytes& bytes,
                                    std::uint16_t mode = TWaveFile::kMemoryMode)
    {
        Store(Path(name), bytes);
        return std::make_unique<TWaveFile>(Path(name), mode, false, folder.string());
    }

    // Names in the folder, e.g. to spot a temporary file left behind.
    static std::vector<std::string> Files(const std::filesystem::path& where)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(where))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::filesystem::path folder;
    std::vector<std::string> messages;
};

}  // namespace wavetest
