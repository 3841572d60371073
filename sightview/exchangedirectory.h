#pragma once
// Drive B: of the sight view. The first panel picture "b:\mg.jpg" and the exchange file
// "b:\image2.jpg" live in one directory that belongs to this process alone: created with mode
// 0700 under $XDG_RUNTIME_DIR (else /dev/shm, else /tmp) on first use, removed with its
// files when the process exits normally. Two programs therefore never read each other's
// half-written exchange file.

#include <string>

// The exchange directory, created on first call; empty when it cannot be created.
const std::string& exchangeDirectory();

// Maps a drive-B name such as "b:\image2.jpg" into the exchange directory; any other name is
// returned unchanged. Empty when the exchange directory cannot be created.
std::string driveBPath(const std::string& windowsName);

// Puts the first panel picture into the exchange directory when it has none yet: a copy of
// "mg.jpg" as found along the image search path (the installation data). Returns false when
// there is none to copy and the directory holds none either.
bool seedFirstPanelPicture();
