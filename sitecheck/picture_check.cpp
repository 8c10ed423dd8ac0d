// The pictures stage: an img without alt, and a referenced picture too
// heavy or too wide for the web, with the way to a smaller web copy.
#include <algorithm>

#include "sitecheck/check_rules.h"
#include "sitecheck/check_stages.h"
#include "sitecheck/check_text.h"
#include "utils/ascii.h"

namespace trellan::sitecheck {

namespace {

const std::optional<PictureSize>& PictureSizeOf(CheckState& state, std::size_t entry) {
  auto cached = state.picture_sizes.find(entry);
  if (cached == state.picture_sizes.end()) {
    const std::string& path = state.index[entry].path;
    const ReadAt read = [&](std::uint64_t offset, std::size_t length) {
      return state.files.ReadRange(path, offset, length);
    };
    cached = state.picture_sizes.emplace(entry, ReadPictureSize(read)).first;
  }
  return cached->second;
}

// The thumbnail script makes "name_w.ext" beside each picture of the
// formats it knows, writing every name in small letters.
std::string WebCopyFix(const CheckState& state, const std::string& path) {
  const std::string_view name = BaseName(path);
  const std::string_view stem = name.substr(0, name.rfind('.'));
  const std::string extension = ExtensionOf(path);
  if (extension == "svg") return FixText(OtherFix::SimplifyGraphic);
  if (stem.ends_with("_w") || stem.ends_with("_t")) return FixText(OtherFix::ShrinkWebCopy);
  const bool script_format = IsOneOf(extension, kWebCopyExtensions);
  std::string web_name = AsciiLower(stem);
  std::replace(web_name.begin(), web_name.end(), ' ', '-');
  web_name += "_w." + (script_format ? extension : std::string("jpg"));
  const std::string web_path = std::string(FolderOf(path)) + web_name;
  const Lookup existing = state.index.Find(web_path);
  if (existing.found && existing.exact) return FixText(OtherFix::UseWebCopy, {{"copy", web_path}});
  if (!script_format) return FixText(OtherFix::ConvertToJpeg, {{"copy", web_path}});
  return FixText(FindingKind::LargePicture, {{"copy", web_path}});
}

}  // namespace

void CheckAlt(CheckState& state, std::size_t page, const HtmlToken& tag) {
  if (tag.name != "img" || tag.Attribute("alt") != nullptr) return;
  const auto* src = tag.Attribute("src");
  const std::string subject = src != nullptr ? *src : std::string("<img>");
  state.sink.Add(state.PathOf(page), FindingKind::MissingAlt, tag.line, subject, subject);
}

void CheckPictureSize(CheckState& state, std::size_t page, int line, std::size_t entry) {
  const SiteEntry& picture = state.index[entry];
  const auto& size = PictureSizeOf(state, entry);
  const bool heavy = picture.size > kLargePictureBytes;
  const bool wide = size && size->width > kLargePictureWidth;
  if (!heavy && !wide) return;
  std::string subject = picture.path + " (" + SizeText(picture.size);
  if (size)
    subject += ", " + std::to_string(size->width) + " × " + std::to_string(size->height) + " px";
  subject += ")";
  if (Finding* finding = state.sink.Add(state.PathOf(page), FindingKind::LargePicture, line,
                                        picture.path, subject))
    finding->fix = WebCopyFix(state, picture.path);
}

}  // namespace trellan::sitecheck
