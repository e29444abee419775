#include "support/psnr_values.h"

#include <cctype>
#include <cmath>
#include <regex>
#include <sstream>

namespace vidmetra::testing {

std::vector<double> FfmpegPsnrY(const std::string& stats) {
  std::vector<double> values;
  const std::regex field("psnr_y:([0-9.]+|inf)");
  std::istringstream lines(stats);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_search(line, match, field)) values.push_back(match[1] == "inf" ? INFINITY : std::stod(match[1]));
  }
  return values;
}

std::vector<double> CsvValues(const std::string& csv) {
  std::vector<double> values;
  std::istringstream lines(csv);
  std::string line;
  for (int header = 0; header < 4 && std::getline(lines, line); ++header) {
  }
  while (std::getline(lines, line) && !line.empty() && std::isdigit(static_cast<unsigned char>(line[0])) != 0) {
    values.push_back(std::stod(line));
  }
  return values;
}

}  // namespace vidmetra::testing
