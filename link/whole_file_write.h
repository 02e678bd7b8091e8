#pragma once
// Replacing a file so that it holds either all of its old content or all of its new one:
// a crash, a full disk or a refused write never leaves half a file behind.

#include <string>

namespace vk {

// Writes `bytes` as the whole content of the file at `path`, creating it when nothing is
// there. A link is written through: the file it points to is replaced, the link stays.
// A replaced file keeps its permissions. The bytes go to a new file of a name of its own
// beside the target, which is then renamed over it; nothing else in the folder is touched.
// False, leaving whatever is at `path` as it was, when the path holds anything but a
// regular file (or a link to one) or nothing, when nobody may write the file (no write
// permission for anyone, or refused by the system), or when writing or renaming failed;
// `error` (unless null) then says why, in a few words to follow "path: ".
bool ReplaceFileWhole(const std::string& path, const std::string& bytes, std::string* error);

} // namespace vk
