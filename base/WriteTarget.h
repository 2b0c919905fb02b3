#pragma once
// Where a write of a named file lands, and whether it may: the one rule every
// file the program writes goes through (AtomicFileWriter applies it; the
// ledger's lock file is placed by it).
//
// A symbolic link is followed only as the kernel's protected-symlinks rule
// follows one: when it is this user's own, or its folder is not both sticky
// and writable by others, or it belongs to the owner of its folder. Another
// user's link in a shared folder such as /tmp could otherwise make a save
// replace any file the user (or root) may write. A target that exists and is
// not a regular file (device, FIFO, socket, folder) is never replaced.

#include <string>

namespace orvo {

// The file a write of `path` (a native path) replaces: `path` itself, or the
// file the symbolic links there name (which need not exist yet). Throws
// "ファイル %s はほかのユーザーのシンボリックリンクのため、書き込めません" for a
// link the rule above does not follow, and "ファイル %s は通常のファイルでは
// ありません" when the target is no regular file; both name `path`.
std::string writeTargetOf(const std::string& path);

}  // namespace orvo
