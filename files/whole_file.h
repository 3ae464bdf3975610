// Files the programs write whole, with the care the game takes of its
// position file: links and folders that someone else could change are
// refused, and the new text goes to a temporary file beside the old one
// that then replaces it. Plain C++ and POSIX calls; paths are bytes.
#pragma once

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace trotix {

// What a symbolic link in the file's place stands for. kRefuse: a link is
// never read, written through or replaced, whoever it points to.
// kFollowToOwnFile: a link is followed when the link and every folder on the
// way to it and to its target pass UntrustedOnTheWay (trusted_path.h) and the
// target is a regular file of the user's, as dotfile managers expect; the
// file it points to is read and replaced, and the link stays.
enum class LinkPolicy {
  kRefuse,
  kFollowToOwnFile,
};

enum class FileStatus {
  kOk,
  kSavedWithoutLock,  // position file only: saved, without the folder's lock
  kMissing,           // reading only: no such file
  kSymbolicLink,      // a link that the policy does not follow
  kUntrusted,         // a link, or a folder written in, that someone else could change
  kNotOrdinary,       // a folder, a pipe or a device of that name
  kReadOnly,          // writing only: the file's owner may not write it, so it stays
  kUnknownEncoding,   // position file only: an encoding the game cannot write back
  kOtherOwner,        // replacing the file would change who owns it
  kTooLarge,          // larger than the most that is read
  kRefused,           // position file only: names or value refused
  kFailed,            // the system refused to read or write
};

// The file a path stands for under a policy: the path itself when it is not
// a link, the link's final target when the policy follows it. `status` is
// kOk, kSymbolicLink, kUntrusted or kFailed; whether the file exists and is
// ordinary is judged when it is opened.
struct FileTarget {
  FileStatus status = FileStatus::kOk;
  std::string path;
  std::string untrusted;  // with kUntrusted: the link or folder that failed the rule
};
FileTarget ResolveFileTarget(const std::string& path, LinkPolicy policy);

// Writes `bytes` to a temporary file beside `path` and renames it over it.
// With `old`, the file replaced: its owner, group and permissions go to the
// new one; when its owner cannot be kept (only root may give a file away),
// nothing is replaced. kOk, kOtherOwner or kFailed; a failure leaves no
// temporary file and `path` as it was.
FileStatus ReplaceFile(const std::string& path, std::string_view bytes, const struct stat* old);

// Removes the temporary files that earlier writes of `path` left behind when
// they were killed: names ReplaceFile gives, regular files of the user's,
// made by a process that is gone.
void RemoveStaleTemporaries(const std::string& path);

// Where a whole-file write of `path` would go, checked before anything is
// made to write (a long run first, say): `path` resolved under `policy`, its
// folder passing UntrustedOnTheWay and open to the user's writes, and an
// existing file there regular and not read-only. Nothing is opened, so a
// pipe of that name cannot hang the check. `st` is the existing file's.
struct WholeFileTarget {
  FileStatus status = FileStatus::kFailed;
  std::string path;
  std::string untrusted;
  bool exists = false;
  struct stat st {};
  int error = 0;  // with kFailed: errno, when the system said why
};
WholeFileTarget CheckWholeFileTarget(const std::string& path, LinkPolicy policy = LinkPolicy::kFollowToOwnFile);

// Makes `bytes` the whole of the file at `path`, after the checks of
// CheckWholeFileTarget, through ReplaceFile: a crash or a full disk leaves the
// old file or the new one, never a part of either. kOk, or why not.
WholeFileTarget WriteWholeFile(const std::string& path, std::string_view bytes,
                               LinkPolicy policy = LinkPolicy::kFollowToOwnFile);

// Why a write was refused, for a message: "it is a link", ...
std::string FileProblem(const WholeFileTarget& target);

}  // namespace trotix
