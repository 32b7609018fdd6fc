#pragma once
// The per-block moves of 3-byte samples (the program's own analysis width)
// between 32-bit values, packed codes and floats, eight samples at a time
// where the processor has AVX2. Each returns how many leading samples it
// did (0 without AVX2); the caller's plain loop does the rest, with the
// same result.

#include <cstddef>
#include <cstdint>

namespace sample_kernels {

// Stores sample_codes::WordOf<3>(values[i]) as 3 bytes at packed + 3i and
// returns the largest |code| of what was stored in peak (left as it is
// when nothing was done); when floats is given, floats[i] = the stored
// code as a float, in the same pass.
std::size_t PackCodes24(std::uint8_t* packed, const std::int32_t* values, std::size_t count, std::int64_t& peak,
                        float* floats = nullptr);

// out[i] = the 3-byte code at packed + 3i as a float.
std::size_t UnpackCodes24(const std::uint8_t* packed, float* out, std::size_t count);

// Two-channel frames of 3-byte codes (6 bytes a frame) split into left[i]
// and right[i] as sign-extended codes; a null array is left out.
std::size_t SplitFrames24(const std::uint8_t* frames, std::int32_t* left, std::int32_t* right, std::size_t count);

} // namespace sample_kernels
