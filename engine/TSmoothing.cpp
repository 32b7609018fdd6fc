#include "engine/TSmoothing.h"
#include "engine/LineKernels.h"

#include "platform/MessageBox.h"

#include <cmath>

using namespace smoothing;

namespace {

// The constants the settings' calibration figures were measured with; they
// are deliberately not the exact values of pi.
constexpr double kPiCoarse = 3.1415927;
constexpr double kPiKaiser = 3.1415926535;
constexpr double kFlattopPhi = 6.283185308;

float Pow10(double exponent)
{
    return static_cast<float>(std::pow(10.0, exponent));
}

// Zero-order modified Bessel function by its power series.
double BesselI0(double x)
{
    const double y = (x / 2) * (x / 2);
    if (y == 0)
        return 1;
    double sum = 1;
    double term = 1;
    // Written so that a NaN or infinite argument ends the loop too.
    for (double k = 1;; ++k) {
        term = term * (y / k) / k;
        sum += term;
        if (!(term / sum > 1e-6))
            break;
    }
    return sum;
}

// x runs from -1 at the first tap to +1 at the last.
double Position(std::uint32_t i, std::uint32_t n)
{
    return 2.0 * i / (n - 1) - 1.0;
}

double FlattopValue(std::uint32_t i, std::uint32_t n)
{
    constexpr double a0 = 0.9994484, a1 = 0.955728, a2 = 0.539289, a3 = 0.091581;
    const double p = kFlattopPhi * i / n;
    return a0 + 2 * (a1 * std::cos(p) + a2 * std::cos(2 * p) + a3 * std::cos(3 * p));
}

void FillFlattop(float* w, std::uint32_t n)
{
    const std::uint32_t h = n / 2;
    for (std::uint32_t i = 0; i < h; ++i) {
        const float v = static_cast<float>(FlattopValue(i, n));
        w[h + i] = v;
        w[h - i] = v;
    }
    // With an odd length the loop stops one short of the last element.
    if (n % 2 != 0)
        w[n - 1] = static_cast<float>(FlattopValue(h, n));
    w[0] = w[1];
}

void FillKaiser(float* w, std::uint32_t n, double alpha)
{
    const double h = n / 2;
    // Dividing in double keeps large alphas from overflowing a float before
    // the table is normalised to a centre of 1.
    const double centre = BesselI0(alpha * kPiKaiser);
    for (std::uint32_t i = 0; i < n; ++i) {
        const double r = (i - h) / h;
        w[i] = static_cast<float>(BesselI0(alpha * kPiKaiser * std::sqrt(1 - r * r)) / centre);
    }
}

void FillGaussian(float* w, std::uint32_t n)
{
    const std::uint32_t h = n / 2;
    for (std::uint32_t i = 0; i < h; ++i) {
        const float t = static_cast<float>(static_cast<double>((std::uint64_t{h} - i) * 5) / h);
        const float v = static_cast<float>(std::exp(-0.5 * double{t} * t));
        w[i] = v;
        w[n - 1 - i] = v;
    }
    if (n % 2 != 0)
        w[h] = 1.0f; // t = 0; the mirrored loop never reaches the middle
}

double Coefficient(std::uint16_t type, std::uint32_t i, std::uint32_t n)
{
    const double x = Position(i, n);
    switch (type) {
    case Bartlett:
        return 1 - std::fabs(x);
    case Blackman: {
        const double theta = 8 * std::atan(1.0) / (n - 1);
        return 0.42 - 0.5 * std::cos(theta * i) + 0.08 * std::cos(2 * theta * i);
    }
    case Hamming:
        return 0.54 + 0.46 * std::cos(kPiCoarse * x);
    case Hanning:
        return 0.5 + 0.5 * std::cos(kPiCoarse * x);
    case Parzen: {
        const double a = std::fabs(x);
        return a >= 0.5 ? 2 * std::pow(1 - a, 3) : 1 - 6 * x * x + 6 * a * a * a;
    }
    case Triangular:
        return i < (n - 1) / 2 ? i * 2.0 / (n - 1) : 2 - i * 2.0 / (n - 1);
    case Exponential:
        return std::exp(-10.0 * i / (n - 1));
    case Force:
        return i < n / 2 ? 1 : 0;
    default:
        return 0;
    }
}

struct Factors {
    float amplitude;
    float energy;
};

Factors FixedFactors(std::uint16_t type)
{
    switch (type) {
    case Bartlett: return {2.0f, Pow10(0.24)};
    case Blackman: return {2.3809524f, Pow10(0.2585)};
    case Flattop: return {1.0f, Pow10(-0.2675)};
    case Hamming: return {1.8518518f, Pow10(0.2005)};
    case Hanning: return {2.0f, Pow10(0.213)};
    case Kaiser: return {Pow10(0.505), Pow10(0.248)};
    case Triangular: return {2.0f, Pow10(0.239)};
    case Gaussian: return {Pow10(0.6), Pow10(0.375)};
    case Force: return {Pow10(0.3), Pow10(0.15)};
    default: return {1.0f, 1.0f};
    }
}

// Parzen's factors come from its own table: reciprocal mean and reciprocal
// root-mean-square, as the fixed constants are for the other shapes.
Factors MeasuredFactors(const float* w, std::uint32_t n)
{
    double sum = 0, sumSquares = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        sum += w[i];
        sumSquares += double{w[i]} * w[i];
    }
    // Too short to have a shape (all zeros): leave the table as it is.
    if (!(sum > 0))
        return {1.0f, 1.0f};
    return {static_cast<float>(n / sum), static_cast<float>(1 / std::sqrt(sumSquares / n))};
}

} // namespace

TSmoothing::TSmoothing(std::uint32_t length, std::uint16_t windowType, std::uint16_t scalingMode)
    : N(length), Type(windowType), Scaling(scalingMode)
{
    if (!ValidType()) {
        platform::ShowMessageBox("TSmoothing: Invalid Window Type", platform::MessageIcon::Error);
        ErrorFlag = 1;
    }
    Build();
}

void TSmoothing::SetParameter(float alpha)
{
    Alpha = alpha;
    Build();
}

void TSmoothing::Build()
{
    Table.Free();
    if (N == 0)
        return; // nothing to allocate, nothing to apply
    if (!Table.Allocate(N)) {
        platform::ShowMessageBox("TSmoothing error - insufficient memory available",
                                 platform::MessageIcon::Error);
        ErrorFlag = 1;
        return;
    }
    Fill();
    Scale();
}

void TSmoothing::Fill()
{
    if (!ValidType() || Type == Uniform)
        return;
    float* w = Table.data();
    if (N == 1) {
        w[0] = 1.0f; // a single tap passes unchanged; the formulas divide by N - 1
        return;
    }
    switch (Type) {
    case Flattop:
        FillFlattop(w, N);
        break;
    case Kaiser:
        FillKaiser(w, N, Alpha);
        break;
    case Gaussian:
        FillGaussian(w, N);
        break;
    default:
        for (std::uint32_t i = 0; i < N; ++i)
            w[i] = static_cast<float>(Coefficient(Type, i, N));
        break;
    }
}

void TSmoothing::Scale()
{
    if (!ValidType() || Type == Uniform || Table.empty())
        return;
    if (Scaling != Energy && Scaling != Amplitude)
        return;
    const Factors factors = Type == Parzen ? MeasuredFactors(Table.data(), N) : FixedFactors(Type);
    const double factor = Scaling == Amplitude ? factors.amplitude : factors.energy;
    for (std::uint32_t i = 0; i < N; ++i)
        Table[i] = static_cast<float>(Table[i] * factor);
}

double TSmoothing::NoiseBandwidthLines() const
{
    double sum = 0, sumSquares = 0;
    for (std::size_t i = 0; i < Table.size(); ++i) {
        sum += Table[i];
        sumSquares += double{Table[i]} * Table[i];
    }
    if (!(sum * sum > 0))
        return 1.0;
    return double(Table.size()) * sumSquares / (sum * sum);
}

void TSmoothing::ApplyWindow(float* block) const
{
    // An invalid type holds a table of zeros; applying it would silence the block.
    if (block == nullptr || Table.empty() || !ValidType() || Type == Uniform)
        return;
    line_kernels::ScaleInPlace(block, Table.data(), N);
}
