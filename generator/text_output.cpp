#include "generator/text_output.h"

namespace trellan {

namespace {

// Whole lines at a time: a run renders up to twenty pages of templates.
void AppendLines(std::string& out, std::string_view text) {
  for (auto end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
    out.append(text.substr(0, end));
    out.append("\r\n", 2);
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

// The text between the {{name}}s gets CR LF line ends when `lf_text` says
// so; the values are inserted as they are.
void Fill(std::string& out, std::string_view text, std::initializer_list<TemplateValue> values,
          bool lf_text) {
  while (!text.empty()) {
    const auto open = text.find("{{");
    if (open == std::string_view::npos) break;
    const auto close = text.find("}}", open + 2);
    if (close == std::string_view::npos) break;
    if (lf_text) {
      AppendLines(out, text.substr(0, open));
    } else {
      out.append(text.substr(0, open));
    }
    const auto name = text.substr(open + 2, close - open - 2);
    if (const auto* value = FindValue(values, name))
      out += *value;
    else
      out += text.substr(open, close + 2 - open);
    text.remove_prefix(close + 2);
  }
  if (lf_text) {
    AppendLines(out, text);
  } else {
    out.append(text);
  }
}

}  // namespace

void AppendTemplate(std::string& out, std::string_view lf_text,
                    std::initializer_list<TemplateValue> values) {
  out.reserve(out.size() + lf_text.size() + lf_text.size() / 16);
  Fill(out, lf_text, values, true);
}

void AppendFilled(std::string& out, std::string_view crlf_text,
                  std::initializer_list<TemplateValue> values) {
  Fill(out, crlf_text, values, false);
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
