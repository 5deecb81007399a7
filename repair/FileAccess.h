#pragma once
// What the batch needs of the chosen file's place before anything is written:
// a local folder that can be written, and a file that no other program holds.
#include <string>

namespace arc::repair {

// A path the command interpreter cannot run a batch in: a UNC path
// (\\server\share\...) or a drive letter mapped to a network share.
bool IsNetworkPath(const std::wstring& path);

// Another program has the file open (the ledger keeps its database open
// while it runs): the file cannot be opened for this program alone.
bool InUseByAnotherProgram(const std::wstring& path);

// A new file can be made in the folder.  Checked by making one, which goes
// again when its handle closes.
bool FolderWritable(const std::wstring& folder);

}  // namespace arc::repair
