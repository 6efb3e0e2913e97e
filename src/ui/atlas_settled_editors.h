// The desktop program's colony and empire editors, plugged into an Atlas
// window: "Add colony" and "Edit colonies" of the System tab and the
// Empires panel's Edit open the editing dialogs on the open sector, and a
// change reads the sector again.
#pragma once

namespace orrimar::ui {

class AtlasWindow;

void plugSettledEditors(AtlasWindow& window);

}  // namespace orrimar::ui
