#pragma once
// The files of a folder, by a pattern of the file system's own (* and ?).
#include <string>
#include <vector>

namespace arc {

// The names (without the folder) of the files of the folder that match the
// pattern, folders left out, in order; none when the folder cannot be read.
std::vector<std::wstring> FileNamesIn(const std::wstring& folder, const std::wstring& pattern);

}  // namespace arc
