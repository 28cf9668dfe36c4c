#pragma once
// Whether the CD directory lies on an optical disc. The voice archives of some games are only
// taken from the disc itself, never from a copy of it on a hard disk, so the answer comes from
// the mount table: a mounted disc is also a disc that is in its drive.

#include <filesystem>
#include <string_view>

namespace orv {

// True when the absolute path `path` lies on a mount listed in `mountTable` (text in the form
// of /proc/self/mounts) that holds an optical disc: the longest mount point containing the
// path decides, and it is a disc when its filesystem is iso9660 or udf or its device is a
// /dev/sr* or /dev/cdrom* drive.
bool PathIsOnOpticalDisc(std::string_view mountTable, std::string_view path);

// Checks `directory` (made canonical first) against this process's mount table. False when
// the directory does not exist or the table cannot be read.
bool DirectoryIsOnOpticalDisc(const std::filesystem::path& directory);

} // namespace orv
