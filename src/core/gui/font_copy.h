#pragma once

class QFont;

namespace tq {

// Gives the target the source's bold, italic, family, size, strikeout, underline and
// weight, leaving its other attributes alone.
void CopyFont(QFont &target, const QFont &source);

} // namespace tq
