#pragma once
// "Авто" beside "Первый не помеховый пик": the noise height proposed from the zones goes into
// the field (the operator may still change it), and the guidance says where it came from.
namespace orvelo::ui {

struct CommandContext;

void ProposeNoiseHeight(CommandContext& c);

}  // namespace orvelo::ui
