// The system calls the host's file inputs and outputs make, on file
// descriptors. On Windows the C runtime's descriptors serve, opened in binary
// mode; files have no POSIX permissions or inodes there, data is committed
// with _commit and a finished temporary replaces its target in one move.
#pragma once

#include <cstddef>
#include <string>

namespace host::platform {

// Opens `path` to read; -1 (errno set) on failure. It does not block on a
// named pipe (which the caller then refuses), never becomes a controlling
// terminal and is not inherited by started programs.
int openToRead(const std::string& path);
// Opens `path`, an existing file that is not a regular one (a device, a
// pipe), to write in place.
int openToWrite(const std::string& path);
// Makes and opens a new file from `pattern`, whose last six characters are
// "XXXXXX" and are replaced by the name made.
int makeTemporary(std::string& pattern);

std::ptrdiff_t readDescriptor(int fd, void* buffer, std::size_t size);
std::ptrdiff_t writeDescriptor(int fd, const void* bytes, std::size_t size);
int closeDescriptor(int fd);
// Waits until the file's data is on the disk (0, or -1 and errno).
int syncDescriptor(int fd);
// Gives the file the permissions `mode` (nothing on Windows).
int setFileMode(int fd, unsigned mode);
// The permissions a newly created file gets: 0666 without the umask's bits.
unsigned newFileMode();

// Removes a file; async-signal-safe on POSIX.
int removeFile(const char* path);
// Renames `from` over `to` in one step.
int replaceFile(const char* from, const char* to);
// The absolute path of `path` with its links resolved, written into
// `resolved` (PATH_MAX bytes); null (errno set) on failure.
char* realPath(const char* path, char* resolved);
// What tells an existing file from every other: its device and inode, or on
// Windows (no inode numbers) its absolute path.
std::string fileIdentity(const std::string& path, unsigned long long device, unsigned long long inode);
// The characters that separate a path's folders: "/" (and "\\" on Windows).
const char* pathSeparators();

}  // namespace host::platform
