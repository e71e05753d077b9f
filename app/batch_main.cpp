// orvelo-batch: the command-line face of the program. It loads a spectrum exactly as the
// window does and runs the same processing, writing what the window would show into files.
#include <signal.h>

#include <cerrno>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "batch/options.h"
#include "batch/run.h"
#include "batch/text_escape.h"
#include "core/errors.h"
#include "core/system_error.h"

namespace {

// Standard output that could not be written is a failure, not a success with lost results.
int CheckedStandardOutput(int status) {
    errno = 0;
    std::cout.flush();
    if (std::cout) return status;
    std::cerr << "Не удалось записать в стандартный вывод"
              << (errno != 0 ? ": " + orvelo::SystemErrorText(errno) : std::string()) << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    // A file over the size limit fails its write (EFBIG) with a message instead of a kill.
    ::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    orvelo::batch::Options options;
    try {
        options = orvelo::batch::ParseOptions(args);
    } catch (const orvelo::batch::UsageError& e) {
        if (e.help) {
            std::cout << orvelo::batch::kUsage;
            return CheckedStandardOutput(0);
        }
        if (!e.text.empty()) std::cerr << "orvelo-batch: " << e.text << "\n";
        std::cerr << orvelo::batch::kUsage;
        return 2;
    }
    try {
        return CheckedStandardOutput(orvelo::batch::Run(options, std::cout));
    } catch (const std::exception& e) {
        // A file name or id in the message could hold control characters: they are written out.
        std::cerr << orvelo::batch::EscapedControls(orvelo::ErrorMessage(e)) << "\n";
        return 1;
    }
}
