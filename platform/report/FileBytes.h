#pragma once
// A document the preview saves, written to its file whole.
#include <string>

namespace arc::report {

// Writes the bytes to the file, replacing it.  Raises RuntimeError 75
// ("Path/File access error") when the file cannot be written, after removing
// what was written of it.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

}  // namespace arc::report
