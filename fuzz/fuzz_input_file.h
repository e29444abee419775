#pragma once
// The readers open files by name, so each fuzz input is written to one scratch file per process first.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace vidmetra::fuzz {

// The scratch file's name; created on first use and removed when the process exits. `ending` is appended to the
// name (readers that go by name need theirs).
const std::string& InputFile(const char* ending = "");
// Replaces the scratch file's content with the input; false when it cannot be written.
bool WriteInput(const uint8_t* data, size_t size, const char* ending = "");
// A folder of this process's own for the further files a target reads or writes; created on first use and
// removed with its content when the process exits.
const std::filesystem::path& ScratchFolder();
// Replaces the file's content with the bytes; false when it cannot be written.
bool WriteFile(const std::filesystem::path& path, const uint8_t* data, size_t size);

}  // namespace vidmetra::fuzz
