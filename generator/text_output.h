#pragma once
// Text building shared by every generated text file. Templates are stored
// with LF line ends; the generated files end every line with CR LF.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace trellan {

// One {{name}} of a template and the text that replaces it.
using TemplateValue = std::pair<std::string_view, std::string_view>;

// Appends a template to `out`: every LF becomes CR LF, and every {{name}}
// listed in `values` is replaced by its value, byte for byte. Values are
// inserted once and never scanned again, so a form value that happens to
// contain "{{title}}" stays literal. A {{name}} without a value is kept.
void AppendTemplate(std::string& out, std::string_view lf_text,
                    std::initializer_list<TemplateValue> values = {});

// The same for a template whose line ends are CR LF already (WithCrLf):
// only the {{name}}s are replaced. The pages' templates are converted once
// and filled for every page.
void AppendFilled(std::string& out, std::string_view crlf_text,
                  std::initializer_list<TemplateValue> values = {});

// A template with LF line ends as the bytes of a generated file.
std::string WithCrLf(std::string_view lf_text);

// A text of the user's with every line end (CR LF, a lone CR or LF) as
// CR LF, so that it cannot break a file's line ends.
std::string WithCrLfLineEnds(std::string_view text);

}  // namespace trellan
