#pragma once
// What the batch needs of the chosen file's place before anything is written:
// a local folder that can be written, and a file that no other program holds.
#include <string>

namespace arc::repair {

// A UNC path (\\server\share\...): the command interpreter cannot make it
// its current folder, in which the batch must run.  A network share mapped
// to a drive letter is a folder like any other to it.
bool IsUncPath(const std::wstring& path);

// Another program has the file open (the ledger keeps its database open
// while it runs): the file cannot be opened for this program alone.
bool InUseByAnotherProgram(const std::wstring& path);

// A new file can be made in the folder.  Checked by making one, which goes
// again when its handle closes.
bool FolderWritable(const std::wstring& folder);

}  // namespace arc::repair
