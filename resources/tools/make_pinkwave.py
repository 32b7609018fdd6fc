#!/usr/bin/env python3
"""Makes the signal generator's pink-noise recording, resources/PINKWAVE.wav.

Run from anywhere with any Python 3 (standard library only); the result is
the same byte for byte on every platform, so the file can always be rebuilt
and checked against the shipped one:

    python3 resources/tools/make_pinkwave.py [output path]

Method
------
1. White noise: a SplitMix64 generator seeded with SEED below gives 53-bit
   uniform numbers, mapped to [-1, 1). SplitMix64 is fully specified by its
   three constants, so no library's random module is involved.
2. Pink filter: Paul Kellet's "refined" filter (six one-pole sections plus a
   direct path), designed for 44100 Hz. Its response follows -3 dB per
   octave within about 0.05 dB from 9.2 Hz to the Nyquist frequency.
3. One second of filter output is discarded so the slow sections settle.
4. The generator plays the samples from index 22 onwards (byte 88 of the
   file) as a loop of PATTERN samples. The loop's last CROSSFADE samples are
   blended, with equal-power (sine/cosine) weights, into the samples that
   precede index 22 in the same noise stream, so the last sample of the loop
   is followed by exactly the sample that naturally came after it: the loop
   has no click and no gap.
5. The mean is removed and the level set to an RMS of 15.1 dB below 32767
   over the loop; samples are rounded to the nearest integer.

Layout (what the generator expects)
-----------------------------------
A canonical 44-byte RIFF WAVE header (PCM, 1 channel, 44100 Hz, 16 bits),
a "data" chunk of 2644291 samples (5288582 bytes, 59.96 s), then 2024 zero
bytes after the chunk: 5290650 bytes in all. The padding lies outside the
RIFF form and is never played.
"""

import math
import struct
import sys
from array import array
from pathlib import Path

SEED = 0x54616C76656E6F72  # "Talvenor" in ASCII
RATE = 44100
DATA_SAMPLES = 2644291
PADDING_BYTES = 2024
SKIPPED = 22  # samples before byte 88
# The generator's loop: the samples from byte 88 to the end of the data
# chunk, less one when odd.
PATTERN = (DATA_SAMPLES - SKIPPED) & ~1
WARM_UP = RATE
CROSSFADE = RATE // 2
RMS_DB_BELOW_FULL_SCALE = 15.1
FULL_SCALE = 32767

MASK64 = (1 << 64) - 1


def splitmix64(state):
    """Yields uniform numbers in [-1, 1) from a SplitMix64 stream."""
    while True:
        state = (state + 0x9E3779B97F4A7C15) & MASK64
        z = state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & MASK64
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & MASK64
        z ^= z >> 31
        yield (z >> 11) * (2.0 / (1 << 53)) - 1.0


def pink_stream(count):
    """Kellet's refined pink filter over `count` white samples."""
    white = splitmix64(SEED)
    b0 = b1 = b2 = b3 = b4 = b5 = b6 = 0.0
    out = array("d")
    for _ in range(count):
        w = next(white)
        b0 = 0.99886 * b0 + w * 0.0555179
        b1 = 0.99332 * b1 + w * 0.0750759
        b2 = 0.96900 * b2 + w * 0.1538520
        b3 = 0.86650 * b3 + w * 0.3104856
        b4 = 0.55000 * b4 + w * 0.5329522
        b5 = -0.7616 * b5 - w * 0.0168980
        out.append(b0 + b1 + b2 + b3 + b4 + b5 + b6 + w * 0.5362)
        b6 = w * 0.115926
    return out


def make_samples():
    # s[WARM_UP + i] becomes data sample i.
    s = pink_stream(WARM_UP + DATA_SAMPLES)
    start = WARM_UP + SKIPPED
    end = start + PATTERN

    # The loop's tail fades into the stream that led up to its start: at the
    # last sample the weight of that stream is 1, so the sample played next
    # (the loop's first) continues it.
    for t in range(CROSSFADE):
        theta = 0.5 * math.pi * (t + 1) / CROSSFADE
        i = end - CROSSFADE + t
        s[i] = s[i] * math.cos(theta) + s[start - CROSSFADE + t] * math.sin(theta)

    data = s[WARM_UP:]
    loop = data[SKIPPED:SKIPPED + PATTERN]
    mean = math.fsum(loop) / len(loop)
    rms = math.sqrt(math.fsum((v - mean) ** 2 for v in loop) / len(loop))
    gain = FULL_SCALE * 10.0 ** (-RMS_DB_BELOW_FULL_SCALE / 20.0) / rms

    samples = array("h")
    for v in data:
        x = (v - mean) * gain
        q = math.floor(x + 0.5) if x >= 0 else -math.floor(-x + 0.5)
        if not -FULL_SCALE <= q <= FULL_SCALE:
            raise SystemExit("pink noise clipped; lower the level")
        samples.append(int(q))
    return samples


def wave_image(samples):
    data = samples.tobytes() if sys.byteorder == "little" else _swapped(samples)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(data))
    return header + data + bytes(PADDING_BYTES)


def _swapped(samples):
    copy = array("h", samples)
    copy.byteswap()
    return copy.tobytes()


def main():
    default = Path(__file__).resolve().parent.parent / "PINKWAVE.wav"
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    samples = make_samples()
    image = wave_image(samples)
    assert len(image) == 44 + 2 * DATA_SAMPLES + PADDING_BYTES == 5290650
    target.write_bytes(image)
    peak_low, peak_high = min(samples), max(samples)
    print(f"{target}: {len(image)} bytes, peaks {peak_low} and {peak_high}")


if __name__ == "__main__":
    main()
