#include "ledger_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "profile/profile_file.h"
#include "trusted_path.h"
#include "terminal_text.h"

namespace trotix {

namespace {

// Moves the file at `path` to "path.damaged", or "path.damaged-2" and so
// on when that name is taken: never over anything. The new name, or "".
std::string MoveAside(const std::string& path, std::string& why) {
  for (int n = 1; n < 1000; ++n) {
    std::string name = path + ".damaged";
    if (n > 1) name.append("-").append(std::to_string(n));
    if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) return name;
    if (errno == EEXIST) continue;
    if (errno == EINVAL || errno == ENOSYS) {
      // A file system without a no-replace rename: look first.
      struct stat st {};
      if (lstat(name.c_str(), &st) == 0) continue;
      if (rename(path.c_str(), name.c_str()) == 0) return name;
    }
    why = std::strerror(errno);
    return {};
  }
  why = "every name for it is taken";
  return {};
}

}  // namespace

std::string LedgerPathBeside(const std::string& position_file) {
  return FolderOf(position_file) + "/" + kLedgerFileName;
}

LedgerLoad LoadLedgerFile(const std::string& path) {
  LedgerLoad load;
  std::string problem;
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return load;
    load.notice = "Trotix: the ledger " + TerminalSafe(path) + " cannot be looked at (" + std::strerror(errno) +
                  "); a new purse is started";
    return load;
  }
  if (S_ISLNK(st.st_mode)) {
    problem = "is a symbolic link";
  } else if (S_ISDIR(st.st_mode)) {
    problem = "is a folder";
  } else if (!S_ISREG(st.st_mode)) {
    problem = "is not an ordinary file";
  } else if (static_cast<std::size_t>(st.st_size) > kProfileFileReadLimit) {
    problem = "is larger than a ledger can be";
  } else {
    const ProfileFileRead file = ReadProfileFile(path, LinkPolicy::kRefuse);
    if (file.status == ProfileFileStatus::kUntrusted) {
      load.notice = "Trotix: " + TerminalSafe(file.untrusted) + " could be changed by someone other than you or root; the ledger " +
                    TerminalSafe(path) + " is not read, and a new purse is started";
      return load;
    }
    if (file.status == ProfileFileStatus::kMissing) return load;
    if (file.status != ProfileFileStatus::kOk) {
      problem = "cannot be read";
    } else {
      const LedgerRead read = ReadLedgerText(file.text);
      if (read.ok) {
        load.read = read;
        return load;
      }
      problem = "is damaged: " + read.problem;
    }
  }
  std::string why;
  load.kept_as = MoveAside(path, why);
  load.notice = "Trotix: the ledger " + TerminalSafe(path) + " " + problem +
                (load.kept_as.empty() ? "; it could not be moved aside (" + why + ")"
                                      : "; it is kept as " + TerminalSafe(load.kept_as)) +
                ", and a new purse is started";
  return load;
}

std::string StoreLedger(const std::string& path, std::int64_t purse, int refills,
                        const std::optional<LedgerEntry>& entry, std::size_t number) {
  const std::string purse_text = std::to_string(purse);
  const std::string refills_text = std::to_string(refills);
  const std::string key = LedgerRaceKey(number);
  const std::string line = entry ? LedgerLineText(*entry) : std::string();
  std::vector<ProfileSetting> settings{{kLedgerPurseKey, purse_text}, {kLedgerRefillsKey, refills_text}};
  if (entry) settings.push_back({key, line});
  const ProfileSaveResult saved = WriteProfileStrings(kLedgerSection, settings, path, LinkPolicy::kRefuse);
  if (Saved(saved.status)) return {};
  std::string why = "the system refused to write it";
  switch (saved.status) {
    case ProfileFileStatus::kSymbolicLink: why = "it is a symbolic link"; break;
    case ProfileFileStatus::kUntrusted: why = TerminalSafe(saved.untrusted) + " could be changed by others"; break;
    case ProfileFileStatus::kNotOrdinary: why = "it is not an ordinary file"; break;
    case ProfileFileStatus::kReadOnly: why = "it is read-only"; break;
    case ProfileFileStatus::kTooLarge: why = "it is full"; break;
    default: break;
  }
  return "Trotix: the ledger could not be stored in " + TerminalSafe(path) + " (" + why + ")";
}

}  // namespace trotix
