#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <string_view>

#include "core/file_descriptor.h"

// Where a write lands: a folder held open and a name in it. Links are followed one step at a time from
// descriptors, so the link whose owner was checked is the link whose target is followed, and the folder
// found is the folder written in, however the names change meanwhile.

struct WritePlace {
    FileDescriptor folder;       // an O_PATH descriptor of the folder; valid when error is 0
    std::string name;            // the name in that folder: a regular file, or nothing yet
    int error = 0;               // errno of the step that failed
    std::string refusedLink;     // with EACCES: another user's link in a shared folder, not followed
    bool leavesFolder = false;   // with EXDEV: beneath a folder, a link leads out of it
};

// As the kernel's protection for links in sticky world-writable folders, whatever the system's setting
// says: in such a folder only a link of `user`'s or of the folder's owner is followed.
bool MayFollowLink(const struct stat& folder, uid_t linkOwner, uid_t user);

// Follows `path` from the root (or the working folder, for a relative path) one name at a time, at most
// 40 links, each followed only as MayFollowLink allows. The last name's link is followed when
// `followLastLink`, else the link itself is the place. Fails (error set) for a path that ends at a folder
// or at anything but a regular file, for a missing folder, and for a loop.
WritePlace FindWritePlace(const std::string& path, bool followLastLink);

// `name` (one name, no '/') beneath the folder open as `folderFd`: a link is followed only when its target
// is relative, holds no "..", and its folder opens beneath `folderFd` (openat2 RESOLVE_BENEATH, or name by
// name without following links where the kernel has no openat2). A link that leads out gives EXDEV with
// `leavesFolder`; a folder part that keeps changing (EAGAIN three times) gives EAGAIN.
WritePlace FindWritePlaceBeneath(int folderFd, std::string_view name);

// For tests: resolve folder parts name by name even where the kernel has openat2.
void UseOpenat2ForBeneath(bool use);
