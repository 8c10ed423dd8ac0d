// The sample content below each page heading, as RenderPage writes it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

// GCC 12 reports uninitialised members inside <regex> itself.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "generator/menu_items.h"
#include "generator/page_writer.h"

namespace trellan {
namespace {

using ::testing::HasSubstr;

constexpr std::string_view kToday = "2026-12-08";

SiteText Site(int count) {
  SiteText site{"Seitentitel eingeben", "Vorname Name", "Schule, Projekt", {}};
  if (count == 5) {
    site.items = SplitMenuItems("Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum");
  } else {
    for (int i = 1; i <= count; ++i)
      site.items.push_back(i == 1 ? "Start" : "Seite " + std::to_string(i));
  }
  return site;
}

std::vector<std::string> Pages(int count) {
  const SiteText site = Site(count);
  std::vector<std::string> pages;
  for (int i = 1; i <= count; ++i) pages.push_back(RenderPage(site, i, kToday));
  return pages;
}

// Everything after the page heading's line.
std::string_view AfterHeading(std::string_view page) {
  const std::size_t heading = page.find("\r\n<h1>");
  if (heading == std::string_view::npos) return {};
  return page.substr(page.find("\r\n", heading + 2) + 2);
}

std::vector<std::string> SplitCrLf(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    if (end == std::string_view::npos) {
      lines.emplace_back(std::string(text) + "<no CR LF at the end>");
      break;
    }
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  return lines;
}

// One expected line: literal text, or a pattern where the text is our own
// choice (outside addresses, names, example values).
struct Line {
  std::string text;
  bool pattern = false;
};
using Lines = std::vector<Line>;

Line L(std::string text) { return {std::move(text), false}; }
Line P(std::string pattern) { return {std::move(pattern), true}; }

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

::testing::AssertionResult MatchLines(const std::vector<std::string>& actual,
                                      const Lines& expected) {
  const std::size_t n = std::min(actual.size(), expected.size());
  for (std::size_t i = 0; i < n; ++i) {
    const Line& e = expected[i];
    const bool ok =
        e.pattern ? std::regex_match(actual[i], std::regex(e.text)) : actual[i] == e.text;
    if (!ok || actual[i].find_first_of("\r\n") != std::string::npos)
      return ::testing::AssertionFailure() << "line " << i + 1 << "\n  actual:   [" << actual[i]
                                           << "]\n  expected: [" << e.text << "]";
  }
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure()
           << actual.size() << " lines, expected " << expected.size() << "; first unmatched: ["
           << (n < actual.size() ? actual[n] : expected[n].text) << "]";
  return ::testing::AssertionSuccess();
}

const Lines kBottom = {L(""), L(""),        L("</main>    <!--    MAIN Seiteninhalt Ende  -->"),
                       L(""), L("</body>"), L("</html>")};

Lines Intro(int page) {
  const std::string start = "<p>Hier kommt der Inhalt der Seite <span class=\"f_rot\">" +
                            std::to_string(page) + "</span>";
  if (page == 1) return {L(start + " (<strong>index.html</strong>):</p>")};
  return {L(start + ":</p>"), L("")};
}

const Lines kWelcome = {
    L("<p>Wir begrüßen unsere Gäste und stellen das Thema unserer Seite vor.</p>"), L("")};

Lines SearchEngines() {
  const auto link = [](std::string query, std::string title, std::string name, std::string sep) {
    return P(R"~(<a href="https://[^" ]+)~" + query + R"~(" target="_blank" title=")~" + title +
             "\">" + name + "</a>" + sep);
  };
  return {L("<p>Links: Beliebte Suchmaschinen sind "),
          link(R"~(\?q=&l=de&t=all&s=0)~", "Qwant, der sichere Franzose", "Qwant", ", "),
          link("", "Google, der Klassiker", "Google", ", "),
          link("", "Microsoft's Suchmaschine", "Bing", ", "),
          link("", "Yandex, der Russe", "Yandex", " und "),
          link("", "Swisscows, die Schweizer!", "Swisscows", R"~(\.)~"),
          L("</p>"),
          L("")};
}

Lines ImageDemos() {
  Lines lines = {L("<h4>Bild ohne Zoom-Funktion</h4>"),
                 L("<figure>"),
                 L(R"~(  <img class="bild")~"),
                 L(R"~(    src="media/matterhorn.jpg")~"),
                 L(R"~(    title="Matterhorn - ohne Zoom")~"),
                 L(R"~(    alt="Matterhorn">)~"),
                 L("    <figcaption>Ds Horu (Matterhorn)</figcaption>"),
                 L("</figure>"),
                 L(""),
                 L("<h4>Bilder-Galerie mit Zoom-Funktion</h4>")};
  for (int k = 1; k <= 8; ++k) {
    lines.push_back(L("<figure>"));
    lines.push_back(L(R"~(  <img class="bild zoom")~"));
    if (k % 2 == 1) {
      lines.push_back(L(R"~(    src="media/avatar.svg")~"));
      lines.push_back(L(R"~(    alt="Allgemeiner Avatar")~"));
      lines.push_back(L(R"~(    title="Das ist der Bildtitel!">)~"));
      lines.push_back(L("    <figcaption>Bildlegende " + std::to_string(k) + "</figcaption>"));
    } else {
      lines.push_back(L(R"~(    src="media/matterhorn.jpg")~"));
      lines.push_back(L(R"~(    alt="Matterhorn - Klicke auf das Bild!">)~"));
      lines.push_back(L("    <figcaption>Ds Horu (Matterhorn)</figcaption>"));
    }
    lines.push_back(L("</figure>"));
    lines.push_back(L(""));
  }
  const auto area = [](std::string alt, std::string title, std::string coords) {
    return P(R"~(    <area alt=")~" + alt + R"~(" title=")~" + title +
             R"~(" onmouseout="zeigKarte\(this\)" onmouseover="zeigLegende\(this\)" shape="poly" )~"
             R"~(coords=")~" +
             coords + R"~(" href="https://[^" ]+" target="_blank" tabindex="0">)~");
  };
  return lines +
         Lines{
             L(R"~(<br style="clear:left">  <!-- Zeilenumbruch nach Bildergalerie -->)~"), L(""),
             L(""), L("<h4>Bild mit MAP-AREA (Links in Polygon, Kreis usw.)</h4>"),
             L("<figure class=map>"),
             // The first school house is the top-right polygon of the map, the
             // second the top-left one.
             L(R"~(  <img src="media/karte.png" tabindex="0" alt="Karte" )~"
               R"~(onmouseover="zeigLegende(this)" usemap="#map" title="Wo ist&#10;das )~"
               R"~(Schulhaus Rüti,&#10;das Schulhaus Oberdorf,&#10;das Schloss?" >)~"),
             L(R"~(  <map name="map">)~"),
             area("Schloss", "Schloss Brimsdorf",
                  "173,291,212,252,243,264,282,256,318,282,250,351,234,353"),
             area("Rüti", "Rüti-Schulhaus, Brimsdorf", "360,79,483,168,567,83,472,0,411,0,383,37"),
             area("Oberdorf", "Oberdorf-Schulhaus, Brimsdorf", "2,60,46,98,98,55,47,14"),
             L("  </map>"),
             L(R"~(<figcaption id="legende">Gemeinde Brimsdorf (Ausschnitt)</figcaption>)~"),
             L("</figure>"), L(""), L(""),
             L(R"~(<br style="clear:left">  <!-- Zeilenumbruch MAP -->)~"), L(""), L("")};
}

const char* const kLanguages[] = {"de", "fr", "it", "rm", "es", "en", "pt", "tr"};

Lines ColumnText() {
  Lines lines = {L("<h4>Spalten-Satz H4</h4>"), L(R"~(<div class="spalten silben serif">)~")};
  for (const char* lang : kLanguages) {
    lines.push_back(
        P(std::string(R"~(  <p lang=")~") + lang + R"~("><strong>[^<>]+</strong><br>)~"));
    lines.push_back(P("  [^ <].* "));
    lines.push_back(P("  [^ <].* "));
    lines.push_back(P("  [^ <].*[^ ]</p>"));
    lines.push_back(L(""));
  }
  return lines + Lines{L("</div>"), L("")};
}

Lines MediaDemos() {
  return {
      L(R"~(<h4>Audio einbinden (HTML5 / Streaming: <span class="f_rot">NRJ Bern</span>)</h4>)~"),
      L(R"~(<div id="audiocont">)~"), L(R"~(  <audio controls="controls" preload="metadata">)~"),
      P(R"~(    <source id="mp3" src="https://[^" ]+">)~"), L("    HTML5-Browser erfoderlich."),
      L("  </audio>"), L("</div>"), L(""), L("<!--  Weitere Streams, ggf anpassen -->"),
      P("<!--  SRF3 = https://[^ ]+ -->"), P("<!--  SRF4 = https://[^ ]+ -->"), L(""), L("<br>"),
      L(""), L("<h4>Video einbinden (HTML5)</h4>"), L(R"~(<div id="videocont">)~"),
      L(R"~(  <video id="bgvideo" controls="controls" loop="loop" preload>)~"),
      L(R"~(    <source id="mp4" src="media/candle.mp4" type="video/mp4">)~"),
      L(R"~(    HTML5-Browser erfoderlich. Video <a href="media/candle.mp4">herunterladen</a>.)~"),
      L("  </video>"), L("</div>"), L(""), L("<h5>&rarr; Wichtig:</h5>"),
      L("&bull; Dateigröße beachten<br>"), L("&bull; Copyright beachten"), L(""), L("<br><br>"),
      L(""), L("<h4>Ein YouTube-Video&hellip;</h4>"),
      L(R"~(<iframe width="300" height="224" title="YouTube Video")~"),
      P(R"~(  src="https://www\.youtube(-nocookie)?\.com/embed/[A-Za-z0-9_-]{11}")~"),
      L("  allowfullscreen>"), L("</iframe>"), L(""),
      L("<h5>&rarr; Wichtig (geht nicht mit kopiergeschützen Inhalten):</h5>"),
      L("Einbettungscode vervollständigen:"),
      P(R"~(<pre>src="//(www\.youtube\.com)/&hellip; "</pre> korrigieren nach )~"
        R"~(<pre>src="<b>https:</b>//\1/&hellip; "</pre>)~"),
      L(""), L("<hr>"), L("<h3>Eine &laquo;geheime Seite&raquo; (einfachster Passwortschutz)</h3>"),
      L(R"~(<form name="pwd" )~"
        R"~(action="javascript:location.href=window.document.pwd.page.value+'.html'">Geheime )~"
        R"~(Seite &ouml;ffnen:)~"),
      L(R"~(<input type="password" name="page" placeholder="Passwort eingeben">)~"), L("</form>"),
      // Eight characters, upper and lower case letters and digits mixed.
      P(R"~(<i>Hinweis</i>: Passwort &#x2259; <u>zielseite</u>\.html \(z\.B\. )~"
        R"~(<u>(?=[a-z0-9]*[A-Z])(?=[A-Z0-9]*[a-z])(?=[A-Za-z]*[0-9]))~"
        R"~([A-Za-z0-9]{8}</u>\.html\)<hr>)~")};
}

Lines MarkupDemos() {
  return {
      L("<h2>Titelschrift H2</h2>"),
      L("<ol>"),
      L(" <li>Ge<u>o</u>rdnete Liste <b>&lt;ol&gt;</b>, Element 1 <b>&lt;li&gt;</b></li>"),
      L(" <li>Element 2</li>"),
      L(" <li>Element 3&hellip;</li>"),
      L("</ol>"),
      L("<ul>"),
      L(" <li><u>U</u>ngeordnete Liste <b>&lt;ul&gt;</b>, Element 1 <b>&lt;li&gt;</b></li>"),
      L(" <li>Element 2</li>"),
      L(" <li>Element 3&hellip;</li>"),
      L("</ul>"),
      P(R"~(Hier ist ein Link: <a href="https://www\.qwant\.com/[^" ]*" target="_blank" )~"
        R"~(title="Qwant-Suche">Qwant &#x1F50D;</a><br>)~"),
      P(R"~(<pre>&lt;a href="https://www\.qwant\.com/[^" ]*" target="_blank" )~"
        R"~(title="Qwant-Suche"&gt;Qwant &amp;#x1F50D;&lt;/a&gt;</pre>)~"),
      L("<h3>Titelschrift H3</h3>"),
      L(""),
      L("<form>Klicke auf den Knopf für eine "),
      L(R"~(  <input title="Wichtig!" type="button" onclick="Alert('Rassismus ist dumm )~"
        R"~(und\nschadet allen Menschen!')")~"),
      L(R"~(    value="Nachricht" accesskey="N">)~"),
      L("  als JavaScript-Alert."),
      L("</form><br>"),
      L("<h3>Unicode-Dingbats</h3>"),
      L("<p><span class=symbGross>&#x2615;&#xfe0f;</span> = &amp;#x2615;&amp;#xfe0f; (forced "
        "Emoji)</p>"),
      L("<p><span class=symbGross>&#x2615;&#xfe0e;</span> = &amp;#x2615;&amp;#xfe0e; (forced "
        "non-Emoji)</p><br>"),
      L(""),
      L("<h3>Mathematik in CSS</h3>"),
      L(""),
      L(R"~(<div class="mathe">)~"),
      L("  <p>"),
      L(R"~(    5<span class="bruch"><sup>13</sup><span>&frasl;</span><sub>65</sub></span> +)~"),
      L(R"~(    2<span class="bruch"><sup>24</sup><span>&frasl;</span><sub>40</sub></span> =)~"),
      L(R"~(    7<span class="bruch"><sup>4</sup><span>&frasl;</span><sub>5</sub></span>)~"),
      L("  </p>"),
      L(""),
      L(R"~(  <p>&radic;<span class="ovl">2</span> = )~"
        R"~(1.414&thinsp;213&thinsp;562&thinsp;373&thinsp;095</p>)~"),
      L(""),
      L(R"~(  <p>&#x221B;<span class="ovl">27</span> = 3</p>)~"),
      L(""),
      L(R"~(  <p>A<sub>&#x25b3;</sub> = <span class="bruch"><sup>g &middot; )~"
        R"~(h</sup><span>&frasl;</span><sub>2</sub></span></p>)~"),
      L("  <p>A<sub>&#x25cb;</sub> = r<sup>2</sup>&pi;</p>"),
      L("  <p>(a &ndash; b)<sup>2</sup> = a<sup>2</sup> &ndash; 2ab + b<sup>2</sup></p>"),
      L("</div>"),
      L("")};
}

Lines LayoutTable() {
  Lines lines = {L("<h4>Tabelle (unsichtbarer Rand): eine Art &laquo;Setzkasten&raquo; für diverse "
                   "Objekte</h4>"),
                 L("<table>"), L("  <tbody>")};
  for (int row = 1; row <= 2; ++row) {
    lines.push_back(L("    <tr>"));
    lines.push_back(L("      <td><span class=\"f_blau\">Zeile " + std::to_string(row) +
                      "</span> - Zelle 1</td>"));
    lines.push_back(L("      <td>Zelle 2</td>"));
    lines.push_back(L("      <td>Zelle 3</td>"));
    lines.push_back(L("    </tr>"));
  }
  return lines + Lines{L("  </tbody>"), L("</table>"), L("<br>"), L("")};
}

const Lines kDocumentLinks = {
    L("<h3>Dokumente verlinken</h3>"),
    L(R"~(<a href="dummy.pdf" target="_blank">PDF</a><br>)~"),
    L(""),
    L(R"~(<a href="dummy.mp3" target="_blank">Audio</a><br>)~"),
    L(""),
    L(R"~(<a href="dummy.mp4" target="_blank">Video</a><br>)~"),
    L(""),
    L("<details>"),
    L(" <summary>Weitere Dateitypen&hellip;<br></summary>"),
    L(R"~(  <a href="dummy.zip" target="_blank">ZIP-Datei</a><br>)~"),
    L(R"~(  <a href="dummy.odt" target="_blank">LibreOffice</a><br>)~"),
    L(R"~(  <a href="dummy.docx" target="_blank">Ms-Word</a><br>)~"),
    L(R"~(  <a href="dummy.xlsx" target="_blank">Ms-Excel</a><br>)~"),
    L("</details>"),
    L(""),
    L("<h3 class=f_rot>Fehlersuche</h3>"),
    P(R"~(<p><a href="https://validator\.w3\.org/nu/[^" #]*#file" )~"
      R"~(target="_blank">Überprüfe</a> \(Nu Html Checker\) deine Seiten auf HTML-Fehler!)~"),
    L(""),
    L("</p>"),
    L(""),
    L("<h3>Tasten darstellen</h3>"),
    L("<kbd>Ctrl</kbd> + <kbd>P</kbd> = "),
    L(R"~(<a href="javascript:window.print();" title="Drucken&hellip;">&#x2399;&nbsp;Seite )~"
      R"~(drucken</a>)~"),
    L("")};

const Lines kPageFooter = {L("<br><hr>"),
                           L(R"~(<cite><span class="schrKlein">)~"),
                           L("Die <strong>CSS</strong>-Eigenschaften für diese Seiten befinden "
                             "sich in der Datei <strong>style.css</strong>.<br>"),
                           L("Die <strong>JavaScript</strong>-Funktionen für den Bilder-Zoom "
                             "befinden sich in der Datei <strong>zoom.js</strong>.<br>"),
                           P("&copy; [^ ].*"),
                           L("</span></cite>")};

const Lines kDisclaimerPage = {
    L(R"~(<div class="silben" style="max-width:560px;font-family:serif;">)~"),
    L("  <strong>Haftungsausschluss</strong>"),
    P(R"~(  <p><a href="mailto:([^"?@ ]+@[^"?@ )~"
      R"~(]+)\?subject=Homepage-Kommentar%20&body=Problem%20mit%20deiner%20Homepage:%0d" )~"
      R"~(title="\1">)~"),
    P(R"~(  Ich</a>, Vorname Name \(ev\. Mailadresse\), .*<br>)~"),
    P("  Trotz sorgfältiger .*</p>"),
    P("  <p>Glei&shy;ches gilt .* "),
    P("  Die In&shy;halte .*<br>"),
    P("  Für den In&shy;halt .*</p>"),
    L("</div><br>"),
    L(""),
    L(R"~(<p class="lang">&#x1f310;</p>)~"),
    L(""),
    L(R"~(<ul class="lang">)~"),
    L(R"~(  <li><a href="index.html">Deutsch</a></li>)~"),
    L(R"~(  <li><a href="index-en.html">English</a></li>)~"),
    L(R"~(  <li><a href="index-fr.html">Fran&ccedil;ais</a></li>)~"),
    L(R"~(  <li><a href="index-es.html">Espa&ntilde;ol</a></li>)~"),
    L("</ul>"),
    L("<br><hr>"),
    L("")};

TEST(ContentBlocks, DefaultSiteCarriesTheStatedLines) {
  const std::vector<std::string> pages = Pages(5);
  const Lines expected[] = {
      Intro(1) + kWelcome + kDocumentLinks + kPageFooter,
      Intro(2) + ImageDemos() + kPageFooter,
      Intro(3) + SearchEngines() + ColumnText() + MarkupDemos() + LayoutTable() + kDocumentLinks +
          kPageFooter,
      Intro(4) + SearchEngines() + MediaDemos() + LayoutTable() + kPageFooter,
      kDisclaimerPage,
  };
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE("page " + std::to_string(i + 1));
    EXPECT_TRUE(MatchLines(SplitCrLf(AfterHeading(pages[i])), expected[i] + kBottom));
  }
}

// The blocks of a page, recognised by their first line, as the byte ranges
// between one block start and the next.
const std::pair<const char*, const char*> kBlockStarts[] = {
    {"PageIntro", "<p>Hier kommt der Inhalt der Seite "},
    {"WelcomeText", "<p>Wir begrüßen "},
    {"SearchEngineLinks", "<p>Links: Beliebte Suchmaschinen sind "},
    {"ImageDemos", "<h4>Bild ohne Zoom-Funktion</h4>\r\n"},
    {"ColumnText", "<h4>Spalten-Satz H4</h4>\r\n"},
    {"MediaDemos", "<h4>Audio einbinden "},
    {"MarkupDemos", "<h2>Titelschrift H2</h2>\r\n"},
    {"LayoutTable", "<h4>Tabelle (unsichtbarer Rand)"},
    {"DocumentLinks", "<h3>Dokumente verlinken</h3>\r\n"},
    {"PageFooter", "<br><hr>\r\n<cite>"},
    {"Disclaimer", "<div class=\"silben\" style="},
    {"LanguageList", "<p class=\"lang\">"},
    {"end of disclaimer page", "<br><hr>\r\n\r\n"},
};

struct Segment {
  std::string block;
  std::string_view text;
};

std::vector<Segment> Segments(std::string_view page) {
  std::string_view main = AfterHeading(page);
  main = main.substr(0, main.rfind("\r\n\r\n</main>"));
  std::vector<std::pair<std::size_t, std::string>> starts;
  for (const auto& [name, start] : kBlockStarts) {
    for (std::size_t at = main.find(start); at != std::string_view::npos;
         at = main.find(start, at + 1))
      if (at == 0 || main[at - 1] == '\n') starts.emplace_back(at, name);
  }
  std::sort(starts.begin(), starts.end());
  std::vector<Segment> segments;
  if (starts.empty() || starts.front().first != 0) segments.push_back({"?", main.substr(0, 40)});
  for (std::size_t k = 0; k < starts.size(); ++k) {
    const std::size_t end = k + 1 < starts.size() ? starts[k + 1].first : main.size();
    segments.push_back({starts[k].second, main.substr(starts[k].first, end - starts[k].first)});
  }
  return segments;
}

std::vector<std::string> Names(const std::vector<Segment>& segments) {
  std::vector<std::string> names;
  for (const Segment& s : segments) names.push_back(s.block);
  return names;
}

using BlockNames = std::vector<std::string>;
const BlockNames kDisclaimerBlocks = {"Disclaimer", "LanguageList", "end of disclaimer page"};
const BlockNames kFirst = {"PageIntro", "WelcomeText", "DocumentLinks", "PageFooter"};
const BlockNames kSecond = {"PageIntro", "ImageDemos", "PageFooter"};
const BlockNames kMiddle = {"PageIntro",   "SearchEngineLinks", "ColumnText", "MarkupDemos",
                            "LayoutTable", "DocumentLinks",     "PageFooter"};
const BlockNames kLastButOne = {"PageIntro", "SearchEngineLinks", "MediaDemos", "LayoutTable",
                                "PageFooter"};

TEST(ContentBlocks, PageRuleSelectsTheBlocksForEveryMenuLength) {
  std::map<int, std::vector<BlockNames>> expected = {
      {1, {kDisclaimerBlocks}},
      {2, {{"PageIntro", "WelcomeText", "MediaDemos", "PageFooter"}, kDisclaimerBlocks}},
      {3,
       {{"PageIntro", "WelcomeText", "DocumentLinks", "PageFooter"},
        {"PageIntro", "ImageDemos", "MediaDemos", "PageFooter"},
        kDisclaimerBlocks}},
      {5, {kFirst, kSecond, kMiddle, kLastButOne, kDisclaimerBlocks}},
  };
  std::vector<BlockNames> twenty = {kFirst, kSecond};
  for (int i = 3; i <= 18; ++i) twenty.push_back(kMiddle);
  twenty.push_back(kLastButOne);
  twenty.push_back(kDisclaimerBlocks);
  expected[20] = twenty;

  for (const auto& [count, blocks] : expected) {
    const std::vector<std::string> pages = Pages(count);
    for (int i = 0; i < count; ++i)
      EXPECT_EQ(Names(Segments(pages[i])), blocks[i]) << "N = " << count << ", page " << i + 1;
  }
}

TEST(ContentBlocks, EveryBlockIsTheSameOnEveryPageAndInEveryRun) {
  std::map<std::string, std::string> first;
  std::map<std::string, int> seen;
  for (int count : {1, 2, 3, 5, 20}) {
    const std::vector<std::string> pages = Pages(count);
    for (int i = 0; i < count; ++i) {
      for (const Segment& s : Segments(pages[i])) {
        if (s.block == "PageIntro") continue;  // carries the page number
        ++seen[s.block];
        const auto [it, inserted] = first.emplace(s.block, std::string(s.text));
        if (!inserted) {
          EXPECT_EQ(s.text, it->second) << s.block << ", N = " << count << ", page " << i + 1;
        }
      }
    }
  }
  // Every block occurs on several pages, so the comparison above saw each.
  EXPECT_EQ(seen.size(), 12u);
  for (const auto& [block, times] : seen) EXPECT_GE(times, 2) << block;
}

std::string_view Block(std::string_view page, std::string_view name) {
  for (const Segment& s : Segments(page))
    if (s.block == name) return s.text;
  ADD_FAILURE() << name << " missing";
  return {};
}

TEST(ContentBlocks, GalleryHasEightZoomImagesEachFollowedByItsCaption) {
  for (int count : {3, 5, 20}) {
    SCOPED_TRACE("N = " + std::to_string(count));
    const std::string images(Block(Pages(count)[1], "ImageDemos"));
    const std::regex img(R"~(<img\s[^>]*>)~");
    const std::regex class_attr(R"~(class="([^"]*)")~");
    std::vector<std::string> classes;
    for (auto it = std::sregex_iterator(images.begin(), images.end(), img);
         it != std::sregex_iterator(); ++it) {
      std::smatch cls;
      const std::string tag = it->str();
      classes.push_back(std::regex_search(tag, cls, class_attr) ? cls[1].str() : "");
      if (classes.back() == "bild zoom") {
        const std::size_t after = images.find_first_not_of(" \r\n", it->position() + it->length());
        EXPECT_EQ(images.compare(after, 12, "<figcaption>"), 0) << "zoom image " << classes.size();
      }
    }
    const std::vector<std::string> expected = {"bild",      "bild zoom", "bild zoom", "bild zoom",
                                               "bild zoom", "bild zoom", "bild zoom", "bild zoom",
                                               "bild zoom", ""};
    EXPECT_EQ(classes, expected);  // the last one is the map image
  }
}

TEST(ContentBlocks, MapCallsOnlyTheLegendFunctionsAndNamesItsCaption) {
  const std::string page = Pages(5)[1];
  const std::string images(Block(page, "ImageDemos"));
  const std::regex handler(R"~(\son[a-z]+="([^"]*)")~");
  int handlers = 0;
  for (auto it = std::sregex_iterator(images.begin(), images.end(), handler);
       it != std::sregex_iterator(); ++it) {
    ++handlers;
    const std::string call = (*it)[1].str();
    EXPECT_TRUE(call == "zeigLegende(this)" || call == "zeigKarte(this)") << call;
  }
  EXPECT_EQ(handlers, 7);  // the map image and two per area
  EXPECT_EQ(images.find(R"~(<figcaption id="legende">)~"), images.rfind("<figcaption"));
  const std::size_t legend = page.find(R"~(id="legende")~");
  EXPECT_NE(legend, std::string::npos);
  EXPECT_EQ(page.find(R"~(id="legende")~", legend + 1), std::string::npos) << "a second legend";
}

TEST(ContentBlocks, LinkSourceShowsTheLinkItself) {
  const std::vector<std::string> lines = SplitCrLf(Block(Pages(5)[2], "MarkupDemos"));
  const auto link = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.rfind("Hier ist ein Link: ", 0) == 0;
  });
  ASSERT_NE(link, lines.end());
  ASSERT_NE(link + 1, lines.end());
  const std::size_t from = link->find("<a "), to = link->find("</a>") + 4;
  std::string escaped;
  for (char c : link->substr(from, to - from)) {
    if (c == '<')
      escaped += "&lt;";
    else if (c == '>')
      escaped += "&gt;";
    else if (c == '&')
      escaped += "&amp;";
    else
      escaped += c;
  }
  EXPECT_EQ(link[1], "<pre>" + escaped + "</pre>");
}

// Resolves the character references of the column text; soft hyphens stay
// as U+00AD. Unknown names are reported.
std::string Decode(std::string_view html) {
  static const std::map<std::string, std::string, std::less<>> names = {
      {"shy", "\u00AD"}, {"rsquo", "’"},  {"eacute", "é"}, {"egrave", "è"}, {"ecirc", "ê"},
      {"agrave", "à"},   {"aacute", "á"}, {"iacute", "í"}, {"oacute", "ó"}, {"atilde", "ã"},
      {"ccedil", "ç"},   {"ordm", "º"},   {"uuml", "ü"},   {"scedil", "ş"}, {"gbreve", "ğ"}};
  std::string out;
  for (std::size_t i = 0; i < html.size(); ++i) {
    if (html[i] != '&') {
      out += html[i];
      continue;
    }
    const std::size_t semi = html.find(';', i);
    const std::string_view name = html.substr(i + 1, semi - i - 1);
    if (name.size() > 2 && name[0] == '#' && name[1] == 'x') {
      const unsigned long cp = std::stoul(std::string(name.substr(2)), nullptr, 16);
      if (cp < 0x80) {
        out += static_cast<char>(cp);
      } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
      } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
      }
    } else if (const auto it = names.find(name); it != names.end()) {
      out += it->second;
    } else {
      ADD_FAILURE() << "unexpected reference &" << name << ";";
    }
    i = semi;
  }
  return out;
}

std::string WithoutSoftHyphens(std::string text) {
  for (std::size_t at; (at = text.find("\u00AD")) != std::string::npos;) text.erase(at, 2);
  return text;
}

bool IsLetter(unsigned char c) { return c >= 0x80 || std::isalpha(c); }

// Soft hyphens stand inside words only and leave at least two letters on
// each side of a break.
void ExpectSoftHyphensInsideWords(const std::string& text) {
  const std::string_view shy = "\u00AD";
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    std::string_view word = std::string_view(text).substr(start, end - start);
    start = end + 1;
    while (!word.empty() && word.front() == '(') word.remove_prefix(1);
    while (!word.empty() && std::string_view(".,;:!?)").find(word.back()) != std::string_view::npos)
      word.remove_suffix(1);
    if (word.find(shy) == std::string_view::npos) continue;
    for (std::string_view rest = word;;) {
      const std::size_t hyphen = rest.find(shy);
      const std::string_view piece = rest.substr(0, hyphen);
      std::size_t letters = 0;
      bool only_letters = true;
      for (unsigned char c : piece) {
        only_letters = only_letters && IsLetter(c);
        letters += (c & 0xC0) != 0x80;  // count characters, not bytes
      }
      EXPECT_TRUE(only_letters && letters >= 2) << "break in [" << word << "]";
      if (hyphen == std::string_view::npos) break;
      rest.remove_prefix(hyphen + shy.size());
    }
  }
}

TEST(ContentBlocks, ColumnTextHoldsArticleOneInEightLanguages) {
  const std::map<std::string, std::pair<std::string, std::string>> article = {
      {"de",
       {"Menschenrechte",
        "Alle Menschen sind frei und gleich an Würde und Rechten geboren. Sie sind mit Vernunft "
        "und Gewissen begabt und sollen einander im Geiste der Brüderlichkeit begegnen."}},
      {"fr",
       {"droits de l’homme",
        "Tous les êtres humains naissent libres et égaux en dignité et en droits. Ils sont doués "
        "de raison et de conscience et doivent agir les uns envers les autres dans un esprit de "
        "fraternité."}},
      {"it",
       {"diritti umani",
        "Tutti gli esseri umani nascono liberi ed eguali in dignità e diritti. Essi sono dotati di "
        "ragione e di coscienza e devono agire gli uni verso gli altri in spirito di "
        "fratellanza."}},
      {"rm",
       {"dretgs umans",
        "Tut ils umans naschan libers ed eguals en dignitad ed en dretgs. Els èn dotads cun "
        "raschun e conscienza e duain agir in vers l’auter en spiert da fraternitad."}},
      {"es",
       {"Derechos Humanos",
        "Todos los seres humanos nacen libres e iguales en dignidad y derechos y, dotados como "
        "están de razón y conciencia, deben comportarse fraternalmente los unos con los otros."}},
      {"en",
       {"Human Rights",
        "All human beings are born free and equal in dignity and rights. They are endowed with "
        "reason and conscience and should act towards one another in a spirit of brotherhood."}},
      {"pt",
       {"Direitos Humanos",
        "Todos os seres humanos nascem livres e iguais em dignidade e em direitos. Dotados de "
        "razão e de consciência, devem agir uns para com os outros em espírito de fraternidade."}},
      {"tr",
       {"İnsan Hakları",
        "Bütün insanlar hür, haysiyet ve haklar bakımından eşit doğarlar. Akıl ve vicdana "
        "sahiptirler ve birbirlerine karşı kardeşlik zihniyeti ile hareket etmelidirler."}},
  };
  const std::vector<std::string> lines = SplitCrLf(Block(Pages(5)[2], "ColumnText"));
  const std::regex opening(R"~(  <p lang="([a-z]+)"><strong>(.*)</strong><br>)~");
  std::vector<std::string> languages;
  for (std::size_t i = 0; i + 3 < lines.size(); ++i) {
    std::smatch m;
    if (!std::regex_match(lines[i], m, opening)) continue;
    const std::string lang = m[1];
    SCOPED_TRACE(lang);
    languages.push_back(lang);
    const std::string heading = Decode(m[2].str());
    const std::string body = lines[i + 1].substr(2) + lines[i + 2].substr(2) +
                             lines[i + 3].substr(2, lines[i + 3].size() - 2 - 4);
    const std::string text = Decode(body);
    ExpectSoftHyphensInsideWords(heading);
    ExpectSoftHyphensInsideWords(text);
    EXPECT_THAT(text, HasSubstr("\u00AD")) << "no soft hyphens";
    const auto& [title, wording] = article.at(lang);
    EXPECT_THAT(WithoutSoftHyphens(heading), HasSubstr(title)) << heading;
    EXPECT_EQ(WithoutSoftHyphens(text), wording);
    // Outside German, every letter beyond ASCII is written as a reference.
    if (lang == "de") continue;
    for (std::size_t k = i; k <= i + 3; ++k) {
      EXPECT_TRUE(std::all_of(lines[k].begin(), lines[k].end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80;
      })) << lines[k];
    }
  }
  EXPECT_EQ(languages, std::vector<std::string>(std::begin(kLanguages), std::end(kLanguages)));
}

TEST(ContentBlocks, DisclaimerBreaksItsLongWordsOnlyInsideWords) {
  const std::vector<std::string> lines = SplitCrLf(Block(Pages(5)[4], "Disclaimer"));
  ASSERT_GE(lines.size(), 8u);
  for (std::size_t i = 3; i < 8; ++i) {
    std::string text = std::regex_replace(lines[i], std::regex("<[^>]*>"), "");
    text = std::regex_replace(text, std::regex("&shy;"), "\u00AD");
    EXPECT_THAT(text, HasSubstr("\u00AD")) << lines[i];
    ExpectSoftHyphensInsideWords(text);
  }
}

}  // namespace
}  // namespace trellan
