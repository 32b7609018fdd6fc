// libFuzzer target: any bytes, read as a microphone-compensation file.
//
// A table that loads holds at least three finite, ascending points with
// levels inside the reader's limit, and its curve reads finite anywhere; written back in the overlay text format
// (the one format of .mic files) and read again, it gives the same
// frequencies, the same levels at six decimals and the same interpolation.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/CompensationFile.h"
#include "engine/TCubicSpline.h"
#include "fuzz/FuzzSupport.h"
#include "plot/overlay/OverlayText.h"

using fuzz::Check;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::SilenceMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input = fuzz::ScratchFile("input.mic");
    fuzz::WriteBytes(input, std::string_view(reinterpret_cast<const char*>(data), size));

    CompensationFile file;
    if (!file.Read(input.c_str())) {
        Check(file.Count() == 0 && !file.Message().empty());
        return 0;
    }
    Check(file.Count() >= 3 && file.Count() <= CompensationFile::kMaxPoints);
    const float* p = file.Points();
    for (std::uint32_t i = 0; i < file.Count(); ++i) {
        Check(std::isfinite(p[2 * i]) && p[2 * i] >= (i == 0 ? 0.0f : p[2 * i - 2]));
        Check(std::fabs(p[2 * i + 1]) <= CompensationFile::kLevelLimitDb);
    }

    const TCubicSpline curve(p, file.Count(), file.Linear() ? TCubicSpline::kStraightLines : TCubicSpline::kCubic);
    const float last = p[2 * (file.Count() - 1)];
    for (float f : {p[0], 0.5f * p[0] + 0.5f * last, 0.001f * last, 0.1f * last, last})
        Check(std::isfinite(curve.Evaluate(f)));

    std::string text = overlay_text::FormatHeader("saved", file.Linear());
    for (std::uint32_t i = 0; i < file.Count(); ++i)
        overlay_text::AppendRow(text, p[2 * i], p[2 * i + 1]);
    const std::string output = fuzz::ScratchFile("saved.mic");
    fuzz::WriteBytes(output, text);

    CompensationFile again;
    Check(again.Read(output.c_str()));
    Check(again.Linear() == file.Linear());
    Check(again.Count() == file.Count());
    for (std::uint32_t i = 0; i < file.Count(); ++i) {
        Check(p[2 * i] == again.Points()[2 * i]);
        Check(fuzz::SameAtSixDecimals(p[2 * i + 1], again.Points()[2 * i + 1]));
    }
    return 0;
}
