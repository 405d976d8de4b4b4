#pragma once
// Audio-disc images for tests: a CUE sheet with a sparse BIN of the same base name,
// laid out so that the tracks start at the given absolute frames (the first at 150 or
// later) and the lead-out falls at leadOut.
#include <QString>
#include <vector>

namespace TestSupport {
// Returns the path of the CUE sheet.
QString MakeCueImage(const QString& dir, const QString& baseName, const std::vector<int>& starts, int leadOut);
// "mm:ss:ff" of a frame count.
QString MsfText(int frames);
} // namespace TestSupport
