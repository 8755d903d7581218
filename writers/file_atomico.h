#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace brunavia {

// A file operation that failed: names the file and carries the system's reason.
class ErroreFile : public std::runtime_error {
public:
    ErroreFile(const std::filesystem::path& file, const std::string& motivo);
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

// Replaces the file with exactly `contenuto`. The bytes go to a temporary file in the same
// folder first, which is then renamed over the old one: a failure half-way leaves the old file
// as it was and no partial file behind. Throws ErroreFile on any failure.
void sostituisci_file(const std::filesystem::path& percorso, std::string_view contenuto);

}  // namespace brunavia
