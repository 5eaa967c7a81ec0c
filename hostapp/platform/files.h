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
// Makes and opens to write a new file `path` with the permissions `mode`;
// -1 (errno EEXIST) when a file of that name exists.
int createNewFile(const std::string& path, unsigned mode);
// Opens `path` to read and write, made when missing (a lock file).
int openLockFile(const std::string& path);
// Waits for an exclusive advisory lock on the open file (flock; LockFileEx on
// Windows); closing the descriptor releases it. 0, or -1 and errno.
int lockDescriptor(int fd);
// Whether the open file `fd` is still the one named `path` (a lock file
// removed by the run that held it is not). On Windows an open file cannot
// be removed, so it always is.
bool isNamedFile(int fd, const std::string& path);

std::ptrdiff_t readDescriptor(int fd, void* buffer, std::size_t size);
std::ptrdiff_t writeDescriptor(int fd, const void* bytes, std::size_t size);
int closeDescriptor(int fd);
// Waits until the file's data is on the disk (0, or -1 and errno).
int syncDescriptor(int fd);
// Gives the file the permissions `mode` (nothing on Windows).
int setFileMode(int fd, unsigned mode);
// Gives the file the owner and group `user` and `group` as far as the
// process may (all of it as root, a group it is in otherwise); nothing on
// Windows. 0, or -1 and errno when nothing could be changed.
int setFileOwner(int fd, unsigned long long user, unsigned long long group);
// The permissions a newly created file gets: 0666 without the umask's bits.
unsigned newFileMode();
// Whether this process may write `path` (a file, or a folder to make files
// in), judged as the system would for its effective user; errno says why not.
bool mayWrite(const std::string& path);
// The longest file name the folder takes (NAME_MAX; 255 on Windows).
std::size_t maxNameLength(const std::string& folder);

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
