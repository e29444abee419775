#pragma once
// The addresses the program opens on the desktop. Help pages are shipped in a "help" folder beside the program;
// a web address under the tool's help site is opened from there when the page exists locally.
#include <string>

namespace vidmetra::ui {

inline constexpr const char* kWebsiteAddress = "https://vidmetra.org/";
inline constexpr const char* kHelpSite = "https://vidmetra.org/help/";
inline constexpr const char* kMatricesPage = "https://vidmetra.org/help/matrices.html";
inline constexpr const char* kFeedbackPage = "https://vidmetra.org/help/feedback.html";
inline constexpr const char* kIndexPage = "https://vidmetra.org/help/index.html";

// `address` itself, or a file:// address into `help_folder` (ending in a separator) when `address` names a page of
// the help site that exists there; the "#section" part is kept.
std::string LocalOrWebAddress(const std::string& address, const std::string& help_folder);

}  // namespace vidmetra::ui
