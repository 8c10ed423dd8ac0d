#pragma once
// The dialog's own texts, in Windows-1252 (the ANSI code page). Non-ASCII
// characters are \x escapes, each literal split after one so that a
// following letter cannot run into the escape.
#include <string>

#include "identity.h"

namespace trellan {

// What the program is for: the intro label and the about box both say it.
inline constexpr const char* kDescription =
    "Erstellt ein universelles HTML5/CSS-basiertes Men\xFCsystem, zusammen mit allen "
    "ben\xF6tigten Dateien als Grundger\xFCst f\xFCr eine Webseite. Die Seiten sind "
    "\"responsive\", d.h. sie passen sich an das Ausgabeger\xE4t an (PC, Tablet, Telefon). "
    "Die Formatierungen befinden sich in der Datei \"style.css\" und \"zoom.js\" erledigt den "
    "Bilder-Zoom.";

inline constexpr const char* kClassroomNote =
    "Ich setzte dieses Programm in meinem Infomatik-Unterricht ein. Die Lernenden erstellten "
    "damit ein funktionierendes Grundger\xFCst f\xFCr ihre pers\xF6nlichen Homepages. "
    "Die kommentierten Dummy-Inhalte k\xF6nnen leicht ersetzt werden.";

inline std::string IntroText() { return std::string(kProgramCaption) + "\r\n\r\n" + kDescription; }

inline std::string AboutText() {
  return std::string(kProgramCaption) + "\r\n\r\n" + kDescription + "\r\n\r\n" + kClassroomNote;
}

// The entries the dialog adds to its system menu.
inline constexpr const char* kGalleryMenuEntry = "&Media: Bildergalerie...";
inline constexpr const char* kContextMenuEntry = "&Kontextmen\xFC JPG...";
inline constexpr const char* kSiteCheckMenuEntry =
    "Website &pr\xFC"
    "fen...";
inline constexpr const char* kSiteUpdateMenuEntry =
    "Men\xFC in Website &\xFC"
    "bernehmen...";
inline constexpr const char* kReadFormMenuEntry = "Formular aus Website &lesen";

// The question before the Explorer commands are switched; lines end with
// a bare CR.
inline constexpr const char* kContextMenuCaption = "JPG-Kontextmen\xFC-Eintrag";
inline constexpr const char* kContextMenuQuestion =
    "Kontextmen\xFC-Eintr\xE4ge f\xFCr Ordner\r"
    "\r"
    "- JPG-Thumb (IrfanView)\r"
    "\tund\r"
    "- JPG-Web (IrfanView)\r"
    "\r"
    "aktivieren?\r"
    "\r"
    "[Ja]\tAktivieren\r"
    "[Nein]\tDeaktivieren";

}  // namespace trellan
