#include "sitecheck/site_check.h"

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "sitecheck/html_tokenizer.h"
#include "sitecheck/picture_size.h"
#include "sitecheck/site_url.h"
#include "sitecheck/text_codec.h"

// The German texts below are UTF-8 in this file and go into the report as
// they are.
static_assert(std::string_view("ü").size() == 2, "the source must be read as UTF-8");

namespace trellan::sitecheck {

namespace {

constexpr std::string_view kTitlePlaceholder = "Seitentitel eingeben";
constexpr std::string_view kAuthorPlaceholder = "Vorname Name";
constexpr std::string_view kKeywordsPlaceholder = "Schlüsselwörter für Suchmaschinen eingeben";
constexpr std::string_view kSampleEmail = "vorname.name@example.com";
constexpr std::string_view kSamplePassword = "GeHe1m24";
constexpr std::array<std::string_view, 3> kSampleLanguagePages = {"index-en.html", "index-fr.html",
                                                                  "index-es.html"};
constexpr std::array<std::string_view, 2> kFolderIndexNames = {"index.html", "index.htm"};
constexpr std::array<std::string_view, 8> kPictureExtensions = {"jpg",  "jpeg", "jfif", "png",
                                                                "gif",  "webp", "svg",  "bmp"};
// The formats the site's thumbnail script turns into "_w" web copies.
constexpr std::array<std::string_view, 4> kWebCopyExtensions = {"jpg", "jfif", "webp", "gif"};

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& list) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

std::string_view BaseName(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view FolderOf(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string ExtensionOf(std::string_view path) {
  const std::string_view name = BaseName(path);
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : AsciiLower(name.substr(dot + 1));
}

bool IsPagePath(std::string_view path) {
  const std::string extension = ExtensionOf(path);
  return extension == "html" || extension == "htm";
}

bool IsPicturePath(std::string_view path) { return IsOneOf(ExtensionOf(path), kPictureExtensions); }

bool IsSafeName(std::string_view name) {
  if (name.empty()) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '_' || c == '.';
  });
}

// Latin-1 letters U+00C0-U+00FF spelled in ASCII; "-" where there is none.
constexpr std::array<std::string_view, 64> kLatin1InAscii = {
    "A", "A", "A", "A", "Ae", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O",  "O", "Oe", "x", "O", "U", "U", "U", "Ue", "Y", "Th", "ss",
    "a", "a", "a", "a", "ae", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o",  "o", "oe", "-", "o", "u", "u", "u", "ue", "y", "th", "y"};

// A name of only safe characters for a name that has others: umlauts
// spelled out, everything else a single '-'.
std::string SafeNameFor(std::string_view name) {
  std::string spelled;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c == 0xC3 && i + 1 < name.size() && (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
      spelled += kLatin1InAscii[(static_cast<unsigned char>(name[i + 1]) & 0x3F)];
      ++i;
    } else if (IsSafeName(name.substr(i, 1))) {
      spelled.push_back(static_cast<char>(c));
    } else {
      spelled.push_back('-');
    }
  }
  std::string safe;
  for (const char c : spelled) {
    if (c == '-' && (safe.empty() || safe.back() == '-' || safe.back() == '.')) continue;
    if (c == '.' && !safe.empty() && safe.back() == '-') safe.pop_back();
    safe.push_back(c);
  }
  while (!safe.empty() && safe.back() == '-') safe.pop_back();
  if (safe.empty() || safe.find_first_not_of('.') == std::string::npos) safe = "datei";
  return safe;
}

// At most kMaxSubjectBytes, cut before a UTF-8 sequence, then "…".
std::string Truncated(std::string_view text) {
  if (text.size() <= kMaxSubjectBytes) return std::string(text);
  std::size_t cut = kMaxSubjectBytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return std::string(text.substr(0, cut)) + "…";
}

std::string Quoted(std::string_view text) { return "„" + Truncated(text) + "“"; }

// Runs of spaces and line breaks as one space, for texts shown in a line.
std::string OneLine(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
    if (space) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// "6,2 MB", or "47 KB" below a megabyte (rounded up, so never "0 KB").
// Integer arithmetic: formatting a double would bring a whole printf
// implementation into the program.
std::string SizeText(std::uint64_t bytes) {
  constexpr std::uint64_t kKilobyte = 1024;
  constexpr std::uint64_t kMegabyte = kKilobyte * kKilobyte;
  if (bytes < kMegabyte) return std::to_string((bytes + kKilobyte - 1) / kKilobyte) + " KB";
  const std::uint64_t tenths = bytes / kMegabyte * 10 + ((bytes % kMegabyte) * 10 + kMegabyte / 2) / kMegabyte;
  return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " MB";
}

bool EqualsIgnoringAsciiCase(std::string_view text, std::size_t at, std::string_view lower) {
  if (at > text.size() || text.size() - at < lower.size()) return false;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    char c = text[at + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    if (c != lower[i]) return false;
  }
  return true;
}

// Where the sample e-mail address starts in `text`, from each '@' so that
// the search stays linear; npos when it is not there.
std::vector<std::size_t> SampleEmailPositions(std::string_view text) {
  std::vector<std::size_t> positions;
  const std::size_t local = kSampleEmail.find('@');
  for (auto at = text.find('@'); at != std::string_view::npos; at = text.find('@', at + 1))
    if (at >= local && EqualsIgnoringAsciiCase(text, at - local, kSampleEmail))
      positions.push_back(at - local);
  return positions;
}

std::vector<std::size_t> SamplePasswordPositions(std::string_view text) {
  std::vector<std::size_t> positions;
  for (auto at = text.find(kSamplePassword); at != std::string_view::npos;
       at = text.find(kSamplePassword, at + 1))
    positions.push_back(at);
  return positions;
}

// Collects the findings, merging repeats on a page, keeping the counts and
// listing at most kMaxListedFindings per page.
class FindingSink {
 public:
  template <typename MakeFix>
  void Add(const std::string& page, FindingKind kind, int line, std::string_view key,
           std::string_view subject, MakeFix make_fix) {
    std::string slot_key = page;
    slot_key.push_back('\0');
    slot_key.push_back(static_cast<char>('A' + static_cast<int>(kind)));
    slot_key.append(key);
    auto [slot, inserted] = slots_.try_emplace(std::move(slot_key), Slot{kNotListed, line});
    if (!inserted) {
      if (slot->second.index != kNotListed) Merge(slot->second, line, subject);
      return;
    }
    switch (SeverityOf(kind)) {
      case Severity::kError: ++errors_; break;
      case Severity::kWarning: ++warnings_; break;
      case Severity::kHint: ++hints_; break;
    }
    if (listed_[page] >= kMaxListedFindings) {
      ++omitted_[page];
      return;
    }
    ++listed_[page];
    slot->second.index = findings_.size();
    Finding finding;
    finding.severity = SeverityOf(kind);
    finding.kind = kind;
    finding.page = page;
    finding.line = line;
    finding.subject = Truncated(subject);
    finding.fix = make_fix();
    findings_.push_back(std::move(finding));
  }

  std::vector<Finding> TakeFindings() { return std::move(findings_); }
  std::size_t Omitted(const std::string& page) const {
    const auto it = omitted_.find(page);
    return it == omitted_.end() ? 0 : it->second;
  }
  std::size_t errors() const { return errors_; }
  std::size_t warnings() const { return warnings_; }
  std::size_t hints() const { return hints_; }

 private:
  static constexpr std::size_t kNotListed = static_cast<std::size_t>(-1);
  struct Slot {
    std::size_t index;
    int last_line;
  };

  void Merge(Slot& slot, int line, std::string_view subject) {
    Finding& finding = findings_[slot.index];
    if (line != slot.last_line) {
      slot.last_line = line;
      ++finding.occurrences;
      if (finding.more_lines.size() < kMaxListedLines) finding.more_lines.push_back(line);
    }
    // The sample links of a page share one finding that names them all.
    if (finding.subject.find(subject) != std::string::npos || finding.subject.ends_with("…"))
      return;
    if (finding.subject.size() + 2 + subject.size() <= kMaxSubjectBytes)
      finding.subject += ", " + std::string(subject);
    else
      finding.subject += ", …";
  }

  std::unordered_map<std::string, Slot> slots_;
  std::unordered_map<std::string, std::size_t> listed_;
  std::unordered_map<std::string, std::size_t> omitted_;
  std::vector<Finding> findings_;
  std::size_t errors_ = 0;
  std::size_t warnings_ = 0;
  std::size_t hints_ = 0;
};

struct PendingFragment {
  std::size_t target_page;
  std::string fragment;
  int line;
  std::string subject;
};

struct PageState {
  std::size_t entry = 0;
  bool checked = false;
  int lines = 0;
  std::size_t external_links = 0;
  std::unordered_map<std::string, int> ids;  // id → line of its first element
  std::unordered_set<std::string> anchor_names;
  std::unordered_set<std::size_t> links;  // pages reached by its references
  std::vector<PendingFragment> fragments;
};

struct Lookup {
  std::size_t entry = 0;
  bool found = false;
  bool exact = false;
};

class Checker {
 public:
  explicit Checker(SiteFiles& site) : site_(site) {}

  CheckResult Run() {
    IndexEntries();
    CheckNames();
    CollectPages();
    const auto start = FindStartPage();
    for (std::size_t i = 0; i < pages_.size(); ++i) CheckPage(i);
    CheckFragments();
    if (start) CheckReachability(*start);
    return Result();
  }

 private:
  const std::string& PathOf(std::size_t page) const { return entries_[pages_[page].entry].path; }

  void IndexEntries() {
    for (auto& entry : site_.ListEntries()) {
      if (entry.path.empty() || IsBackupPath(entry.path) || exact_.contains(entry.path)) continue;
      if (entry.is_folder) entry.size = 0;
      exact_.emplace(entry.path, entries_.size());
      entries_.push_back(std::move(entry));
    }
    // In path order, so that "first" below and the site's findings do not
    // depend on the order of the listing.
    std::vector<std::size_t> order(entries_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return entries_[a].path < entries_[b].path; });
    for (const std::size_t i : order) {
      const SiteEntry& entry = entries_[i];
      folded_.try_emplace(FoldCase(entry.path), i);
      if (!entry.is_folder) by_name_.try_emplace(FoldCase(BaseName(entry.path)), i);
    }
    sorted_ = std::move(order);
  }

  void CheckNames() {
    for (const std::size_t i : sorted_) {
      const SiteEntry& entry = entries_[i];
      const std::string_view name = BaseName(entry.path);
      if (!IsSafeName(name)) {
        sink_.Add(kSite, FindingKind::kUnsafeName, 0, entry.path, entry.path, [&] {
          return "Benenne " + Quoted(name) + " in " + Quoted(SafeNameFor(name)) +
                 " um (nur Buchstaben a–z, Ziffern, - und _) und passe alle Verweise darauf an.";
        });
      }
      if (!entry.is_folder && FoldCase(name).starts_with(FoldCase(kSamplePassword) + ".")) {
        sink_.Add(kSite, FindingKind::kSamplePassword, 0, entry.path, entry.path, [] {
          return std::string(
              "Die geheime Seite heißt wie das Beispiel-Passwort, das jeder kennt: Wähle ein "
              "eigenes Passwort und benenne die Seite danach um.");
        });
      }
    }
  }

  void CollectPages() {
    for (const std::size_t i : sorted_) {
      // The report of an earlier check is a file of the site, but no page.
      if (!entries_[i].is_folder && IsPagePath(entries_[i].path) && !IsReportPath(entries_[i].path)) {
        page_of_entry_.emplace(i, pages_.size());
        pages_.push_back(PageState{});
        pages_.back().entry = i;
      }
    }
    // index.html (or .htm) of the site folder first, as a visitor sees it.
    std::stable_partition(pages_.begin(), pages_.end(), [&](const PageState& page) {
      return IsOneOf(FoldCase(entries_[page.entry].path), kFolderIndexNames);
    });
    for (std::size_t i = 0; i < pages_.size(); ++i) page_of_entry_[pages_[i].entry] = i;
  }

  std::optional<std::size_t> FindStartPage() {
    const Lookup index = FindFolderIndex("");
    if (!index.found || !page_of_entry_.contains(index.entry)) {
      sink_.Add(kSite, FindingKind::kMissingStartPage, 0, "", "index.html", [] {
        return std::string(
            "Lege die Startseite als „index.html“ direkt in den Website-Ordner – diese Seite "
            "öffnet der Webserver zuerst.");
      });
      return std::nullopt;
    }
    const std::string& path = entries_[index.entry].path;
    if (!index.exact) {
      sink_.Add(kSite, FindingKind::kCaseMismatch, 0, path, path, [&] {
        return "Benenne " + Quoted(path) +
               " in „index.html“ um – der Webserver sucht die Startseite genau unter diesem "
               "Namen.";
      });
    }
    return page_of_entry_.at(index.entry);
  }

  void CheckPage(std::size_t index) {
    PageState& page = pages_[index];
    const SiteEntry& entry = entries_[page.entry];
    if (entry.size > kMaxPageBytes) {
      NotChecked(index, SizeText(entry.size),
                 "Die Seite ist größer als 32 MB und wurde nicht geprüft: Lagere große Inhalte "
                 "wie eingebettete Bilder in eigene Dateien aus.");
      return;
    }
    const auto html = site_.ReadFile(entry.path, kMaxPageBytes);
    if (!html) {
      NotChecked(index, "nicht lesbar",
                 "Die Datei ließ sich nicht lesen: Schließe sie in anderen Programmen und prüfe "
                 "die Website noch einmal.");
      return;
    }
    const std::string_view probe = std::string_view(*html).substr(0, kTextProbeBytes);
    if (probe.find('\0') != std::string_view::npos) {
      NotChecked(index, "keine UTF-8-Textdatei",
                 "Die Datei ist keine HTML-Seite in UTF-8 (vielleicht eine umbenannte Datei oder "
                 "in UTF-16 gespeichert): Speichere sie im Editor als UTF-8 oder gib ihr die "
                 "passende Endung.");
      return;
    }
    page.checked = true;
    page.lines = CountLines(*html);
    ScanPage(index, *html);
  }

  void NotChecked(std::size_t page, const std::string& reason, const char* fix) {
    sink_.Add(PathOf(page), FindingKind::kPageNotChecked, 0, "", reason,
              [&] { return std::string(fix); });
  }

  void ScanPage(std::size_t page, std::string_view html) {
    HtmlTokenizer tokenizer(html);
    HtmlToken token;
    while (tokenizer.Next(token)) {
      if (token.kind == TokenKind::kStartTag) {
        CheckStartTag(page, token);
      } else if (token.kind == TokenKind::kText) {
        if (token.name == "title") CheckTitle(page, token);
        SearchSampleTexts(page, token.line, token.text, true);
      }
    }
  }

  void CheckTitle(std::size_t page, const HtmlToken& token) {
    const std::string title = OneLine(DecodeCharacterReferences(token.text, ReferenceContext::kText));
    if (title.find(kTitlePlaceholder) == std::string::npos) return;
    sink_.Add(PathOf(page), FindingKind::kPlaceholderTitle, token.line, "", title, [] {
      return std::string(
          "Ersetze „Seitentitel eingeben“ im <title> durch einen eigenen Titel – er steht im "
          "Browser-Tab und in den Treffern der Suchmaschinen.");
    });
  }

  // The sample e-mail address and password, in text (at their own line) or
  // in an attribute value (at the tag's line).
  void SearchSampleTexts(std::size_t page, int line, std::string_view text, bool in_text) {
    // Positions come in ascending order, so the lines are counted onwards.
    std::size_t counted_to = 0;
    int counted_line = line;
    const auto line_of = [&](std::size_t at) {
      if (!in_text) return line;
      if (at < counted_to) {  // the next text's positions start again
        counted_to = 0;
        counted_line = line;
      }
      counted_line += CountLineBreaks(text.substr(counted_to, at - counted_to));
      counted_to = at;
      return counted_line;
    };
    for (const std::size_t at : SampleEmailPositions(text)) {
      sink_.Add(PathOf(page), FindingKind::kSampleEmail, line_of(at), "", kSampleEmail, [] {
        return std::string(
            "Ersetze die Beispieladresse vorname.name@example.com durch deine eigene Adresse "
            "oder lösche sie.");
      });
    }
    for (const std::size_t at : SamplePasswordPositions(text)) {
      sink_.Add(PathOf(page), FindingKind::kSamplePassword, line_of(at), "", kSamplePassword, [] {
        return std::string(
            "Das Beispiel-Passwort GeHe1m24 kennt jeder: Wähle ein eigenes und nenne die geheime "
            "Seite danach.");
      });
    }
  }

  void CheckStartTag(std::size_t page, const HtmlToken& token) {
    const int line = token.line;
    if (const auto* id = token.Attribute("id"); id != nullptr && !id->empty()) {
      const auto [first, inserted] = pages_[page].ids.try_emplace(*id, line);
      const int first_line = first->second;
      if (!inserted) {
        sink_.Add(PathOf(page), FindingKind::kDuplicateId, line, *id, *id, [&] {
          return "Die id " + Quoted(*id) + " steht schon in Zeile " +
                 std::to_string(first_line) +
                 ": Gib jedem Element eine eigene id, sonst führt ein Link mit # immer zum ersten.";
        });
      }
    }
    if (token.name == "a") {
      if (const auto* name = token.Attribute("name"); name != nullptr && !name->empty())
        pages_[page].anchor_names.insert(*name);
    }
    if (token.name == "img" && token.Attribute("alt") == nullptr) {
      const auto* src = token.Attribute("src");
      const std::string subject = src != nullptr ? *src : std::string("<img>");
      sink_.Add(PathOf(page), FindingKind::kMissingAlt, line, subject, subject, [] {
        return std::string(
            "Ergänze alt=\"…\" mit einer kurzen Beschreibung des Bildes: Sie erscheint, wenn das "
            "Bild fehlt, und wird blinden Menschen vorgelesen.");
      });
    }
    if (token.name == "meta") CheckMeta(page, token);

    for (const auto& attribute : token.attributes) {
      const std::string& name = attribute.name;
      if ((name == "href" && token.name != "base") || name == "src" ||
          (name == "poster" && token.name == "video") || (name == "data" && token.name == "object")) {
        CheckReference(page, line, attribute.value);
      } else if (name == "srcset") {
        for (const auto url : SrcsetUrls(attribute.value)) CheckReference(page, line, url);
      }
      SearchSampleTexts(page, line, attribute.value, false);
    }
  }

  void CheckMeta(std::size_t page, const HtmlToken& token) {
    const auto* name = token.Attribute("name");
    const auto* content = token.Attribute("content");
    if (name == nullptr || content == nullptr) return;
    const std::string lower = AsciiLower(*name);
    if (lower == "author" && content->find(kAuthorPlaceholder) != std::string::npos) {
      sink_.Add(PathOf(page), FindingKind::kPlaceholderAuthor, token.line, "", *content, [] {
        return std::string("Ersetze „Vorname Name“ in <meta name=\"author\"> durch deinen Namen.");
      });
    }
    if (lower == "keywords" && content->find(kKeywordsPlaceholder) != std::string::npos) {
      sink_.Add(PathOf(page), FindingKind::kPlaceholderKeywords, token.line, "", *content, [] {
        return std::string(
            "Ersetze den Platzhalter in <meta name=\"keywords\"> durch ein paar Suchbegriffe zu "
            "deiner Seite, mit Kommas getrennt.");
      });
    }
  }

  void CheckReference(std::size_t page, int line, std::string_view value) {
    const Reference reference = ResolveReference(PathOf(page), value);
    switch (reference.kind) {
      case ReferenceKind::kIgnored: return;
      case ReferenceKind::kExternal: ++pages_[page].external_links; return;
      case ReferenceKind::kOutsideSite:
        sink_.Add(PathOf(page), FindingKind::kOutsideSite, line, value, value, [] {
          return std::string(
              "Kopiere die Datei in den Website-Ordner (etwa nach media/) und verweise relativ "
              "darauf, wie mit „media/bild.jpg“ – auf dem Webserver gibt es nur diesen Ordner.");
        });
        return;
      case ReferenceKind::kLocal: break;
    }
    if (reference.same_page) {
      if (reference.has_fragment) AddFragment(page, page, reference.fragment, line, value);
      return;
    }
    if (FoldCase(BaseName(reference.path)).starts_with("dummy.") ||
        (!Find(reference.path).found && IsOneOf(FoldCase(reference.path), kSampleLanguagePages))) {
      AddSampleLink(page, line, value);
      return;
    }
    CheckLocalTarget(page, line, value, reference);
  }

  void AddSampleLink(std::size_t page, int line, std::string_view value) {
    sink_.Add(PathOf(page), FindingKind::kSampleLink, line, "", value, [] {
      return std::string(
          "Das sind Beispiel-Links der Musterseite: Verweise auf deine eigenen Dateien (etwa "
          "„media/referat.pdf“) oder lösche die Links.");
    });
  }

  void CheckLocalTarget(std::size_t page, int line, std::string_view value,
                        const Reference& reference) {
    Lookup target = Find(reference.path);
    if (!target.found) {
      sink_.Add(PathOf(page), FindingKind::kMissingTarget, line, reference.path, value,
                [&] { return MissingTargetFix(reference.path); });
      return;
    }
    if (reference.path.empty() || entries_[target.entry].is_folder) {
      const std::string folder = reference.path;
      const Lookup index = FindFolderIndex(folder);
      if (!index.found) {
        sink_.Add(PathOf(page), FindingKind::kMissingTarget, line, folder + "/", value, [&] {
          return "Der Ordner " + Quoted(folder.empty() ? "." : folder) +
                 " hat keine index.html: Verweise auf eine Datei darin oder lege dort eine "
                 "index.html an.";
        });
        return;
      }
      target = Lookup{index.entry, true, target.exact && index.exact};
    } else if (reference.names_folder) {
      sink_.Add(PathOf(page), FindingKind::kMissingTarget, line, reference.path + "/", value, [] {
        return std::string(
            "Der Verweis endet mit / wie bei einem Ordner, zeigt aber auf eine Datei: Lass den / "
            "am Ende weg.");
      });
      return;
    }
    const std::string& actual = entries_[target.entry].path;
    if (!target.exact) {
      sink_.Add(PathOf(page), FindingKind::kCaseMismatch, line, reference.path, value, [&] {
        return "Schreibe den Namen im Verweis genau wie auf dem Datenträger: " + Quoted(actual) +
               " – der Webserver unterscheidet Groß- und Kleinbuchstaben.";
      });
    }
    if (const auto linked = page_of_entry_.find(target.entry); linked != page_of_entry_.end()) {
      pages_[page].links.insert(linked->second);
      if (reference.has_fragment)
        AddFragment(page, linked->second, reference.fragment, line, value);
    } else if (IsPicturePath(actual)) {
      CheckPicture(page, line, target.entry);
    }
  }

  std::string MissingTargetFix(const std::string& path) const {
    const auto same_name = by_name_.find(FoldCase(BaseName(path)));
    if (same_name != by_name_.end())
      return "Eine Datei dieses Namens liegt unter " + Quoted(entries_[same_name->second].path) +
             ": Passe den Pfad im Verweis an.";
    return "Korrigiere den Namen im Verweis oder lege die Datei " + Quoted(path) +
           " im Website-Ordner an.";
  }

  void AddFragment(std::size_t page, std::size_t target, const std::string& fragment, int line,
                   std::string_view value) {
    auto& fragments = pages_[page].fragments;
    if (fragments.size() < kMaxFragmentChecksPerPage)
      fragments.push_back({target, fragment, line, std::string(value)});
  }

  void CheckPicture(std::size_t page, int line, std::size_t entry_index) {
    const SiteEntry& entry = entries_[entry_index];
    auto cached = picture_sizes_.find(entry_index);
    if (cached == picture_sizes_.end()) {
      const ReadAt read = [&](std::uint64_t offset, std::size_t length) {
        return site_.ReadRange(entry.path, offset, length);
      };
      cached = picture_sizes_.emplace(entry_index, ReadPictureSize(read)).first;
    }
    const auto& size = cached->second;
    const bool heavy = entry.size > kLargePictureBytes;
    const bool wide = size && size->width > kLargePictureWidth;
    if (!heavy && !wide) return;
    std::string subject = entry.path + " (" + SizeText(entry.size);
    if (size) subject += ", " + std::to_string(size->width) + " × " + std::to_string(size->height) + " px";
    subject += ")";
    sink_.Add(PathOf(page), FindingKind::kLargePicture, line, entry.path, subject,
              [&] { return WebCopyFix(entry.path); });
  }

  // The thumbnail script makes "name_w.ext" beside each picture of the
  // formats it knows, writing every name in small letters.
  std::string WebCopyFix(const std::string& path) const {
    const std::string_view name = BaseName(path);
    const auto dot = name.rfind('.');
    const std::string_view stem = name.substr(0, dot);
    const std::string extension = ExtensionOf(path);
    if (extension == "svg")
      return std::string("Vereinfache die Grafik oder speichere sie als Bild in Webgröße (höchstens "
                         "1600 px breit).");
    if (stem.ends_with("_w") || stem.ends_with("_t"))
      return std::string("Verkleinere das Bild mit einem Bildprogramm auf höchstens 1600 px Breite.");
    const bool script_format = IsOneOf(extension, kWebCopyExtensions);
    std::string web_name = AsciiLower(stem);
    std::replace(web_name.begin(), web_name.end(), ' ', '-');
    web_name += "_w." + (script_format ? extension : std::string("jpg"));
    const std::string web_path = std::string(FolderOf(path)) + web_name;
    const Lookup existing = Find(web_path);
    if (existing.found && existing.exact)
      return "Verweise auf die kleinere Web-Kopie " + Quoted(web_path) + ", die schon da ist.";
    return std::string(script_format ? "" : "Speichere das Bild als JPEG, ") +
           (script_format ? "Starte" : "starte") +
           " _create-Thumbnails.cmd im Ordner des Bildes und verweise auf die Web-Kopie " +
           Quoted(web_path) + " (das Skript schreibt alle Dateinamen klein).";
  }

  void CheckFragments() {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      for (const auto& pending : pages_[i].fragments) {
        const PageState& target = pages_[pending.target_page];
        const std::string& fragment = pending.fragment;
        if (!target.checked || fragment.empty() || AsciiEqualIgnoringCase(fragment, "top") ||
            HasAnchor(target, fragment) || HasAnchor(target, PercentDecode(fragment)))
          continue;
        const std::string& target_path = PathOf(pending.target_page);
        sink_.Add(PathOf(i), FindingKind::kMissingFragment, pending.line,
                  target_path + "#" + fragment, pending.subject, [&] {
                    const std::string where =
                        pending.target_page == i ? "dieser Seite" : Quoted(target_path);
                    return "Auf " + where + " gibt es kein Element mit id=\"" + Truncated(fragment) +
                           "\": Ergänze diese id beim Ziel oder korrigiere den Teil nach dem #.";
                  });
      }
    }
  }

  static bool HasAnchor(const PageState& page, const std::string& name) {
    return page.ids.contains(name) || page.anchor_names.contains(name);
  }

  void CheckReachability(std::size_t start) {
    std::vector<bool> reached(pages_.size(), false);
    std::deque<std::size_t> queue{start};
    reached[start] = true;
    while (!queue.empty()) {
      const std::size_t page = queue.front();
      queue.pop_front();
      for (const std::size_t next : pages_[page].links) {
        if (!reached[next]) {
          reached[next] = true;
          queue.push_back(next);
        }
      }
    }
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      if (reached[i]) continue;
      sink_.Add(PathOf(i), FindingKind::kUnreachablePage, 0, "", PathOf(i), [] {
        return std::string(
            "Keine Kette von Links führt von index.html hierher: Verlinke die Seite im Menü oder "
            "auf einer anderen Seite – oder lösche sie, wenn du sie nicht mehr brauchst.");
      });
    }
  }

  // A path as written (decoded) against the listing: exactly, else in
  // another case. The empty path is the site folder.
  Lookup Find(const std::string& path) const {
    if (path.empty()) return Lookup{0, true, true};
    if (const auto it = exact_.find(path); it != exact_.end()) return Lookup{it->second, true, true};
    if (const auto it = folded_.find(FoldCase(path)); it != folded_.end())
      return Lookup{it->second, true, false};
    return Lookup{};
  }

  Lookup FindFolderIndex(const std::string& folder) const {
    const std::string prefix = folder.empty() ? std::string() : folder + "/";
    for (const auto name : kFolderIndexNames) {
      const Lookup index = Find(prefix + std::string(name));
      if (index.found && index.exact && !entries_[index.entry].is_folder) return index;
    }
    for (const auto name : kFolderIndexNames) {
      const Lookup index = Find(prefix + std::string(name));
      if (index.found && !entries_[index.entry].is_folder) return index;
    }
    return Lookup{};
  }

  CheckResult Result() {
    CheckResult result;
    std::unordered_map<std::string, std::size_t> rank;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      const PageState& state = pages_[i];
      PageResult page;
      page.path = PathOf(i);
      page.checked = state.checked;
      page.lines = state.lines;
      page.external_links = state.external_links;
      page.omitted_findings = sink_.Omitted(page.path);
      rank.emplace(page.path, i + 1);
      result.pages.push_back(std::move(page));
    }
    result.findings = sink_.TakeFindings();
    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [&](const Finding& a, const Finding& b) {
                       const std::size_t rank_a = a.page.empty() ? 0 : rank.at(a.page);
                       const std::size_t rank_b = b.page.empty() ? 0 : rank.at(b.page);
                       if (rank_a != rank_b) return rank_a < rank_b;
                       return a.line < b.line;
                     });
    result.omitted_site_findings = sink_.Omitted(kSite);
    result.errors = sink_.errors();
    result.warnings = sink_.warnings();
    result.hints = sink_.hints();
    for (const auto& entry : entries_) ++(entry.is_folder ? result.folders : result.files);
    return result;
  }

  inline static const std::string kSite;  // the page of the site's own findings

  SiteFiles& site_;
  std::vector<SiteEntry> entries_;
  std::vector<std::size_t> sorted_;  // entries_ indices in path order
  std::unordered_map<std::string, std::size_t> exact_;
  std::unordered_map<std::string, std::size_t> folded_;
  std::unordered_map<std::string, std::size_t> by_name_;  // folded file name → first file
  std::unordered_map<std::size_t, std::size_t> page_of_entry_;
  std::unordered_map<std::size_t, std::optional<PictureSize>> picture_sizes_;
  std::vector<PageState> pages_;
  FindingSink sink_;
};

}  // namespace

Severity SeverityOf(FindingKind kind) {
  switch (kind) {
    case FindingKind::kMissingTarget:
    case FindingKind::kCaseMismatch:
    case FindingKind::kMissingFragment:
    case FindingKind::kOutsideSite:
    case FindingKind::kMissingStartPage:
      return Severity::kError;
    case FindingKind::kUnsafeName:
    case FindingKind::kMissingAlt:
    case FindingKind::kDuplicateId:
    case FindingKind::kLargePicture:
    case FindingKind::kUnreachablePage:
    case FindingKind::kPageNotChecked:
      return Severity::kWarning;
    case FindingKind::kPlaceholderTitle:
    case FindingKind::kPlaceholderAuthor:
    case FindingKind::kPlaceholderKeywords:
    case FindingKind::kSampleLink:
    case FindingKind::kSampleEmail:
    case FindingKind::kSamplePassword:
      return Severity::kHint;
  }
  return Severity::kError;
}

bool IsReportPath(std::string_view path) {
  return AsciiEqualIgnoringCase(path, kReportFileName);
}

bool IsBackupPath(std::string_view path) {
  return AsciiEqualIgnoringCase(path.substr(0, path.find('/')), kBackupFolderName);
}

CheckResult CheckSite(SiteFiles& site) { return Checker(site).Run(); }

}  // namespace trellan::sitecheck
