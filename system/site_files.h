#pragma once
// The generation run on the file system: where the site folder is, what it
// holds, and carrying out a run's plan there.
#include <string>
#include <vector>

#include "generator/site_plan.h"

namespace trellan {

// "<desktop>\CSS-Musterseite\": the folder of the site, with its trailing
// backslash, in the ANSI code page.
std::string SiteFolderPath();

// What `folder` holds before a run, from one look at its "*.html": whether
// "index.html" is there (a file or a folder), and the files among them.
FolderContents ScanSiteFolder(const std::string& folder);

// Carries out the steps in order. When the site folder itself cannot be
// created, nothing else is done. Otherwise a failed step does not stop the
// run: the files that could not be written are returned, each with its
// cause. Every file is written whole or not at all (text_file_writer.h).
// The results of creating the subfolders, deleting and starting Explorer
// are not looked at.
RunOutcome CarryOut(const SitePlan& plan);

}  // namespace trellan
