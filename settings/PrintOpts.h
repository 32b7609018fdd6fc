#pragma once
// What a printed plot page carries besides the plot: two centred title
// lines, the page margins and an optional block of ten comment lines.
// Lives here until the printing code that consumes it is built.

#include <cstddef>
#include <cstdint>

struct PrintOpts {
    static constexpr std::size_t kAnnotationSize = 80;
    static constexpr std::size_t kCommentCount = 10;
    static constexpr std::size_t kCommentSize = 256;

    char Annotation1[kAnnotationSize] = {};
    char Annotation2[kAnnotationSize] = {};
    // Inches.
    float MarginLeft = 1.0f;
    float MarginRight = 1.0f;
    float MarginTop = 1.0f;
    float MarginBottom = 1.0f;
    std::uint8_t EnableCommentBlock = 0;
    // Comment1 … Comment10.
    char Comment[kCommentCount][kCommentSize] = {};

    bool operator==(const PrintOpts&) const = default;
};
