#include "replay/path_clash.h"

#include "platform/file_io.h"
#include "platform/play_data.h"

namespace {

std::string naming(const NamedPath& p) {
    return p.option + " " + p.path;
}

}  // namespace

NamedPath play_data_input() {
    return {"the play data", PLAY_DATA_FILE};
}

std::string find_path_clash(const std::vector<NamedPath>& outputs,
                            const std::vector<NamedPath>& inputs) {
    std::vector<FileIdentity> written;
    for (const NamedPath& out : outputs) {
        const FileIdentity id = identify_file(out.path.c_str());
        // A device or a pipe (/dev/null, a terminal) is no file to clobber.
        if (id.exists && !id.regular) continue;
        for (size_t i = 0; i < written.size(); ++i) {
            if (same_file(id, written[i]))
                return naming(out) + " is the same file as " + naming(outputs[i]) +
                       "; give each output a file of its own";
        }
        for (const NamedPath& in : inputs) {
            if (same_file(id, identify_file(in.path.c_str())))
                return naming(out) + " would overwrite " +
                       (in.option == "the play data" ? "the play data " + in.path : naming(in)) +
                       "; write it to another file";
        }
        written.push_back(id);
    }
    return "";
}
