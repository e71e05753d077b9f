#pragma once
// Texts from an input file (native ids, titles) on their way into tables, files and the
// terminal: a control character would end a line, split a cell or drive the terminal.
#include <string>
#include <string_view>

namespace orvelo::batch {

// `text` (UTF-8) with every control character written out: tab, line feed and carriage return
// as \t, \n and \r, the other C0 characters and DEL as \xNN, the C1 characters as \u00NN.
// Text without control characters is returned as it stands.
std::string EscapedControls(std::string_view text);

}  // namespace orvelo::batch
