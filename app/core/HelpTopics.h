#pragma once
// The help pages by context id: every Help button and Help command names a
// number, and each number has one page of its own.

#include <span>

struct HelpTopic {
    int contextId;
    // The page's file name in the help folder.
    const char* file;
    const char* title;
};

namespace help_topics {

// The contents page, shown for "Contents..." and for an unknown id.
inline constexpr const char* kContentsFile = "index.html";
inline constexpr const char* kContentsTitle = "Contents";
inline constexpr int kGettingStarted = 880;

std::span<const HelpTopic> All();
// Null for an id without a page.
const HelpTopic* Find(int contextId);
// The page's file, the contents page for an unknown id.
const char* FileFor(int contextId);

} // namespace help_topics
