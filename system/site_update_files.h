#pragma once
// "Menü in Website übernehmen" on the file system: reading every page of
// the site folder and its sub-folders, and carrying out the update's plan,
// a backup of everything it touches first and everything put back when a
// change fails part-way.
#include <string>
#include <vector>

#include "siteupdate/site_update.h"
#include "siteupdate/update_texts.h"

namespace trellan {

// Every page (".html", ".htm") of `folder` (ANSI, with its trailing
// backslash) and its sub-folders, read whole; the backups and the site
// check's report are not pages of the site. A page that cannot be read, or
// whose name Windows-1252 cannot spell (the program writes by ANSI names),
// comes without its bytes.
std::vector<siteupdate::SitePage> ReadSitePages(const std::string& folder);

// First every file the plan rewrites or removes is copied to a new folder
// "_Sicherung\<JJJJ-MM-TT_hh-mm-ss>\" in `folder`, under its relative name;
// when that fails, the copy is removed again and nothing changes. Then the
// files are written whole and the removed ones deleted; when one fails, the
// files already changed get their bytes from before back.
siteupdate::UpdateOutcome CarryOutUpdate(const std::string& folder,
                                         const siteupdate::UpdatePlan& plan);

}  // namespace trellan
