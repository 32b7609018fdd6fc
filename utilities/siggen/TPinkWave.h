#pragma once
// The pink-noise recording "PINKWAVE" (resources/PINKWAVE.wav): a 44-byte
// RIFF WAVE header, PCM mono 16-bit, whose samples from byte 88 onwards the
// pink-noise signals play in a loop, one per output frame whatever the
// output rate.
//
// The loop covers the data chunk only: the file may carry padding after the
// chunk, which would play as a dropout on every pass.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ZeroFilledArray.h"

class TPinkWave {
public:
    static constexpr const char* kFileName = "PINKWAVE.wav";
    // The header and the 22 samples before the loop.
    static constexpr std::uint64_t kLoopOffset = 88;

    // Reads the recording; false (and nothing held) when the file is
    // missing, is not a 16-bit PCM wave image in the layout above, or the
    // memory cannot be had.
    bool Load(const std::string& path);
    // Loads from the first of DefaultLocations that holds the file.
    bool LoadDefault();

    // Where the program looks, in order: beside the program, in its
    // installed data folder, then in the source tree it was built from.
    static std::vector<std::string> DefaultLocations();

    bool IsLoaded() const { return !Words.empty(); }
    // Words in the loop (even), 0 when nothing is loaded.
    std::uint64_t GetLoopWords() const { return Words.size(); }
    // Word j of the loop (j below GetLoopWords).
    std::int16_t GetWord(std::uint64_t j) const { return Words[j]; }
    const std::int16_t* GetWords() const { return Words.data(); }

private:
    platform::ZeroFilledArray<std::int16_t> Words;
};
