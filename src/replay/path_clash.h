// Outputs never overwrite inputs: before anything is written, the files a
// program is asked to write are compared with the files it reads (and the
// play data) and with each other, as files, not as spellings.
#pragma once

#include <string>
#include <vector>

// A file named on the command line, with the option that named it.
struct NamedPath {
    std::string option;  // "--record", "--input", "the play data", ...
    std::string path;
};

// The play data file of the current folder, as an input every run reads.
NamedPath play_data_input();

// "" when every output is a file of its own; else one line naming the two
// options that name one file. Outputs and inputs that do not exist yet are
// compared by folder and name, existing ones by device and inode, links
// followed. Devices and pipes are never a clash.
std::string find_path_clash(const std::vector<NamedPath>& outputs,
                            const std::vector<NamedPath>& inputs);
