#pragma once

// How many times libjpeg was asked to start decoding scans in this test
// process. The test program defines jpeg_start_decompress itself: the
// library code linked into it calls that definition rather than libjpeg's,
// which counts the call and hands it on. Reading headers is not counted.
int jpegDecodingsStarted();
