#pragma once
// The --out folder of orvelo-batch: its files appear as one set or not at all.
//
// Before any work, CheckOutputFolder refuses a run whose input is one of the files it would
// write, or whose output names exist as anything but regular files (a symbolic link, a
// device, a FIFO, a folder): nothing is created then. At the end, CommitOutputFolder writes
// every file into a hidden temporary folder on the same file system (inside the folder, or
// beside it when the folder does not exist yet) and only then moves them into place:
//   - a new folder appears whole, by one rename of the temporary folder;
//   - into an existing folder the files are moved under an exclusive lock on the folder, with
//     SIGINT, SIGTERM and SIGHUP held back, the old files first set aside so that a failed
//     move puts every one of them back; two runs into one folder commit one after the other,
//     so the folder always holds one run's whole set.
// A failure or a signal before the moves (a full disk, a refused calibration, Ctrl+C) removes
// the temporary folder and leaves the folder as it was. Only SIGKILL or a power loss during
// the moves themselves (microseconds) can leave a mixed set, and SIGKILL while writing leaves
// a hidden ".orvelo-batch-*" folder behind.
#include <string>
#include <vector>

namespace orvelo::batch {

struct OutputFile {
    std::string name;   // a plain file name inside the folder
    std::string bytes;  // the whole content
};

// Throws OrveloError naming the offending file.
void CheckOutputFolder(const std::string& folder, const std::vector<std::string>& names,
                       const std::vector<std::string>& inputs);

// Throws OrveloError (naming the file and the system's cause) when the set cannot be written;
// the folder is then as it was.
void CommitOutputFolder(const std::string& folder, const std::vector<OutputFile>& files);

}  // namespace orvelo::batch
