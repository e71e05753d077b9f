#pragma once
// Reading back what the window wrote: a Windows-1251 text file with CR LF line ends.
#include <QString>
#include <QStringList>

namespace orvelo::ui::testing {

// The file's lines, decoded; fails the current test (and returns nothing) when the file is
// missing, a line ends without CR LF, or a lone CR or LF stands inside a line.
QStringList ReadCp1251Lines(const QString& path);

}  // namespace orvelo::ui::testing
