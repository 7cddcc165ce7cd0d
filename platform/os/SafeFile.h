// Saving a whole file so that a failed save never destroys what was there: the new contents go to a
// new file beside the old one, which is then renamed over it. On any failure the new file is
// removed and the old one stays as it was.
//
// The new file has no name while it is written where the file system allows that; it is then
// named, and otherwise created, as "." + the target's name + ".~brenvo-" + 16 random hex digits: a
// hidden name that no user's file has and no two saves share. A save holds a lock on its new file
// until it has replaced the target.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

// Results for a target that is neither a regular file nor a folder (EISDIR): a save cannot replace
// it and a load does not read it. They are no errno values; FileErrorText names them.
constexpr int kErrorTargetIsPipe = 0x10001;    // a named pipe or a socket
constexpr int kErrorTargetIsDevice = 0x10002;  // a character or block device

// The result for a target of this mode that is no regular file.
int NotARegularFileError(mode_t mode);

// The text of an errno or of one of the results above, for the operator ("Is a pipe").
const char* FileErrorText(int error);

// Returns 0 when `path` now holds exactly `contents`, otherwise the errno of the step that failed
// (or a result above); the file at `path` is then unchanged (or still absent). A replaced file
// keeps its permission bits; one that the user may not write is not replaced (EACCES). A symbolic
// link is followed, so its target is what gets replaced. A new file that an earlier save of the
// same target left behind when it died part-way is removed once it is certainly dead: named as
// above, a regular file of this user with one link, locked by no save, and unchanged for an hour
// by the file system's own clock (a save on another machine whose locks do not reach this one is
// never that slow). Nothing else is ever removed.
int WriteFileSafely(const std::string& path, const std::string& contents);

// For tests: called with the path of a save's new file while it has its name, just before it
// replaces the target (nullptr: nothing); and whether a save may write its new file without a
// name first (true, the default, where the file system allows it).
void SetSafeSaveStepForTesting(std::function<void(const std::string& newFile)> step);
void SetUnnamedNewFilesForTesting(bool allowed);
