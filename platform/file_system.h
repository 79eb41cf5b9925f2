#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

// Files and folders addressed by Windows-style path strings such as "c:\windows\system32\comdlg32.ocx".
// "\" and "/" both separate components; a path without a drive letter is relative to the process's
// current folder, one starting with "\" to the root of the current drive. Names are matched without
// regard to letter case. Every failure carries the platform's description text.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The length in bytes of the file at `path`. Fails for a missing file, a folder, or a file that
  // cannot be read. Callers use it as an existence test.
  virtual Result<std::uint64_t> FileLength(const std::string& path) = 0;

  // At most `limit` bytes from the start of the file at `path`, fewer when the file is shorter.
  // Fails for a missing file, a folder, or a file that cannot be read.
  virtual Result<std::string> ReadFileBytes(const std::string& path, std::uint64_t limit) = 0;

  // The file's last-modification date as the local calendar shows it, "yyyymmdd". Needs no right
  // to read the file. Fails when the file is missing or is a folder.
  virtual Result<std::string> ModificationDate(const std::string& path) = 0;

  // Whether `path` names an existing file that holds data on a disk: not a folder, a device, a FIFO
  // or a socket. Links are followed. Needs no right to read the file.
  virtual bool IsRegularFile(const std::string& path) = 0;

  // Copies `source` to `destination`, replacing an existing destination file. Crash-safe: the data
  // goes to a temporary file in the destination folder, which gets the source's modification time,
  // is flushed and then, still open, renamed over the destination. On failure the temporary file is
  // removed and the destination is exactly as it was; what a killed copy leaves is for
  // RecoverLeftovers. Fails, changing nothing, when both paths name one file or when the
  // destination is read-only. On Windows a destination that another program holds is tried again
  // for about a second, since virus scanners and indexers hold files only briefly; one that a
  // running program keeps holding, so that nothing can be renamed over it, is itself renamed aside
  // for the new file and deleted at the next restart (the program keeps it until it ends);
  // `*replaced_in_use`, when given, tells whether the copy went that way.
  virtual Status CopyReplacing(const std::string& source, const std::string& destination,
                               bool* replaced_in_use = nullptr) = 0;

  // Puts right, then tidies, what earlier copies to `path` left in its folder. First, when no file
  // has the name `path` but an old file renamed aside for a copy to it is there (a copy was killed
  // between its two renames, or could not rename the old file back), the newest such file takes the
  // name back. Then the temporary files of interrupted copies, and the old files renamed aside that
  // no program holds any more, are deleted, with the restart entries that were to delete them.
  // Nothing else there is touched; failures change nothing. Call it only while holding the
  // installation lock: a copy under way in another run looks like a killed one.
  virtual void RecoverLeftovers(const std::string& path) = 0;

  // Whether the files `first` and `second` both exist, can be read and hold the same bytes.
  virtual bool SameContent(const std::string& first, const std::string& second) = 0;

  // Whether `first` and `second` name one existing file or folder: under any spelling, through a
  // link, or as two names (hard links) of one file. False when either is missing or cannot be examined.
  virtual bool SameFile(const std::string& first, const std::string& second) = 0;

  // Whether `path` names an existing folder (or a link to one). False for a file, a missing path or
  // one that cannot be examined.
  virtual bool IsFolder(const std::string& path) = 0;

  // Whether `path` names the running program's own file, under any spelling or through a link.
  virtual bool IsRunningProgram(const std::string& path) = 0;

  // Makes `bytes` the whole content of the file at `path`, created or replaced crash-safe: they go to
  // a temporary file in the same folder, which is flushed and then renamed over `path`. On failure
  // the temporary file is removed and `path` is exactly as it was. A `path` that names something
  // other than a file on a disk (a character device, a FIFO, a Windows device name such as NUL, CON
  // or "c:\nul.txt") is written into directly and never replaced; a FIFO that nobody reads fails
  // at once rather than waiting for a reader. On POSIX a symbolic link is replaced, never followed,
  // and the names of the process's own descriptors (/dev/stdout, /dev/fd/N, /proc/self/fd/N) are
  // written into those descriptors, whatever they are.
  virtual Status WriteFileReplacing(const std::string& path, const std::string& bytes) = 0;

  // Creates the one folder `path`, whose parent must exist. Fails when it exists already.
  virtual Status MakeFolder(const std::string& path) = 0;

  // The drives that can be named, lower case with a colon ("c:", "d:"), in letter order.
  virtual std::vector<std::string> Drives() = 0;

  // The current folder of `drive` ("c:" or any path on that drive) as a folder string without a
  // trailing "\" except at a root ("c:\", "c:\users\ebrona"). It is the process's current folder for
  // the drive that holds it and the root for every other drive. Fails when the drive cannot be used.
  virtual Result<std::string> DriveCurrentFolder(const std::string& drive) = 0;

  // The names of the sub-folders of `folder`, sorted without regard to letter case.
  // Fails when the folder cannot be read.
  virtual Result<std::vector<std::string>> SubFolders(const std::string& folder) = 0;

  // The folders that hold the system's own programs, its regsvr32.exe among them. On Windows the
  // system directory and, on 64-bit Windows, the one of 32-bit programs; in a Wine prefix the
  // folders where Windows versions keep them: c:\windows\sysWOW64, c:\windows\system32,
  // c:\windows\system and c:\winnt\system32. Compare them with SameFile, not by spelling.
  virtual std::vector<std::string> SystemFolders() = 0;
};

}  // namespace platform
