#include "ui/auto_height_command.h"

#include "core/errors.h"
#include "processing/auto_threshold.h"
#include "ui/command_context.h"
#include "ui/page_settings.h"

namespace orvelo::ui {

void ProposeNoiseHeight(CommandContext& c) {
    c.run([&c] {
        const NoiseEstimate e = c.session.ProposeNoiseHeight();
        const std::string note = NoiseEstimateNote(e, c.session.state().spectrum.zones.count());
        if (!e.ok) throw OrveloError(note);
        c.pages.settings->setThresholdText(QString::number(e.proposed));
        c.guidance(note.c_str());
    });
}

}  // namespace orvelo::ui
