#include "help_addresses.h"

#include <QUrl>
#include <filesystem>
#include <string_view>

namespace vidmetra::ui {

std::string LocalOrWebAddress(const std::string& address, const std::string& help_folder) {
  const std::string_view site(kHelpSite);
  if (help_folder.empty() || address.compare(0, site.size(), site) != 0) return address;
  const std::string rest = address.substr(site.size());
  const size_t hash = rest.find('#');
  const std::string page = rest.substr(0, hash);
  const std::filesystem::path file = std::filesystem::path(help_folder) / page;
  std::error_code error;
  if (page.empty() || page.find("..") != std::string::npos || !std::filesystem::is_regular_file(file, error)) {
    return address;
  }
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(file.string()));
  if (hash != std::string::npos) url.setFragment(QString::fromStdString(rest.substr(hash + 1)));
  return url.toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace vidmetra::ui
