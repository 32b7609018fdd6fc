#include "plot/overlay/TOverlayData.h"

#include "engine/SpectralData.h"
#include "platform/AtomicFile.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr std::uint16_t kOctaveScale = 2;
constexpr float kNoValue = -999.0f;

void ShowError(const char* text)
{
    platform::ShowMessageBox(text, platform::MessageIcon::Error);
}

} // namespace

TOverlayData::TOverlayData(const char* path, std::uint16_t freqScaleType, float offset, bool titleOnly,
                           bool splineOff)
    : m_bStepped(freqScaleType == kOctaveScale), m_Offset(offset), m_bSplineOff(splineOff)
{
    if (path == nullptr || *path == '\0')
        return;
    std::string bytes;
    overlay_text::FileFailure failure;
    const bool read = titleOnly ? overlay_text::ReadOverlayFileHead(path, bytes, &failure)
                                : overlay_text::ReadOverlayFileText(path, bytes, &failure);
    if (!read) {
        m_bError = true;
        m_Source = failure.Missing ? Source::Missing : Source::Unreadable;
        if (!failure.Missing)
            m_Problem = failure.Reason;
        // Saving a missing one writes the title alone: the legend of an
        // empty slot. What could not be read is never written over.
        m_bHasTable = !titleOnly && failure.Missing;
        return;
    }
    ReadText(bytes, titleOnly);
}

std::unique_ptr<TOverlayData> TOverlayData::FromText(std::string_view bytes, std::uint16_t freqScaleType,
                                                     float offset, bool titleOnly, bool splineOff)
{
    std::unique_ptr<TOverlayData> table(new TOverlayData());
    table->m_bStepped = freqScaleType == kOctaveScale;
    table->m_Offset = offset;
    table->m_bSplineOff = splineOff;
    table->ReadText(bytes, titleOnly);
    return table;
}

void TOverlayData::ReadText(std::string_view bytes, bool titleOnly)
{
    const bool more = overlay_text::HoldsMoreThanTitles(bytes);
    if (titleOnly) {
        SetTitle(overlay_text::ReadTitle(bytes));
        m_Source = more ? Source::Table : Source::TitlesOnly;
        return;
    }
    if (!m_Points.Allocate(2 * static_cast<std::size_t>(overlay_text::kMaxPoints))) {
        ShowError("TOverlayData - Insufficient memory to create table");
        m_bError = true;
        return;
    }
    m_bHasTable = true;
    std::string title;
    bool splineOff = m_bSplineOff;
    const overlay_text::ReadResult read =
        overlay_text::ReadPoints(bytes, m_bStepped, m_Points.data(), overlay_text::kMaxPoints, title, splineOff);
    SetTitle(title);
    m_bSplineOff = splineOff;
    if (read.State != overlay_text::Status::Ok) {
        m_bError = true;
        m_Points.Free();
        m_Source = more ? Source::Unreadable : Source::TitlesOnly;
        if (read.State == overlay_text::Status::NotAscending)
            m_Problem = overlay_text::kOrderingMessage;
        else if (more)
            m_Problem = "it holds no table of at least 3 rows of frequency and value";
        return;
    }
    m_Source = Source::Table;
    m_NumPoints = read.Count;
    SetStop(read);
    platform::ZeroFilledArray<float> exact;
    if (exact.Allocate(2 * static_cast<std::size_t>(m_NumPoints))) {
        std::memcpy(exact.data(), m_Points.data(), 2 * m_NumPoints * sizeof(float));
        m_Points = std::move(exact);
    }
    MakeSpline();
}

void TOverlayData::SetStop(const overlay_text::ReadResult& read)
{
    m_StopLine = read.StopLine;
    const std::string at = "reading stopped at line " + std::to_string(read.StopLine);
    switch (read.StopCause) {
    case overlay_text::Stop::None:
        m_StopLine = 0;
        return;
    case overlay_text::Stop::NotARow:
        m_Stop = at + ", which is not a row of frequency and value";
        return;
    case overlay_text::Stop::Full:
        m_Stop = at + ": the table is full at " + std::to_string(overlay_text::kMaxPoints) + " points";
        return;
    case overlay_text::Stop::OutOfOrder:
        m_Stop = at + ", whose frequency is below the one before";
        return;
    }
}

TOverlayData::TOverlayData(const SpectralData* data, float offset, bool hold) : m_Offset(offset)
{
    if (data == nullptr)
        return;
    m_bStepped = data->GetFreqScaleType() == kOctaveScale;
    FillFromSpectrum(*data, hold, "TOverlayData - insufficient memory to allocate internal table");
    if (!m_bError)
        MakeSpline();
}

TOverlayData::TOverlayData(const SpectralData* data, const Inputs& overlays, CompositeSetup setup)
{
    if (data == nullptr)
        return;
    m_bStepped = data->GetFreqScaleType() == kOctaveScale;
    FillFromSpectrum(*data, false, "TOverlayData - Insufficient memory to allocate internal table");
    if (m_bError)
        return;
    const auto valid = [&overlays](std::size_t i) { return overlays[i] != nullptr && !overlays[i]->IsError(); };

    if (setup.CompositeType == CompositeSetup::kAverage) {
        // An overlay that failed to load has no values to average: it counts
        // neither in the sum nor in the divisor.
        std::array<const TOverlayData*, kInputs> used{};
        std::size_t n = 0;
        for (std::size_t i = 0; i < kInputs; ++i)
            if (setup.IncludeInAverage[i] == 1 && valid(i))
                used[n++] = overlays[i];
        if (n < 2) {
            m_bError = true;
            return;
        }
        for (std::uint32_t p = 0; p < m_NumPoints; ++p) {
            double sum = 0.0;
            for (std::size_t k = 0; k < n; ++k)
                sum += std::pow(10.0, used[k]->GetValueAt(Frequency(p)) / 20.0);
            const double a = sum / static_cast<double>(n);
            m_Points[2 * p + 1] = a > 0.0 ? static_cast<float>(20.0 * std::log10(a)) : 0.0f;
        }
    } else if (setup.CompositeType == CompositeSetup::kDifference) {
        const std::size_t a = setup.DifferenceIndex1;
        const std::size_t b = setup.DifferenceIndex2;
        if (a >= kInputs || b >= kInputs || a == b || !valid(a) || !valid(b)) {
            m_bError = true;
            return;
        }
        for (std::uint32_t p = 0; p < m_NumPoints; ++p) {
            const float f = Frequency(p);
            const float d = overlays[a]->GetValueAt(f) - overlays[b]->GetValueAt(f);
            m_Points[2 * p + 1] = std::clamp(d, -kDifferenceLimit, kDifferenceLimit);
        }
    }
    MakeSpline();
}

TOverlayData::~TOverlayData() = default;

void TOverlayData::FillFromSpectrum(const SpectralData& data, bool hold, const char* memoryMessage)
{
    const std::uint32_t first = data.GetStartBin();
    const std::uint32_t last = data.GetEndBin();
    m_bHasTable = true;
    if (last < first)
        return;
    const std::uint32_t perBin = m_bStepped ? 3 : 1;
    const std::uint32_t count = (last - first + 1) * perBin;
    if (!m_Points.Allocate(2 * static_cast<std::size_t>(count))) {
        ShowError(memoryMessage);
        m_bError = true;
        m_bHasTable = false;
        return;
    }
    std::uint32_t p = 0;
    const auto put = [this, &p](float f, float v) {
        m_Points[2 * p] = f;
        m_Points[2 * p + 1] = v;
        ++p;
    };
    for (std::uint32_t bin = first; bin <= last; ++bin) {
        const float f = data.GetBinFrequency(bin);
        const float v = hold ? data.GetHoldValue(bin) : data.GetValue(bin);
        if (m_bStepped) {
            put(overlay_text::kStepBelow * f, v);
            put(f, v);
            put(overlay_text::kStepAbove * f, v);
        } else {
            put(f, v);
        }
    }
    m_NumPoints = count;
}

void TOverlayData::MakeSpline()
{
    if (m_NumPoints == 0)
        return;
    m_PSpline = std::make_unique<TCubicSpline>(m_Points.data(), m_NumPoints,
                                               m_bSplineOff ? TCubicSpline::kStraightLines : TCubicSpline::kCubic);
}

void TOverlayData::SetTitle(std::string_view title)
{
    // Copied first: the title may be this table's own.
    const std::string cut = overlay_text::TitleOfLine(";" + std::string(title));
    m_Title.fill('\0');
    std::memcpy(m_Title.data(), cut.data(), std::min(cut.size(), overlay_text::kTitleMax));
}

float TOverlayData::GetValueAt(float frequency) const
{
    if (m_bError || m_NumPoints == 0 || !m_PSpline)
        return 0.0f;
    // NaN reads as the first value rather than reaching the spline.
    if (!(frequency > Frequency(0)))
        return Value(0) + m_Offset;
    if (frequency >= Frequency(m_NumPoints - 1))
        return Value(m_NumPoints - 1) + m_Offset;
    return m_PSpline->Evaluate(frequency) + m_Offset;
}

float TOverlayData::GetBandValue(float low, float high) const
{
    if (m_bError || m_NumPoints == 0 || !m_PSpline)
        return 0.0f;
    const float first = Frequency(0);
    const float last = Frequency(m_NumPoints - 1);
    if (!(low > first) || !(high > first))
        return Value(0) + m_Offset;
    if (low >= last || high >= last)
        return Value(m_NumPoints - 1) + m_Offset;

    if (m_ScanIndex < 0 || m_ScanIndex >= static_cast<std::int64_t>(m_NumPoints))
        m_ScanIndex = 0;
    bool counted = false;
    float result = kNoValue;
    for (auto i = static_cast<std::uint32_t>(m_ScanIndex); i < m_NumPoints; ++i) {
        const float f = Frequency(i);
        if (f > high)
            break;
        if (f > low && f < high) {
            if (!counted)
                m_ScanIndex = static_cast<std::int64_t>(i) - 1;
            counted = true;
            result = std::max(result, Value(i));
        }
    }
    if (counted)
        return result + m_Offset;
    m_ScanIndex = 0;
    return GetValueAt(high);
}

bool TOverlayData::Save(const char* path, const char* title)
{
    if (!m_bHasTable || path == nullptr)
        return false;
    SetTitle(title != nullptr ? title : "");
    std::string text = overlay_text::FormatHeader(GetTitle(), m_bSplineOff);
    if (m_bStepped) {
        // One row per band: its centre, the middle of the three points.
        for (std::uint32_t i = 1; i < m_NumPoints; i += 3)
            overlay_text::AppendRow(text, Frequency(i), Value(i));
    } else {
        for (std::uint32_t i = 0; i < m_NumPoints; ++i)
            overlay_text::AppendRow(text, Frequency(i), Value(i));
    }
    return platform::WriteFileAtomically(path, text);
}
