#pragma once
// The annotation dialog's fields as text and back: the titles, the four
// margins in inches ("%3.2f"), the comment lines one per line of a text box,
// and the comment-block check box.

#include <array>
#include <string>

struct PrintOpts;

struct PrintAnnotationFields {
    std::string Title1;
    std::string Title2;
    // Left, right, top, bottom.
    std::array<std::string, 4> Margins;
    // Lines separated by '\n'.
    std::string Comments;
    bool CommentBlock = false;
};

PrintAnnotationFields AnnotationFieldsFrom(const PrintOpts& options);
// Titles and comments cut to their fields; the first ten comment lines are
// kept; a margin that is no number, or not a finite one, reads as 0.
void ApplyAnnotationFields(const PrintAnnotationFields& fields, PrintOpts& options);
