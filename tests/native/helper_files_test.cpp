// The helper scripts and server files of the generated site, as the bytes a
// run writes: every line, the line ends, the banner boxes and the few
// console-code-page bytes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "generator/site_content.h"

namespace trellan {
namespace {

using ::testing::HasSubstr;

using Lines = std::vector<std::string>;

// Lines whose wording is ours to choose; they are checked by their form.
const std::string kGeneratorLine = "\x01generator line";
const std::string kOpenPlaceholder = "\x01open placeholder host";
const std::string kPasswordPlaceholder = "\x01password placeholder";

// The lines of a file that ends every line with CR LF. A bare CR or LF, or
// a last line without its CR LF, fails the test.
Lines SplitCrLf(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line has no CR LF: \"" << text.substr(start) << "\"";
      break;
    }
    const std::string line = text.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos)
        << "bare CR or LF in line " << lines.size() + 1 << ": \"" << line << "\"";
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

std::string Border(std::size_t width) { return ":: " + std::string(width - 3, ':'); }

void ExpectBoxLine(const std::string& line, std::size_t width, std::size_t number) {
  EXPECT_EQ(line.size(), width) << "line " << number << ": \"" << line << "\"";
  EXPECT_EQ(line.substr(0, 2), "::") << "line " << number;
  EXPECT_GE(line.size(), 4u) << "line " << number;
  if (line.size() >= 4) {
    EXPECT_EQ(line.substr(line.size() - 2), "::") << "line " << number;
  }
}

void ExpectGeneratorLine(const std::string& line, std::size_t width, std::size_t number) {
  ExpectBoxLine(line, width, number);
  EXPECT_THAT(line, HasSubstr("Trellan")) << "line " << number;
}

bool IsPrintableAscii(const std::string& text) {
  for (char c : text)
    if (c <= ' ' || c > '~') return false;
  return !text.empty();
}

// Compares a file line by line; `box_width` is the width of its banner
// boxes (0 for the files without banner).
void ExpectLines(const std::string& text, const Lines& expected, std::size_t box_width = 0) {
  const Lines actual = SplitCrLf(text);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::size_t number = i + 1;
    const std::string& line = actual[i];
    if (expected[i] == kGeneratorLine) {
      ExpectGeneratorLine(line, box_width, number);
    } else if (expected[i] == kOpenPlaceholder) {
      ASSERT_EQ(line.substr(0, 5), "OPEN ") << "line " << number;
      EXPECT_TRUE(IsPrintableAscii(line.substr(5))) << "host \"" << line.substr(5) << "\"";
    } else if (expected[i] == kPasswordPlaceholder) {
      EXPECT_EQ(line.size(), 12u) << "\"" << line << "\"";
      EXPECT_TRUE(IsPrintableAscii(line)) << "\"" << line << "\"";
    } else {
      EXPECT_EQ(line, expected[i]) << "line " << number;
    }
  }
}

// "SET ECHOLINE=ECHO", two spaces and a rule of alternating single (C4) and
// double (CD) box-drawing strokes, single at both ends.
std::string EchoLineDefinition() {
  std::string line = "SET ECHOLINE=ECHO  ";
  for (int i = 0; i < 125; ++i) line += i % 2 == 0 ? '\xC4' : '\xCD';
  return line;
}

TEST(HelperFiles, ThumbnailScript) {
  const std::string border = Border(42);
  ExpectLines(
      ThumbnailScriptText(),
      {
          border,
          "::  _create-Thumbnails                  ::",
          "::  Thumbnails erstellen mit IrfanView  ::",
          kGeneratorLine,
          border,
          "",
          "@ECHO OFF",
          "CHCP 1252 >NUL",
          "",
          "ECHO.",
          "ECHO  Kleinschreibung aller Dateinamen und (Leerzeichen = -) . . .",
          R"x(FORFILES /s /m *.* /C "cmd /e:on /v:on /c set \"Phile=@file\" & if )x"
          R"x(@ISDIR==FALSE ren @file !Phile: =-!")x",
          R"x(for /f "Tokens=*" %%f in ('dir /l/b/a-d') do (rename "%%f" "%%f"))x",
          "",
          R"x(SET IRFAN=%ProgramW6432%\IrfanView\i_view64.exe)x",
          R"x(IF NOT EXIST "%IRFAN%" SET IRFAN=%ProgramFiles(x86)%\IrfanView\i_view32.exe)x",
          R"x(IF NOT EXIST "%IRFAN%" ECHO IrfanView nicht gefunden. & PAUSE & EXIT)x",
          "",
          "ECHO.",
          "ECHO  Erstelle Thumbnails und Web-optimierte Bilder . . .",
          R"x("%IRFAN%" "*.jpg" /silent /resize_long=400 /aspectratio /resample /jpgq=70 )x"
          R"x(/convert="$N_t.jpg")x",
          R"x("%IRFAN%" "*.jfif" /silent /resize_long=400 /aspectratio /resample /jpgq=70 )x"
          R"x(/convert="$N_t.jfif")x",
          R"x("%IRFAN%" "*.webp" /silent /resize_long=400 /aspectratio /resample )x"
          R"x(/convert="$N_t.webp")x",
          R"x("%IRFAN%" "*.gif" /silent /resize_long=400 /aspectratio /resample )x"
          R"x(/convert="$N_t.gif")x",
          "",
          border,
          "::  Web-optimierte Bilder mit IrfanView ::",
          kGeneratorLine,
          border,
          "",
          R"x("%IRFAN%" "*.jpg" /silent /resize_long=1600 /aspectratio /resample /jpgq=70 )x"
          R"x(/convert="$N_w.jpg")x",
          R"x("%IRFAN%" "*.jfif" /silent /resize_long=1600 /aspectratio /resample /jpgq=70 )x"
          R"x(/convert="$N_w.jfif")x",
          R"x("%IRFAN%" "*.webp" /silent /resize_long=1600 /aspectratio /resample )x"
          R"x(/convert="$N_w.webp")x",
          R"x("%IRFAN%" "*.gif" /silent /resize_long=1600 /aspectratio /resample )x"
          R"x(/convert="$N_w.gif")x",
          "",
          R"x(del /Q "*_t_t.*" >nul 2>&1)x",
          R"x(del /Q "*_w_w.*" >nul 2>&1)x",
          R"x(del /Q "*_w_t.*" >nul 2>&1)x",
          R"x(del /Q "*_t_w.*" >nul 2>&1)x",
          "ECHO.",
          "ECHO  Done.",
          "ping -n 3 localhost >NUL",
          "CLS",
      },
      42);
  // Both boxes name the generator the same way.
  const Lines lines = SplitCrLf(ThumbnailScriptText());
  ASSERT_EQ(lines.size(), 43u);
  EXPECT_EQ(lines[3], lines[27]);
}

TEST(HelperFiles, FtpUploadScript) {
  const std::string border = Border(42);
  ExpectLines(FtpUploadScriptText(),
              {
                  border,
                  ":: _FTP-Upload.cmd  -  Website Upload   ::",
                  R"x(::  (Befehle in "_FTP\ftp-pipe.txt")    ::)x",
                  kGeneratorLine,
                  border,
                  "",
                  "@ECHO OFF",
                  "SET TITLE=FTP-Upload in Bearbeitung ...",
                  "TITLE %TITLE%",
                  "COLOR FC",
                  R"x(PUSHD "%~dp0")x",
                  R"x(ftp -s:_FTP\ftp-pipe.txt)x",
                  "COLOR F0",
                  "ping -n 5 localhost >NUL",
                  "POPD",
                  "ECHO.",
              },
              42);
}

TEST(HelperFiles, StartScript) {
  const std::string border = Border(42);
  ExpectLines(StartScriptText(),
              {
                  border,
                  ":: _START.cmd  -  Offline HTML Starter  ::",
                  "::  (erlaubt lokale Videos im Browser)  ::",
                  kGeneratorLine,
                  border,
                  "",
                  "@ECHO OFF",
                  "SET BROWSER=FIREFOX",
                  "SET BROWSER=CHROME",
                  "SET BROWSER=MSEDGE",
                  "SET ALLOW=--allow-file-access-from-files",
                  R"x(IF /i "%BROWSER%"=="MSEDGE" SET ALLOW=%ALLOW% --profile-directory=Default)x",
                  R"x(IF /i "%BROWSER%"=="FIREFOX" SET ALLOW=)x",
                  R"x(START %BROWSER%.EXE %ALLOW% "%~dp0index.html")x",
                  "EXIT",
                  "",
              },
              42);
}

TEST(HelperFiles, BackupScript) {
  const std::string border = Border(58);
  EXPECT_EQ(border.size(), 58u);
  ExpectLines(
      BackupScriptText(),
      {
          border,
          "::       _BackUp2OneDrive.cmd  -  Website-Backup        ::",
          ":: Sicherheitskopie des aktuellen Ordners auf OneDrive  ::",
          kGeneratorLine,
          border,
          "",
          "@ECHO OFF",
          "SET TITLE=OneDrive Website-Backup",
          "COLOR FC",
          "MODE CON: COLS=128 LINES=50",
          "CLS",
          "",
          EchoLineDefinition(),
          "TITLE %TITLE%",
          "ECHO.",
          "ECHO   %TITLE%",
          "%ECHOLINE%",
          "ECHO.",
          R"x(SET TARGET=%USERPROFILE%\OneDrive - Schule Brimsdorf\)x",
          R"x(XCOPY "%~dp0*.*" "%TARGET%Website-BackUp\" /F /R /Y /S)x",
          "ECHO.",
          "%ECHOLINE%",
          "ping -n 3 localhost >NUL",
          "SET TITLE=%TITLE% abgeschlossen",
          "TITLE %TITLE%",
          "ECHO.",
          "ECHO   %TITLE%",
          "%ECHOLINE%",
          R"x(ECHO   BackUp-Ordner: "%TARGET%Website-BackUp\")x",
          "COLOR F0",
          "ECHO.",
          "ECHO.",
          std::string("ECHO   Fenster schlie") + '\xE1' + "t automatisch in 5 Sekunden . . .",
          "ping -n 5 localhost >NUL",
          "ECHO.",
      },
      58);
  const Lines lines = SplitCrLf(BackupScriptText());
  ASSERT_GE(lines.size(), 13u);
  EXPECT_EQ(lines[12].size(), 144u);
}

TEST(HelperFiles, Htaccess) {
  ExpectLines(HtaccessText(), {
                                  "AddCharset UTF-8 .html .css .js",
                                  "AddType audio/ogg .ogg",
                                  "AddType audio/mp3 .mp3",
                                  "AddType text/vtt .vtt",
                              });
}

TEST(HelperFiles, FtpCommands) {
  Lines expected = {kOpenPlaceholder,
                    "benutzername",
                    kPasswordPlaceholder,
                    "",
                    "ASCII",
                    "PROMPT",
                    "CD www",
                    "MPUT *.htm",
                    "MPUT *.html",
                    "MPUT *.css",
                    "MPUT *.js",
                    "MPUT .htaccess",
                    "mkdir media",
                    "",
                    "BINARY"};
  const Lines uploads = {"MPUT *.jpg", "MPUT *.png", "MPUT *.webp", "MPUT *.svg", "MPUT *.gif",
                         "MPUT *.pdf", "MPUT *.mp4", "MPUT *.m4a",  "MPUT *.mp3"};
  expected.insert(expected.end(), uploads.begin(), uploads.end());
  expected.insert(expected.end(), {"", "LCD media", "CD media"});
  expected.insert(expected.end(), uploads.begin(), uploads.end());
  expected.insert(expected.end(), {"", "LCD ..", "CD ..", "", "PROMPT", "bye"});
  ASSERT_EQ(expected.size(), 42u);
  ExpectLines(FtpCommandText(), expected);

  // The placeholders must not pass for real access data: the host is no
  // name that could resolve, and the password differs from the user name.
  const Lines lines = SplitCrLf(FtpCommandText());
  ASSERT_GE(lines.size(), 3u);
  const std::string host = lines[0].substr(5);
  EXPECT_THAT(host, HasSubstr("."));
  EXPECT_EQ(host.substr(host.size() - 8), ".example") << host;
  EXPECT_NE(lines[2], lines[1]);
}

struct NamedText {
  const char* name;
  std::string text;
};

std::vector<NamedText> AllHelperFiles() {
  return {{"_create-Thumbnails.cmd", ThumbnailScriptText()},
          {"_FTP-Upload.cmd", FtpUploadScriptText()},
          {"_Start.cmd", StartScriptText()},
          {"_BackUp2OneDrive.cmd", BackupScriptText()},
          {".htaccess", HtaccessText()},
          {"ftp-pipe.txt", FtpCommandText()}};
}

TEST(HelperFiles, EveryLineEndsWithCrLfAndNoFileHasByteOrderMark) {
  for (const NamedText& file : AllHelperFiles()) {
    SCOPED_TRACE(file.name);
    ASSERT_GE(file.text.size(), 2u);
    EXPECT_EQ(file.text.substr(file.text.size() - 2), "\r\n");
    EXPECT_NE(file.text.substr(0, 3), "\xEF\xBB\xBF");
    for (std::size_t i = 0; i < file.text.size(); ++i) {
      if (file.text[i] == '\r') {
        EXPECT_TRUE(i + 1 < file.text.size() && file.text[i + 1] == '\n') << "bare CR at " << i;
      }
      if (file.text[i] == '\n') {
        EXPECT_TRUE(i > 0 && file.text[i - 1] == '\r') << "bare LF at " << i;
      }
    }
  }
}

TEST(HelperFiles, ScriptsOpenWithBannerBox) {
  const std::vector<std::pair<NamedText, std::size_t>> scripts = {
      {{"_create-Thumbnails.cmd", ThumbnailScriptText()}, 42},
      {{"_FTP-Upload.cmd", FtpUploadScriptText()}, 42},
      {{"_Start.cmd", StartScriptText()}, 42},
      {{"_BackUp2OneDrive.cmd", BackupScriptText()}, 58}};
  for (const auto& [script, width] : scripts) {
    SCOPED_TRACE(script.name);
    const Lines lines = SplitCrLf(script.text);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], Border(width));
    for (std::size_t i = 1; i <= 3; ++i) ExpectBoxLine(lines[i], width, i + 1);
    ExpectGeneratorLine(lines[3], width, 4);
    EXPECT_EQ(lines[4], lines[0]);
    EXPECT_EQ(lines[5], "");
  }
}

// Only two lines of the backup script hold bytes above 127: the rule of
// box-drawing strokes and the "ß" of the closing message, both meant for
// the console's OEM code page.
TEST(HelperFiles, BytesAbove127OnlyInBackupRuleAndClosingMessage) {
  for (const NamedText& file : AllHelperFiles()) {
    SCOPED_TRACE(file.name);
    const Lines lines = SplitCrLf(file.text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::string high;
      for (char c : lines[i])
        if (static_cast<unsigned char>(c) > 127) high += c;
      const bool backup = std::string(file.name) == "_BackUp2OneDrive.cmd";
      if (backup && i == 12) {
        ASSERT_EQ(high.size(), 125u);
        for (std::size_t j = 0; j < high.size(); ++j)
          EXPECT_EQ(high[j], j % 2 == 0 ? '\xC4' : '\xCD') << "stroke " << j;
      } else if (backup && i == 32) {
        EXPECT_EQ(high, "\xE1");
      } else {
        EXPECT_EQ(high, "") << "line " << i + 1;
      }
    }
  }
}

}  // namespace
}  // namespace trellan
