// libFuzzer target: any bytes, read as an overlay file (.ovl, .mic, .flt)
// as a plain table, as a stepped (fractional-octave) table and for its title
// alone, and with a new title.
//
// Every table that loads holds finite, ascending points and answers finite
// lookups; saved and read again it is read whole and gives the same points
// at the file's six decimals (frequencies exactly), the same title and the
// same interpolation. A table that fails
// still saves its title, which reads back the same.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "plot/overlay/TOverlayData.h"

namespace {

using fuzz::Check;

void CheckTable(const TOverlayData& table)
{
    Check(table.GetNumPoints() <= overlay_text::kMaxPoints);
    Check(std::strlen(table.GetTitle()) <= overlay_text::kTitleMax);
    // Only a table that loads says where its reading stopped.
    Check(table.GetStop().empty() == (table.GetStopLine() == 0));
    if (table.IsError()) {
        Check(table.GetNumPoints() == 0 && table.GetStopLine() == 0);
        return;
    }
    Check(table.GetNumPoints() >= overlay_text::kMinPoints);
    const float* p = table.GetPoints();
    for (std::uint32_t i = 0; i < table.GetNumPoints(); ++i) {
        Check(std::isfinite(p[2 * i]) && std::isfinite(p[2 * i + 1]));
        Check(p[2 * i] >= (i == 0 ? 0.0f : p[2 * i - 2]));
    }
    const float first = p[0];
    const float last = p[2 * (table.GetNumPoints() - 1)];
    for (float f : {first, last, 0.5f * (first + last), first + 0.25f * (last - first), 2.0f * last + 1.0f}) {
        Check(std::isfinite(table.GetValueAt(f)));
        Check(std::isfinite(table.GetBandValue(0.5f * f, f)));
    }
}

void RoundTrip(TOverlayData& table, std::uint16_t scale)
{
    const std::string path = fuzz::ScratchFile("saved.ovl");
    const std::string title = table.GetTitle();
    Check(table.Save(path.c_str(), title.c_str()));
    TOverlayData again(path.c_str(), scale, table.GetOffset(), false, false);
    Check(again.GetTitle() == title);
    Check(again.IsError() == table.IsError());
    Check(again.IsSplineOff() == table.IsSplineOff());
    Check(again.GetNumPoints() == table.GetNumPoints());
    Check(again.GetStopLine() == 0);
    const float* a = table.GetPoints();
    const float* b = again.GetPoints();
    // Frequencies come back exactly, values at the file's six decimals.
    for (std::uint32_t i = 0; i < table.GetNumPoints(); ++i) {
        Check(a[2 * i] == b[2 * i]);
        Check(fuzz::SameAtSixDecimals(a[2 * i + 1], b[2 * i + 1]));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::SilenceMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const auto titleOnly = TOverlayData::FromText(bytes, 0, 0.0f, true, false);
    Check(!titleOnly->IsError() && titleOnly->GetNumPoints() == 0);
    Check(std::strlen(titleOnly->GetTitle()) <= overlay_text::kTitleMax);

    // A new title changes the title and nothing else: the same rows read.
    const std::string retitled = overlay_text::WithTitle(bytes, "Fuzz");
    Check(overlay_text::ReadTitle(retitled) == "Fuzz");
    for (std::uint16_t scale : {std::uint16_t{0}, std::uint16_t{2}}) {
        const auto table = TOverlayData::FromText(bytes, scale, 1.5f, false, false);
        CheckTable(*table);
        const auto again = TOverlayData::FromText(retitled, scale, 1.5f, false, false);
        Check(again->IsError() == table->IsError() && again->GetNumPoints() == table->GetNumPoints());
        if (table->GetNumPoints() > 0)
            Check(std::memcmp(again->GetPoints(), table->GetPoints(),
                              2 * table->GetNumPoints() * sizeof(float)) == 0);
        RoundTrip(*table, scale);
    }
    return 0;
}
