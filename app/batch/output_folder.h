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
// the temporary folder and leaves the folder as it was. SIGKILL or a power loss leaves a hidden
// ".orvelo-batch-*" folder behind, whose lock is then free: the next run that takes the folder's
// lock removes it or, when the kill came during the moves (microseconds), finishes them, so
// that a folder never stays half committed.
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

// The manifest of a set: the names of its files, one a line (UTF-8, LF), itself among them.
inline constexpr const char* kManifestName = "run-files.txt";

// Throws OrveloError (naming the file and the system's cause) when the set cannot be written;
// the folder is then as it was, and parent folders made for it are removed again. `known` names
// every file the program may write: the files of the run before (its manifest) that this set
// lacks are moved away with the ones it replaces, and only such files are ever moved or removed.
void CommitOutputFolder(const std::string& folder, const std::vector<OutputFile>& files,
                        const std::vector<std::string>& known);

}  // namespace orvelo::batch
