#include "plot/PrintAnnotationFields.h"

#include "platform/NumberText.h"
#include "settings/FloatFieldBounds.h"
#include "settings/PrintOpts.h"
#include "settings/TextField.h"

#include <algorithm>
#include <cmath>
#include <string_view>

PrintAnnotationFields AnnotationFieldsFrom(const PrintOpts& options)
{
    PrintAnnotationFields fields;
    fields.Title1 = std::string(TextFieldView(options.Annotation1));
    fields.Title2 = std::string(TextFieldView(options.Annotation2));
    const float margins[4] = {options.MarginLeft, options.MarginRight, options.MarginTop, options.MarginBottom};
    for (std::size_t i = 0; i < 4; ++i)
        fields.Margins[i] = platform::FormatFixed(margins[i], 2);
    for (std::size_t k = 0; k < PrintOpts::kCommentCount; ++k) {
        if (k > 0)
            fields.Comments += '\n';
        fields.Comments += TextFieldView(options.Comment[k]);
    }
    fields.CommentBlock = options.EnableCommentBlock != 0;
    return fields;
}

namespace {

double MarginOf(const std::string& text)
{
    return platform::ParseFloatPrefix(std::string_view(text).substr(0, 79));
}

} // namespace

std::string CheckAnnotationMargins(const PrintAnnotationFields& fields)
{
    const char* names[4] = {"Left", "Right", "Top", "Bottom"};
    const FloatRange range = field_ranges::kMarginInches;
    for (std::size_t i = 0; i < 4; ++i) {
        if (!range.Contains(ToFloatField(MarginOf(fields.Margins[i]))))
            return std::string("The ") + names[i] + " margin must be a number from 0 to 20 inches.";
    }
    return {};
}

void ApplyAnnotationFields(const PrintAnnotationFields& fields, PrintOpts& options)
{
    SetTextField(options.Annotation1, fields.Title1);
    SetTextField(options.Annotation2, fields.Title2);
    float* margins[4] = {&options.MarginLeft, &options.MarginRight, &options.MarginTop, &options.MarginBottom};
    for (std::size_t i = 0; i < 4; ++i) {
        const double inches = MarginOf(fields.Margins[i]);
        const FloatRange range = field_ranges::kMarginInches;
        *margins[i] = std::isfinite(inches) && std::fabs(inches) < 1e6
                          ? std::clamp(static_cast<float>(inches), range.Low, range.High)
                          : 0.0f;
    }
    for (auto& comment : options.Comment)
        SetTextField(comment, {});
    std::string_view rest = fields.Comments;
    for (std::size_t k = 0; k < PrintOpts::kCommentCount && !rest.empty(); ++k) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        SetTextField(options.Comment[k], line);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    options.EnableCommentBlock = fields.CommentBlock ? 1 : 0;
}
