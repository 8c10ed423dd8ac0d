#include "sitecheck/finding_sink.h"

#include "sitecheck/check_rules.h"
#include "sitecheck/check_text.h"

namespace trellan::sitecheck {

Finding* FindingSink::Add(const std::string& page, FindingKind kind, int line, std::string_view key,
                          std::string_view subject) {
  std::string slot_key = page;
  slot_key.push_back('\0');
  slot_key.push_back(static_cast<char>('A' + static_cast<int>(kind)));
  slot_key.append(key);
  auto [slot, inserted] = slots_.try_emplace(std::move(slot_key), Slot{kNotListed, line});
  if (!inserted) {
    if (slot->second.index != kNotListed) Merge(slot->second, line, subject);
    return nullptr;
  }
  const Severity severity = SeverityOf(kind);
  ++counts_[static_cast<std::size_t>(severity)];
  if (listed_[page] >= kMaxListedFindings) {
    ++omitted_[page];
    return nullptr;
  }
  ++listed_[page];
  slot->second.index = findings_.size();
  Finding& finding = findings_.emplace_back();
  finding.severity = severity;
  finding.kind = kind;
  finding.page = page;
  finding.line = line;
  finding.subject = Truncated(subject);
  finding.fix = FixText(kind);
  return &finding;
}

std::size_t FindingSink::Omitted(const std::string& page) const {
  const auto it = omitted_.find(page);
  return it == omitted_.end() ? 0 : it->second;
}

void FindingSink::Merge(Slot& slot, int line, std::string_view subject) {
  Finding& finding = findings_[slot.index];
  if (line != slot.last_line) {
    slot.last_line = line;
    ++finding.occurrences;
    if (finding.more_lines.size() < kMaxListedLines) finding.more_lines.push_back(line);
  }
  // The sample links of a page share one finding that names them all.
  if (finding.subject.find(subject) != std::string::npos || finding.subject.ends_with("…")) return;
  if (finding.subject.size() + 2 + subject.size() <= kMaxSubjectBytes)
    finding.subject += ", " + std::string(subject);
  else
    finding.subject += ", …";
}

}  // namespace trellan::sitecheck
