#pragma once
// Operating-system errors in the operator's language: "Нет такого файла или папки (ENOENT)".
#include <string>

namespace orvelo {

// The Russian text of the common errno values, followed by the symbolic name in parentheses;
// any other value gives the system's own text with its number ("Unknown error 999 (errno 999)").
std::string SystemErrorText(int error);

}  // namespace orvelo
