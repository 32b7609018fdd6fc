#include "plot/PrintAnnotationFields.h"

#include "platform/NumberText.h"
#include "settings/PrintOpts.h"
#include "settings/TextField.h"

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

void ApplyAnnotationFields(const PrintAnnotationFields& fields, PrintOpts& options)
{
    SetTextField(options.Annotation1, fields.Title1);
    SetTextField(options.Annotation2, fields.Title2);
    float* margins[4] = {&options.MarginLeft, &options.MarginRight, &options.MarginTop, &options.MarginBottom};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string_view text = std::string_view(fields.Margins[i]).substr(0, 79);
        const double inches = platform::ParseFloatPrefix(text);
        *margins[i] = std::isfinite(inches) && std::fabs(inches) < 1e6 ? static_cast<float>(inches) : 0.0f;
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
