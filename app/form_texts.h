#pragma once
// The dialog's own texts, in Windows-1252 (the ANSI code page). Non-ASCII
// characters are \x escapes, each literal split after one so that a
// following letter cannot run into the escape.
#include <string>

#include "identity.h"

namespace trellan {

// What the program is for: the intro label and the about box both say it.
inline constexpr const char* kDescription =
    "Erstellt ein universelles HTML5/CSS-basiertes Men\xFC" "system, zusammen mit allen "
    "ben\xF6" "tigten Dateien als Grundger\xFC" "st f\xFC" "r eine Webseite. Die Seiten sind "
    "\"responsive\", d.h. sie passen sich an das Ausgabeger\xE4" "t an (PC, Tablet, Telefon). "
    "Die Formatierungen befinden sich in der Datei \"style.css\" und \"zoom.js\" erledigt den "
    "Bilder-Zoom.";

inline constexpr const char* kClassroomNote =
    "Ich setzte dieses Programm in meinem Infomatik-Unterricht ein. Die Lernenden erstellten "
    "damit ein funktionierendes Grundger\xFC" "st f\xFC" "r ihre pers\xF6" "nlichen Homepages. "
    "Die kommentierten Dummy-Inhalte k\xF6" "nnen leicht ersetzt werden.";

inline std::string IntroText() { return std::string(kProgramCaption) + "\r\n\r\n" + kDescription; }

inline std::string AboutText() {
  return std::string(kProgramCaption) + "\r\n\r\n" + kDescription + "\r\n\r\n" + kClassroomNote;
}

// The form's default values: what the fields show when created and after
// "&Neu", and what a missing stored value loads as.
inline constexpr const char* kDefaultTitle = "Seitentitel eingeben";
inline constexpr const char* kDefaultAuthor = "Vorname Name";
inline constexpr const char* kDefaultKeywords =
    "Schl\xFC" "sselw\xF6" "rter f\xFC" "r Suchmaschinen eingeben";
inline constexpr const char* kDefaultMenu =
    "Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum";

// The entries the dialog adds to its system menu.
inline constexpr const char* kGalleryMenuEntry = "&Media: Bildergalerie...";
inline constexpr const char* kContextMenuEntry = "&Kontextmen\xFC" " JPG...";
inline constexpr const char* kSiteCheckMenuEntry = "Website &pr\xFC" "fen...";
inline constexpr const char* kSiteUpdateMenuEntry = "Men\xFC in Website &\xFC" "bernehmen...";
inline constexpr const char* kReadFormMenuEntry = "Formular aus Website &lesen";

// The question before the Explorer commands are switched; lines end with
// a bare CR.
inline constexpr const char* kContextMenuCaption = "JPG-Kontextmen\xFC" "-Eintrag";
inline constexpr const char* kContextMenuQuestion =
    "Kontextmen\xFC" "-Eintr\xE4" "ge f\xFC" "r Ordner\r"
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
