#pragma once
// The per-frame values the tests compare: FFmpeg's psnr filter statistics and our CSV file.
#include <string>
#include <vector>

namespace vidmetra::testing {

// The psnr_y figures of the psnr filter's stats file, one a frame (infinity for "inf").
std::vector<double> FfmpegPsnrY(const std::string& stats);
// The values of a one-series CSV file's column, after its four heading lines and before its averages.
std::vector<double> CsvValues(const std::string& csv);

}  // namespace vidmetra::testing
