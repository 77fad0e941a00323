// Lanczos-3 picture scaling into a 32-bit bitmap, split over two worker threads.
#pragma once

#include "render/bitmap.h"

namespace Yomibon {

// Makes target (int)(source width * xScale) by (int)(source height * yScale) pixels and
// fills it with the Lanczos-3 resampling of source; all four bytes of a pixel (B, G, R and
// alpha) are filtered. A size that rounds to 0 leaves an empty target. Returns false, with
// an empty target, when a scale is not a finite number or the target would exceed the
// picture pixel limit.
bool resample(CYbBitmap& target, const CYbBitmap& source, double xScale, double yScale);

namespace Detail {
// As resample, with the number of worker threads given (1 or 2); 0 computes on the calling
// thread. Kept for measuring what the second thread buys.
bool ResampleWithThreads(CYbBitmap& target, const CYbBitmap& source, double xScale, double yScale,
                         int threads);
// The Lanczos window with support a, as the resampler evaluates it.
double LanczosWeight(double x, double a);
}  // namespace Detail

}  // namespace Yomibon
