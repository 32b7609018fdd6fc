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
// The message naming the first margin that is not a number from 0 to 20
// inches (what the settings file keeps); empty when every margin is.
std::string CheckAnnotationMargins(const PrintAnnotationFields& fields);
// Titles and comments cut to their fields; the first ten comment lines are
// kept; a margin that is no number, or not a finite one, reads as 0, and
// one beyond the margins' range as its nearest end.
void ApplyAnnotationFields(const PrintAnnotationFields& fields, PrintOpts& options);
