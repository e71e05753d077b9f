#pragma once
// The determinant self-tests behind the hidden buttons "Op44" and "Dopolnenie" on the page
// "Тестирование": fixed matrices whose answers are known by hand.
#include <string>

namespace orvelo {

// Det4 of rows (1 1 5 6) (1 2 8 3) (1 3 0 1) (1 4 2 0): "Op44 = -21".
std::string Op44Message();
// Cofactor(2, 2) of rows (1 4 345 1) (2 4 6744 4) (56 -3 167 -23) (3 4 -17 9): "Dopolnenie = -8".
std::string DopolnenieMessage();

}  // namespace orvelo
