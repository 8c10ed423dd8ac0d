#pragma once
// The texts of the gallery snippet builder, apart from any file system: the
// figure block of one picture, its encoded source name and its caption.
// Picture names are UTF-8, as the directory search hands them over and as
// _Bilder.txt is written.
#include <array>
#include <string>
#include <string_view>

namespace trellan {

inline constexpr const char* kGalleryListFile = "_Bilder.txt";
// Searched in this order, each relative to the site folder; all pictures
// of one pattern are listed before those of the next.
inline constexpr std::array<const char*, 7> kGallerySearchPatterns = {
    "media\\*.jpg", "media\\*.jpeg", "media\\*.jfif", "media\\*.svg",
    "media\\*.png", "media\\*.gif",  "media\\*.webp"};
inline constexpr const char* kGalleryNoticeCaption = "Media: Bildergalerie";

// Thumbnails and web copies made beside the pictures ("_t." or "_w." in the
// name, case-sensitive) are left out of the gallery.
bool IsDerivedPictureName(std::string_view utf8_name);

// The name as it stands in src="media/...": letters, digits and -./:_~ stay,
// every other byte becomes %XX (upper-case hex).
std::string EncodeSourceName(std::string_view utf8_name);

// The text shown as title, alt and figcaption: the picture extensions
// removed, underscores turned into blanks, a leading a-z upper-cased.
std::string CaptionOf(std::string_view utf8_name);

// The seven lines of one picture's figure block, CR LF after each, the last
// one empty.
std::string FigureBlock(std::string_view utf8_name);

// The notice after the list file was written (ANSI, bare CR line breaks);
// `list_path` is the list file's full path.
std::string GalleryNoticeText(std::string_view list_path);

}  // namespace trellan
