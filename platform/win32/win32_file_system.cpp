#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>

#include "platform/win32/file_identity.h"
#include "platform/win32/handle.h"
#include "platform/win32/replacing_copy.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool HasDriveLetter(const std::wstring& path) {
  return path.size() >= 2 && path[1] == L':' && std::iswalpha(path[0]);
}

// A folder string with drive letters in lower case, as the drive list names them, and without a
// trailing "\" except at a drive's root.
std::wstring NormalFolder(std::wstring folder) {
  if (HasDriveLetter(folder)) folder[0] = static_cast<wchar_t>(std::towlower(folder[0]));
  while (folder.size() > 3 && IsSeparator(folder.back())) folder.pop_back();
  return folder;
}

// GetFullPathNameW and GetCurrentDirectoryW both report the size they need when the buffer is short.
template <class Call>
std::wstring GrowingBufferCall(Call call) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = call(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(length);
  }
}

// Whether `path` stands for a device, as "CON" and "c:\logs\nul.txt" do: its full path is then
// the device's, "\\.\CON", rather than one in a folder.
bool NamesDevice(const std::wstring& path) {
  const std::wstring full = GrowingBufferCall([&path](DWORD size, wchar_t* buffer) {
    return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
  });
  return full.starts_with(L"\\\\.\\");
}

// Writes all of `bytes` to the open device or pipe `to`.
Status WriteInto(HANDLE to, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (!WriteFile(to, bytes.data() + done, chunk, &written, nullptr)) return LastErrorFailure();
    if (written == 0) return SystemFailure(ERROR_WRITE_FAULT);
    done += written;
  }
  return Status::Ok();
}

}  // namespace

Result<std::uint64_t> Win32FileSystem::FileLength(const std::string& path) {
  // Opening for reading fails for a missing file, for one that may not be read and for a folder
  // (without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened), which is what the test needs.
  Handle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastErrorFailure();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return LastErrorFailure();
  return static_cast<std::uint64_t>(size.QuadPart);
}

Result<std::string> Win32FileSystem::ReadFileBytes(const std::string& path, std::uint64_t limit) {
  // As for FileLength, opening fails for a missing file, one that may not be read and a folder.
  Handle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastErrorFailure();
  std::string bytes;
  char chunk[65536];
  while (bytes.size() < limit) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::uint64_t>(sizeof chunk, limit - bytes.size()));
    DWORD got = 0;
    if (!ReadFile(file.get(), chunk, wanted, &got, nullptr)) return LastErrorFailure();
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  return bytes;
}

Result<std::string> Win32FileSystem::ModificationDate(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data)) return LastErrorFailure();
  // A folder is not a file: it fails as opening it for reading would.
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return SystemFailure(ERROR_ACCESS_DENIED);
  // The date as the local calendar showed it at that moment, with the daylight saving time of
  // that day rather than of today.
  SYSTEMTIME utc;
  SYSTEMTIME local;
  if (!FileTimeToSystemTime(&data.ftLastWriteTime, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    return LastErrorFailure();
  }
  char text[16];
  std::snprintf(text, sizeof text, "%04u%02u%02u", unsigned{local.wYear}, unsigned{local.wMonth}, unsigned{local.wDay});
  return std::string(text);
}

bool Win32FileSystem::IsRegularFile(const std::string& path) {
  // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened; reading attributes needs no right
  // to read the file. A device name such as NUL opens as a character device, not as a disk file.
  Handle file(CreateFileW(WideFromUtf8(path).c_str(), FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
  return file.valid() && GetFileType(file.get()) == FILE_TYPE_DISK;
}

Status Win32FileSystem::CopyReplacing(const std::string& source, const std::string& destination,
                                      bool* replaced_in_use) {
  return CopyFileReplacing(WideFromUtf8(source), WideFromUtf8(destination), replaced_in_use);
}

void Win32FileSystem::RemoveLeftovers(const std::string& path) { RemoveLeftoversOf(WideFromUtf8(path)); }

bool Win32FileSystem::SameFile(const std::string& first, const std::string& second) {
  // The second file is opened only when the first exists: an open handle, however briefly held,
  // makes another program's rename over that file fail, and the log's check asks about many
  // components while another run may be replacing them.
  const auto one = FileInformation(WideFromUtf8(first));
  if (!one) return false;
  const auto other = FileInformation(WideFromUtf8(second));
  return other && win32::SameFile(*one, *other);
}

bool Win32FileSystem::IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::IsRunningProgram(const std::string& path) {
  const std::wstring program = GrowingBufferCall([](DWORD size, wchar_t* buffer) {
    // A full buffer holds a truncated name: ask again with a larger one.
    const DWORD length = GetModuleFileNameW(nullptr, buffer, size);
    return length == size ? size + 1 : length;
  });
  return SameFile(Utf8FromWide(program), path);
}

Status Win32FileSystem::WriteFileReplacing(const std::string& path, const std::string& bytes) {
  const std::wstring wide = WideFromUtf8(path);
  // A device (NUL, CON, COM1, "c:\nul.txt", wherever a device name stands) or a pipe takes the
  // bytes as they come and has no folder for a temporary file: it is written into. Opening an
  // existing file for writing changes nothing in it.
  Handle existing(CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  const DWORD open_error = GetLastError();
  if (existing.valid() && GetFileType(existing.get()) != FILE_TYPE_DISK) return WriteInto(existing.get(), bytes);
  // A device that cannot be opened (CON without a console) fails for that reason.
  if (!existing.valid() && NamesDevice(wide)) return SystemFailure(open_error);
  existing.Close();  // the file is replaced by renaming, which an open handle would prevent
  return win32::WriteFileReplacing(wide, bytes);
}

Status Win32FileSystem::MakeFolder(const std::string& path) {
  if (!CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr)) return LastErrorFailure();
  return Status::Ok();
}

std::vector<std::string> Win32FileSystem::Drives() {
  // "C:\", "D:\", ... one after another, each ending with a null character.
  const std::wstring roots = GrowingBufferCall([](DWORD size, wchar_t* buffer) {
    return GetLogicalDriveStringsW(size, buffer);
  });
  std::vector<std::string> drives;
  for (const wchar_t* root = roots.c_str(); *root != L'\0'; root += std::wcslen(root) + 1) {
    if (std::iswalpha(root[0])) drives.push_back({static_cast<char>(std::towlower(root[0])), ':'});
  }
  std::sort(drives.begin(), drives.end());
  return drives;
}

Result<std::string> Win32FileSystem::DriveCurrentFolder(const std::string& drive) {
  const std::wstring wide = WideFromUtf8(drive);
  std::wstring folder;
  if (HasDriveLetter(wide)) {
    // "X:" alone is the drive's current folder as the system keeps it: the process's current
    // folder on its own drive, otherwise what was last used there, else the root.
    const std::wstring bare{wide[0], L':'};
    folder = GrowingBufferCall([&bare](DWORD size, wchar_t* buffer) {
      return GetFullPathNameW(bare.c_str(), size, buffer, nullptr);
    });
  } else {
    folder = GrowingBufferCall([](DWORD size, wchar_t* buffer) { return GetCurrentDirectoryW(size, buffer); });
  }
  if (folder.empty()) return LastErrorFailure();
  // A drive without a medium, or one whose folder has gone, fails here with the system's text.
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastErrorFailure();
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return SystemFailure(ERROR_DIRECTORY);
  return Utf8FromWide(NormalFolder(folder));
}

Result<std::vector<std::string>> Win32FileSystem::SubFolders(const std::string& folder) {
  std::wstring pattern = WideFromUtf8(folder);
  if (!pattern.empty() && !IsSeparator(pattern.back()) && pattern.back() != L':') pattern += L'\\';
  pattern += L'*';

  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchLimitToDirectories,
                                        nullptr, 0);
  std::vector<std::wstring> names;
  if (search == INVALID_HANDLE_VALUE) {
    // Nothing at all matched: an empty drive root, which has no "." entry.
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return LastErrorFailure();
  } else {
    do {
      const std::wstring name = entry.cFileName;
      // Limiting the search to folders is only a hint to the file system.
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
        names.push_back(name);
      }
    } while (FindNextFileW(search, &entry));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) return SystemFailure(error);
  }

  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1, nullptr, nullptr,
                           0) == CSTR_LESS_THAN;
  });
  std::vector<std::string> result;
  for (const std::wstring& name : names) result.push_back(Utf8FromWide(name));
  return result;
}

std::vector<std::string> Win32FileSystem::SystemFolders() {
  // A 32-bit program on 64-bit Windows is led from the system directory to the one of 32-bit
  // programs, which GetSystemWow64DirectoryW names; on 32-bit Windows that call fails.
  std::vector<std::string> folders;
  for (UINT(WINAPI * folder_of)(LPWSTR, UINT) : {&GetSystemDirectoryW, &GetSystemWow64DirectoryW}) {
    const std::wstring folder = GrowingBufferCall([folder_of](DWORD size, wchar_t* buffer) {
      return static_cast<DWORD>(folder_of(buffer, size));
    });
    if (!folder.empty()) folders.push_back(Utf8FromWide(folder));
  }
  return folders;
}

}  // namespace platform::win32
