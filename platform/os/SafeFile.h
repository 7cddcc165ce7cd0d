// Saving a whole file so that a failed save never destroys what was there: the new contents go to a
// new file beside the old one, which is then renamed over it. On any failure the new file is
// removed and the old one stays as it was.
#pragma once

#include <sys/types.h>

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
// link is followed, so its target is what gets replaced. New files that an earlier save of the
// same target left behind when its process died part-way are removed.
int WriteFileSafely(const std::string& path, const std::string& contents);
