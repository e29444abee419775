#pragma once

namespace vidmetra {

// Thrown while an AVI file is being opened when its structure cannot be trusted; it never leaves the
// container's Open, which turns it into the failed state.
struct AviFormatError {};

}  // namespace vidmetra
