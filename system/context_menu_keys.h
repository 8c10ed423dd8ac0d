#pragma once
// The image viewer's two Explorer folder commands in the registry: finding
// the viewer, writing the commands' keys and deleting them again. Nothing
// here asks the user; the dialog does, from the outcome.

namespace trellan {

enum class ContextMenuOutcome {
  Added,          // both commands name the viewer found
  Removed,        // neither command is there any longer
  ViewerMissing,  // no viewer at its candidate places: nothing was written
  Failed,         // a key could not be written or deleted
};

// On: the first viewer candidate that exists is written into both
// commands (keys created as needed, values replaced). Off: both commands'
// keys are deleted, each leaf before its parent, whether or not the viewer
// is there; keys that are not there count as deleted.
ContextMenuOutcome SwitchContextMenu(bool activate);

}  // namespace trellan
