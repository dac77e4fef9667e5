#pragma once
// The places a user picks as roots of a folder tree: "/" and the mounted file
// systems that hold files (disks, removable media, network shares), never the
// kernel's pseudo file systems. Each item ends with the path separator.
#include <string_view>

#include "common/arrays.h"

// "/" first, then the mount points of the system's mount table in its order.
rg_Ombrine_base::rg_WenBenShuZuLei ListDrives();

// The same from the text of a mount table (the format of /proc/self/mounts);
// `isFolder` tells whether a mount point is a folder (bind mounts of single
// files are left out). ListDrives passes the live table.
rg_Ombrine_base::rg_WenBenShuZuLei DrivesFromMountTable(std::string_view mounts,
                                                        bool (*isFolder)(const char* path));
