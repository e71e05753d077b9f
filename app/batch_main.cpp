// orvelo-batch: the command-line face of the program. It loads a spectrum exactly as the
// window does and runs the same processing, writing what the window would show into files.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "batch/options.h"
#include "batch/run.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    orvelo::batch::Options options;
    try {
        options = orvelo::batch::ParseOptions(args);
    } catch (const orvelo::batch::UsageError& e) {
        if (!e.text.empty()) std::cerr << "orvelo-batch: " << e.text << "\n";
        std::cerr << orvelo::batch::kUsage;
        return 2;
    }
    try {
        return orvelo::batch::Run(options, std::cout);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
