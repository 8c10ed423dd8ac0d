#include "sitecheck/check_rules.h"

#include <algorithm>

#include "sitecheck/check_text.h"
#include "sitecheck/html_tokenizer.h"

namespace trellan::sitecheck {

namespace {

constexpr auto kSeverities = std::to_array<SeverityRow>({
    {Severity::Error, "Fehler", "Fehler", "fehler", "geht auf dem Webserver nicht."},
    {Severity::Warning, "Warnung", "Warnungen", "warnung", "sollte verbessert werden."},
    {Severity::Hint, "Hinweis", "Hinweise", "hinweis",
     "ein Platzhalter der Musterseite steht noch da."},
});

// In the order of FindingKind.
constexpr auto kFindingKinds = std::to_array<FindingKindRow>({
    {FindingKind::MissingTarget, Severity::Error, "Ziel fehlt",
     "Korrigiere den Namen im Verweis oder lege die Datei „{path}“ im Website-Ordner an."},
    {FindingKind::CaseMismatch, Severity::Error,
     "Groß-/Kleinschreibung weicht ab: geht unter Windows, aber nicht auf dem Webserver",
     "Schreibe den Namen im Verweis genau wie auf dem Datenträger: „{path}“ – der Webserver "
     "unterscheidet Groß- und Kleinbuchstaben."},
    {FindingKind::MissingFragment, Severity::Error, "Sprungziel nach # fehlt",
     "Auf „{page}“ gibt es kein Element mit id=\"{id}\": Ergänze diese id beim Ziel oder "
     "korrigiere den Teil nach dem #."},
    {FindingKind::OutsideSite, Severity::Error, "Verweis führt aus dem Website-Ordner hinaus",
     "Kopiere die Datei in den Website-Ordner (etwa nach media/) und verweise relativ darauf, wie "
     "mit „media/bild.jpg“ – auf dem Webserver gibt es nur diesen Ordner."},
    {FindingKind::MissingStartPage, Severity::Error, "Startseite index.html fehlt",
     "Lege die Startseite als „index.html“ direkt in den Website-Ordner – diese Seite öffnet der "
     "Webserver zuerst."},
    {FindingKind::UnsafeName, Severity::Warning,
     "Name mit Leerzeichen, Umlauten oder Sonderzeichen",
     "Benenne „{name}“ in „{safe}“ um (nur Buchstaben a–z, Ziffern, - und _) und passe alle "
     "Verweise darauf an."},
    {FindingKind::MissingAlt, Severity::Warning, "Bild ohne alt-Text",
     "Ergänze alt=\"…\" mit einer kurzen Beschreibung des Bildes: Sie erscheint, wenn das Bild "
     "fehlt, und wird blinden Menschen vorgelesen."},
    {FindingKind::DuplicateId, Severity::Warning, "id doppelt vergeben",
     "Die id „{id}“ steht schon in Zeile {line}: Gib jedem Element eine eigene id, sonst führt "
     "ein Link mit # immer zum ersten."},
    {FindingKind::LargePicture, Severity::Warning, "Bild zu groß für das Web",
     "Starte _create-Thumbnails.cmd im Ordner des Bildes und verweise auf die Web-Kopie "
     "„{copy}“ (das Skript schreibt alle Dateinamen klein)."},
    {FindingKind::UnreachablePage, Severity::Warning, "Seite von index.html aus nicht erreichbar",
     "Keine Kette von Links führt von index.html hierher: Verlinke die Seite im Menü oder auf "
     "einer anderen Seite – oder lösche sie, wenn du sie nicht mehr brauchst."},
    {FindingKind::PageNotChecked, Severity::Warning, "Datei nicht geprüft",
     "Die Datei ist keine HTML-Seite in UTF-8 (vielleicht eine umbenannte Datei oder in UTF-16 "
     "gespeichert): Speichere sie im Editor als UTF-8 oder gib ihr die passende Endung."},
    {FindingKind::UndeclaredEncoding, Severity::Warning, "Codierung nicht angegeben",
     "Die Seite ist nicht in UTF-8 gespeichert und nennt ihre Codierung nicht, darum wurde sie "
     "als Windows-1252 gelesen: Speichere sie im Editor als UTF-8 und schreibe "
     "<meta charset=\"utf-8\"> in den <head>."},
    {FindingKind::PartNotChecked, Severity::Warning, "Nicht alles geprüft",
     "<base href> zeigt aus dem Website-Ordner hinaus oder ins Internet, darum wurden die "
     "relativen Verweise dieser Seite nicht geprüft: Lösche <base>, wenn die Dateien im "
     "Website-Ordner liegen."},
    {FindingKind::PlaceholderTitle, Severity::Hint, "Platzhalter im Seitentitel",
     "Ersetze „Seitentitel eingeben“ im <title> durch einen eigenen Titel – er steht im "
     "Browser-Tab und in den Treffern der Suchmaschinen."},
    {FindingKind::PlaceholderAuthor, Severity::Hint, "Platzhalter beim Autor",
     "Ersetze „Vorname Name“ in <meta name=\"author\"> durch deinen Namen."},
    {FindingKind::PlaceholderKeywords, Severity::Hint, "Platzhalter bei den Suchbegriffen",
     "Ersetze den Platzhalter in <meta name=\"keywords\"> durch ein paar Suchbegriffe zu deiner "
     "Seite, mit Kommas getrennt."},
    {FindingKind::SampleLink, Severity::Hint, "Beispiel-Links der Musterseite",
     "Das sind Beispiel-Links der Musterseite: Verweise auf deine eigenen Dateien (etwa "
     "„media/referat.pdf“) oder lösche die Links."},
    {FindingKind::SampleEmail, Severity::Hint, "Beispiel-E-Mail-Adresse",
     "Ersetze die Beispieladresse vorname.name@example.com durch deine eigene Adresse oder "
     "lösche sie."},
    {FindingKind::SamplePassword, Severity::Hint, "Beispiel-Passwort",
     "Das Beispiel-Passwort GeHe1m24 kennt jeder: Wähle ein eigenes und nenne die geheime Seite "
     "danach."},
});

struct OtherFixRow {
  OtherFix fix;
  std::string_view sentence;
};

// In the order of OtherFix.
constexpr auto kOtherFixes = std::to_array<OtherFixRow>({
    // MissingTarget
    {OtherFix::FileElsewhere,
     "Eine Datei dieses Namens liegt unter „{path}“: Passe den Pfad im Verweis an."},
    {OtherFix::FolderWithoutIndex,
     "Der Ordner „{folder}“ hat keine index.html: Verweise auf eine Datei darin oder lege dort "
     "eine index.html an."},
    {OtherFix::SlashAfterFile,
     "Der Verweis endet mit / wie bei einem Ordner, zeigt aber auf eine Datei: Lass den / am "
     "Ende weg."},
    // CaseMismatch
    {OtherFix::StartPageCase,
     "Benenne „{path}“ in „index.html“ um – der Webserver sucht die Startseite genau unter "
     "diesem Namen."},
    // MissingFragment
    {OtherFix::FragmentOnThisPage,
     "Auf dieser Seite gibt es kein Element mit id=\"{id}\": Ergänze diese id beim Ziel oder "
     "korrigiere den Teil nach dem #."},
    // LargePicture
    {OtherFix::ConvertToJpeg,
     "Speichere das Bild als JPEG, starte _create-Thumbnails.cmd im Ordner des Bildes und "
     "verweise auf die Web-Kopie „{copy}“ (das Skript schreibt alle Dateinamen klein)."},
    {OtherFix::UseWebCopy, "Verweise auf die kleinere Web-Kopie „{copy}“, die schon da ist."},
    {OtherFix::ShrinkWebCopy,
     "Verkleinere das Bild mit einem Bildprogramm auf höchstens 1600 px Breite."},
    {OtherFix::SimplifyGraphic,
     "Vereinfache die Grafik oder speichere sie als Bild in Webgröße (höchstens 1600 px breit)."},
    // PageNotChecked
    {OtherFix::PageTooLarge,
     "Die Datei ist größer als 32 MB und wurde nicht geprüft: Lagere große Inhalte wie "
     "eingebettete Bilder in eigene Dateien aus."},
    {OtherFix::PageUnreadable,
     "Die Datei ließ sich nicht lesen: Schließe sie in anderen Programmen und prüfe die Website "
     "noch einmal."},
    // PartNotChecked
    {OtherFix::OtherEncoding,
     "Die Seite ist als „{encoding}“ gespeichert, darum wurden ihre Verweise mit Umlauten oder "
     "Sonderzeichen nicht geprüft: Speichere sie im Editor als UTF-8 und schreibe "
     "<meta charset=\"utf-8\"> in den <head>."},
    {OtherFix::FragmentLimit,
     "Auf dieser Seite wurden nur die ersten 10000 Verweise mit # auf ihr Sprungziel geprüft: "
     "Teile die Seite auf, wenn sie so viele braucht."},
    {OtherFix::AttributeLimit,
     "Das Element hat mehr als 256 Attribute, die weiteren wurden nicht geprüft: Lösche, was es "
     "nicht braucht."},
    // SamplePassword
    {OtherFix::PasswordPageName,
     "Die geheime Seite heißt wie das Beispiel-Passwort, das jeder kennt: Wähle ein eigenes "
     "Passwort und benenne die Seite danach um."},
});

struct ReferenceAttribute {
  std::string_view element;  // empty: on any element
  std::string_view attribute;
  ReferenceForm form;
};

// The first row that matches a tag's attribute decides.
constexpr auto kReferenceAttributes = std::to_array<ReferenceAttribute>({
    // It sets where relative references start: the pages stage reads it
    // before the scan.
    {"base", "href", ReferenceForm::NotFollowed},
    {"", "href", ReferenceForm::Url},
    {"", "src", ReferenceForm::Url},
    {"", "srcset", ReferenceForm::Srcset},
    {"video", "poster", ReferenceForm::Url},
    {"object", "data", ReferenceForm::Url},
    // Where a form sends its entries: a missing page there fails on submit.
    {"form", "action", ReferenceForm::Url},
    {"", "formaction", ReferenceForm::Url},
    // SVG's <use> and <image> in the older form.
    {"", "xlink:href", ReferenceForm::Url},
    {"", "style", ReferenceForm::Css},
});

constexpr auto kPlaceholderMetas = std::to_array<PlaceholderMeta>({
    {"author", "Vorname Name", FindingKind::PlaceholderAuthor},
    {"keywords", "Schlüsselwörter für Suchmaschinen eingeben", FindingKind::PlaceholderKeywords},
});

// Each table has a row for every value of its enum, in the enum's order.
template <typename Table>
constexpr bool InEnumOrder(const Table& table, auto key) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (static_cast<std::size_t>(key(table[i])) != i) return false;
  return true;
}
static_assert(InEnumOrder(kSeverities, [](const SeverityRow& row) { return row.severity; }));
static_assert(kSeverities.size() == kSeverityCount);
static_assert(InEnumOrder(kFindingKinds, [](const FindingKindRow& row) { return row.kind; }));
static_assert(InEnumOrder(kOtherFixes, [](const OtherFixRow& row) { return row.fix; }));
// The limits as the sentences name them.
static_assert(kMaxFragmentChecksPerPage == 10000 && HtmlTokenizer::kMaxAttributes == 256);

// The sentence with each "{name}" that `values` names replaced by its
// value, cut to kMaxSubjectBytes; values are not searched again.
std::string FillIn(std::string_view sentence, std::initializer_list<FixValue> values) {
  std::string out;
  std::size_t done = 0;
  for (auto open = sentence.find('{'); open != std::string_view::npos;
       open = sentence.find('{', open + 1)) {
    const auto close = sentence.find('}', open);
    if (close == std::string_view::npos) break;
    const std::string_view name = sentence.substr(open + 1, close - open - 1);
    const auto value = std::find_if(values.begin(), values.end(),
                                    [&](const FixValue& entry) { return entry.first == name; });
    if (value == values.end()) continue;
    out.append(sentence.substr(done, open - done));
    out += Truncated(value->second);
    done = close + 1;
  }
  out.append(sentence.substr(done));
  return out;
}

}  // namespace

std::span<const SeverityRow> Severities() { return kSeverities; }

const SeverityRow& RowOf(Severity severity) {
  return kSeverities[static_cast<std::size_t>(severity)];
}

const FindingKindRow& RowOf(FindingKind kind) {
  return kFindingKinds[static_cast<std::size_t>(kind)];
}

Severity SeverityOf(FindingKind kind) { return RowOf(kind).severity; }

std::string FixText(FindingKind kind, std::initializer_list<FixValue> values) {
  return FillIn(RowOf(kind).fix, values);
}

std::string FixText(OtherFix fix, std::initializer_list<FixValue> values) {
  return FillIn(kOtherFixes[static_cast<std::size_t>(fix)].sentence, values);
}

ReferenceForm ReferenceFormOf(std::string_view element, std::string_view attribute) {
  for (const auto& row : kReferenceAttributes)
    if (row.attribute == attribute && (row.element.empty() || row.element == element))
      return row.form;
  return ReferenceForm::NotFollowed;
}

std::span<const PlaceholderMeta> PlaceholderMetas() { return kPlaceholderMetas; }

}  // namespace trellan::sitecheck
