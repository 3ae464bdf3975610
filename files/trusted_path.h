// Whether a place on disk can be changed by anyone but the user and root:
// the rule a careful tool such as OpenSSH applies to its own files, so that
// no one else can plant a link or swap a file on the way to the position
// file. Paths are bytes.
#pragma once

#include <string>

namespace trotix {

// Each folder on the way to `folder` (an absolute path), and `folder`
// itself, must belong to the user or to root, and no one else may write in
// it. A folder on the way may be writable by all if it is sticky, as /tmp
// is: there no one but an entry's owner (or the folder's) may rename or
// remove that entry, and the entry's own owner is checked next. The folder
// itself may not be, since others could create names in it. A symbolic link
// on the way must belong to the user or root, and the folders its target
// lies in are checked in turn.
//
// The first folder or link that fails the rule, or one that cannot be looked
// at (a missing folder included); empty when every one passes.
std::string UntrustedOnTheWay(const std::string& folder);

// Makes `folder` and any missing folders above it, each for the user alone
// (0700), but only inside a folder that passes the rule as one on the way
// (a sticky folder writable by all will do). The
// folder that fails, or the one that could not be made; empty when `folder`
// exists now. An existing `folder` is left as it is.
std::string MakeTrustedFolder(const std::string& folder);

// The folder part of `path`: "." without a slash, "/" for a file at the root.
std::string FolderOf(const std::string& path);

}  // namespace trotix
