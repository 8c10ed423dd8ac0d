#include "generator/text_output.h"

namespace trellan {

namespace {

// Whole lines at a time: a run renders up to twenty pages of templates.
void AppendLines(std::string& out, std::string_view text) {
  for (auto end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
    out.append(text.substr(0, end));
    out += "\r\n";
    text.remove_prefix(end + 1);
  }
  out.append(text);
}

const std::string_view* FindValue(std::initializer_list<TemplateValue> values,
                                  std::string_view name) {
  for (const auto& value : values)
    if (value.first == name) return &value.second;
  return nullptr;
}

}  // namespace

void AppendTemplate(std::string& out, std::string_view lf_text,
                    std::initializer_list<TemplateValue> values) {
  out.reserve(out.size() + lf_text.size() + lf_text.size() / 16);
  while (!lf_text.empty()) {
    const auto open = lf_text.find("{{");
    if (open == std::string_view::npos) break;
    const auto close = lf_text.find("}}", open + 2);
    if (close == std::string_view::npos) break;
    AppendLines(out, lf_text.substr(0, open));
    const auto name = lf_text.substr(open + 2, close - open - 2);
    if (const auto* value = FindValue(values, name))
      out += *value;
    else
      out += lf_text.substr(open, close + 2 - open);
    lf_text.remove_prefix(close + 2);
  }
  AppendLines(out, lf_text);
}

std::string WithCrLf(std::string_view lf_text) {
  std::string out;
  AppendTemplate(out, lf_text);
  return out;
}

std::string WithCrLfLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace trellan
