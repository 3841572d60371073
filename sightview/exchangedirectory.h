#pragma once
// Drive B: of the sight view. The first panel picture "b:\mg.jpg" and the exchange file
// "b:\image2.jpg" live in one directory that belongs to this process alone: created with mode
// 0700 under $XDG_RUNTIME_DIR (else /dev/shm, else /tmp) on first use. Two programs therefore
// never read each other's half-written exchange file.
//
// The directory goes on every way out: normal exit, the leave path of desktop/processexit.h
// (taken with worker threads running, on a fatal configuration error and on termination
// signals). A file "owner" inside names the owning process, so that a directory left by a
// process killed outright can be removed by a later start.

#include <string>

namespace sightview {

// The exchange directory, created on first call; empty when it cannot be created.
const std::string& exchangeDirectory();

// Maps a drive-B name such as "b:\image2.jpg" into the exchange directory; any other name is
// returned unchanged. Empty when the exchange directory cannot be created.
std::string driveBPath(const std::string& windowsName);

// Puts the first panel picture into the exchange directory when it has none yet: a copy of
// "mg.jpg" as found along the image search path (the installation data). Returns false when
// there is none to copy and the directory holds none either.
bool seedFirstPanelPicture();

// Removes the exchange directory now, if it was made. Later drive-B names map to nothing.
void removeExchangeDirectory();

// Removes the exchange directories under `base` (default: where this process would make its
// own) that this user's processes left behind: only directories owned by this user whose owner
// file names a process of this process's pid namespace that no longer exists. Returns how
// many went.
int removeStaleExchangeDirectories(const std::string& base = {});

// Where exchange directories are made: $XDG_RUNTIME_DIR, else /dev/shm, else /tmp.
std::string exchangeDirectoryBase();

}  // namespace sightview
