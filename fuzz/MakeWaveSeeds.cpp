// Writes the fuzzer's seed corpus: small files of every kind the reader
// knows, made by the program's own writer where it can make them and by
// hand where only other programs do (older chunks, foreign chunks,
// extensible headers, extra chunks).
//
// Usage: MakeWaveSeeds <folder>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "audio/TWaveFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void U16(Bytes& b, std::uint32_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void U32(Bytes& b, std::uint32_t v)
{
    U16(b, v);
    U16(b, v >> 16);
}
void Text(Bytes& b, const char* t)
{
    b.insert(b.end(), t, t + std::strlen(t));
}

Bytes Chunk(const char* id, const Bytes& data)
{
    Bytes b;
    Text(b, id);
    U32(b, static_cast<std::uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() % 2 != 0)
        b.push_back(0);
    return b;
}

Bytes Numbered(std::uint32_t id, const Bytes& data, std::uint32_t size)
{
    Bytes b;
    U32(b, id);
    U32(b, size);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

Bytes Format(std::uint16_t tag, std::uint16_t channels, std::uint16_t align, std::uint16_t bits)
{
    Bytes b;
    U16(b, tag);
    U16(b, channels);
    U32(b, 8000);
    U32(b, 8000u * align);
    U16(b, align);
    U16(b, bits);
    return b;
}

Bytes Wave(const std::vector<Bytes>& chunks)
{
    Bytes body;
    Text(body, "WAVE");
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    return Chunk("RIFF", body);
}

bool Store(const std::string& path, const Bytes& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool Written(const std::string& path, std::uint64_t frames, const TWaveFormat& format, bool calibrated)
{
    TWaveFile file(frames, format, {});
    for (std::uint64_t f = 0; f < frames; ++f) {
        file.PutSample(static_cast<std::int32_t>(f * 1000 - 3000), f, 1);
        file.PutSample(static_cast<std::int32_t>(f * 77), f, 0);
    }
    if (calibrated)
        file.SetCalibration(DefaultChannelCalibration(0), DefaultChannelCalibration(1));
    file.SetFileName(path);
    return file.Save();
}

bool Streamed(const std::string& path)
{
    TWaveFile file(TWaveFormat(44100, 2, 4), false, {});
    const Bytes frames(8 * 5, 0x5A);
    file.WriteData(frames.data(), frames.size());
    file.SetCalibration(DefaultChannelCalibration(1), DefaultChannelCalibration(0));
    file.SetFileName(path);
    return file.Save();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    auto at = [&](const char* name) { return folder + "/" + name; };

    bool ok = Written(at("mono16.wav"), 10, TWaveFormat(8000, 1, 2), false)
           && Written(at("stereo24-calibrated.wav"), 7, TWaveFormat(48000, 2, 3), true)
           && Written(at("mono8-odd.wav"), 3, TWaveFormat(8000, 1, 1), false)
           && Streamed(at("stereo32-streamed.wav"));

    const Bytes fmt = Chunk("fmt ", Format(1, 1, 2, 16));
    const Bytes data = Chunk("data", {1, 0, 2, 0, 3, 0});

    Bytes older(1024);
    older[0] = 1;
    std::strcpy(reinterpret_cast<char*>(&older[424]), "Left name");
    ok = ok && Store(at("older-chunk.wav"), [&] {
        Bytes b = Wave({fmt, data});
        const Bytes c = Numbered(101, older, 1024);
        b.insert(b.end(), c.begin(), c.end());
        return b;
    }());

    Bytes sensitivity;
    Text(sensitivity, "MB63   sn 4711 mV/(m/s2):0100002000 end of record");
    ok = ok && Store(at("foreign-cal1.wav"), Wave({fmt, Chunk("CAL1", sensitivity), data}));

    Bytes extensible = Format(0xFFFE, 2, 6, 24);
    U16(extensible, 22);
    U16(extensible, 24);
    U32(extensible, 3);
    const Bytes pcm = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    extensible.insert(extensible.end(), pcm.begin(), pcm.end());
    ok = ok && Store(at("extensible24.wav"), Wave({Chunk("fmt ", extensible), Chunk("data", Bytes(12, 0x81))}));

    Bytes info;
    Text(info, "INFOINAM");
    U32(info, 3);
    Text(info, "abc");
    ok = ok && Store(at("list-and-odd.wav"), Wave({fmt, Chunk("LIST", info), Chunk("odd ", {7}), data}));

    ok = ok && Store(at("zero-size-calibration.wav"), [&] {
        Bytes b = Wave({fmt, data});
        const Bytes c = Numbered(102, Bytes(2048, 0), 0);
        b.insert(b.end(), c.begin(), c.end());
        return b;
    }());

    if (!ok)
        std::fprintf(stderr, "MakeWaveSeeds: could not write the seeds into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
