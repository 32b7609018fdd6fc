#include "plot/SpectrumExport.h"

#include "platform/NumberText.h"

#include "engine/SpectralData.h"

#include <algorithm>
#include <cstring>

namespace spectrum_export {
namespace {

void AppendRows(std::string& text, const ExportRows& rows, bool fromHold, int frequencyDecimals)
{
    if (rows.Trace1 == nullptr || rows.Last < rows.First)
        return;
    const auto value = [fromHold](const SpectralData& data, std::uint32_t bin) {
        return fromHold ? data.GetHoldValue(bin) : data.GetValue(bin, false);
    };
    for (std::uint32_t bin = rows.First; bin <= rows.Last; ++bin) {
        text += platform::FormatFixed(rows.Trace1->GetBinFrequency(bin), frequencyDecimals);
        text += '\t';
        text += platform::FormatFixed(value(*rows.Trace1, bin), 6);
        if (rows.Trace2 != nullptr) {
            text += '\t';
            text += platform::FormatFixed(value(*rows.Trace2, bin), 6);
        }
        text += "\r\n";
        if (bin == UINT32_MAX)
            break;
    }
}

} // namespace

std::string ClipboardText(const ExportRows& rows, bool fromHold)
{
    std::string text;
    if (rows.Trace1 == nullptr)
        return text;
    text += ";Freq(Hz)\t";
    text += rows.Trace1->GetUnitLabel(false);
    text += ": ";
    text += rows.Trace1->GetName();
    text += "\r\n";
    AppendRows(text, rows, fromHold, 4);
    return text;
}

std::string FileText(const ExportRows& rows, int channel)
{
    std::string text;
    if (rows.Trace1 == nullptr)
        return text;
    text += ";Channel: ";
    text += platform::FormatInteger(channel);
    text += ' ';
    text += rows.Trace1->GetName();
    text += "\r\n;Freq(Hz)\t";
    text += rows.Trace1->GetUnitLabel(false);
    text += "\r\n";
    AppendRows(text, rows, false, 6);
    return text;
}

std::array<char, kLinkBlockSize> LinkBlock()
{
    std::array<char, kLinkBlockSize> block{};
    constexpr char kLink[] = "Tonvex;Data;Spectrum;;";
    std::memcpy(block.data(), kLink, sizeof(kLink) - 1);
    std::replace(block.begin(), block.end(), ';', '\0');
    return block;
}

} // namespace spectrum_export
