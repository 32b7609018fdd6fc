#pragma once
// The arithmetic of a limit-scroll spinner: one step up or down of the
// number in its field, held within a minimum and a maximum, and the printf
// format it writes the number back with. Plain code, so that every spinner
// (plot options, overlays, the plot's tool strip) steps the same way.

#include <cstdint>
#include <string>
#include <string_view>

struct LimitStep {
    static constexpr std::uint32_t kAdd = 0;
    static constexpr std::uint32_t kMultiply = 1;
    // The field's text is read as a buffer of this size holds it.
    static constexpr std::size_t kTextBuffer = 20;

    float Maximum = 0.0f;
    float Minimum = 0.0f;
    float Step = 1.0f;
    std::uint32_t Mode = kAdd;
    int Decimals = 0;

    // Both limits, only when the maximum is above the minimum.
    void SetRange(float maximum, float minimum);
    // The mode always; a step of 0 would freeze the spinner (or, multiplying,
    // send every number to 0), so it keeps the old step.
    void SetStep(float step, std::uint32_t mode);
    void SetPrecision(int decimals) { Decimals = decimals; }

    float Up(float value) const;
    float Down(float value) const;
    // Read the field, step, write the field.
    std::string StepUpText(std::string_view text) const;
    std::string StepDownText(std::string_view text) const;
    std::string Format(float value) const;
    // "%1.<decimals>f" for 0 … 9 decimals, "%1.0f" below, "%1.1e" from 10.
    static std::string FormatFor(int decimals);
};
