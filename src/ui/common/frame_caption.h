#pragma once

class QGroupBox;

namespace tq {

// A page frame's caption drawn on its top line, a little in from the left edge, so the
// controls placed just below the line stay clear of it (Qt draws the line under the
// caption, where the option and button rows stand).
void SetFrameCaptionStyle(QGroupBox &frame);

} // namespace tq
