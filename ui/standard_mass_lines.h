#pragma once
// The lines of "Стандартные массы" (ListBox2) for the state of its group: with "CH" chosen the
// CH table through the kind check boxes (ReFill); with "CF" chosen every row of the CF table,
// "30.9984,  C 1 F 1" (the kind boxes describe hydrogen counts and do not apply there). A CF
// line starts with its mass like a CH line, so "<<" takes it the same way. No Qt here.
#include <string>
#include <vector>

#include "calibration/reference_masses.h"

namespace orvelo::ui {

enum class StandardFamily { CH, CF };

std::string CFListLine(const IonRow& row);
std::vector<std::string> StandardMassLines(const ReferenceTables& tables, const ListFlags& flags,
                                           StandardFamily family);

}  // namespace orvelo::ui
