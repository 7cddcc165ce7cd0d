// Saving a whole file so that a failed save never destroys what was there: the new contents go to a
// new file beside the old one, which is then renamed over it. On any failure the new file is
// removed and the old one stays as it was.
#pragma once

#include <string>

// Returns 0 when `path` now holds exactly `contents`, otherwise the errno of the step that failed;
// the file at `path` is then unchanged (or still absent). A replaced file keeps its permission
// bits; one that the user may not write is not replaced (EACCES). A symbolic link is followed, so
// its target is what gets replaced.
int WriteFileSafely(const std::string& path, const std::string& contents);
